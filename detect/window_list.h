// The snapshot of the desktop's windows (mdlAPI): the top-level windows, and
// the descendants of one chosen window, each list filled by its enumeration
// callback. The callbacks are plain functions because the system's
// enumerations call them through their addresses.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/desktop.h"
#include "platform/text.h"

struct WindowEntry {
    WindowHandle hWnd;  // as delivered: pointer-sized, never cut to 32 bits
    Text Caption;       // at most 255 ANSI bytes before conversion; empty when none
};

// Entries 0 to the last-index counter; the counter is -1 when the list is empty.
extern std::vector<WindowEntry> gWinList;
extern std::int32_t gWinLast;
extern std::vector<WindowEntry> gChildList;
extern std::int32_t gChildLast;

// Append the window with its text and return 1, so the enumeration goes on.
std::int32_t Add_TopWindow(WindowHandle window, AppValue value);
std::int32_t Add_ChildWindow(WindowHandle window, AppValue value);

// Empty the list, then fill it with one enumeration through gPlatform.desktop;
// false when the system could not list the windows.
bool Snap_TopWindows();
bool Snap_ChildWindows(WindowHandle parent);
