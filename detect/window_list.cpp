#include "detect/window_list.h"

#include <cstddef>

#include "platform/codepage.h"
#include "platform/platform.h"

std::vector<WindowEntry> gWinList;
std::int32_t gWinLast = -1;
std::vector<WindowEntry> gChildList;
std::int32_t gChildLast = -1;

namespace {

constexpr std::int32_t kTextBufferSize = 256;

// The window's text, read through a zeroed 256-byte buffer. The count the
// platform returns is trusted only within the buffer.
Text Read_WindowText(WindowHandle window) {
    char buffer[kTextBufferSize] = {};
    std::int32_t n = gPlatform.desktop->GetWindowTextA(window, buffer, kTextBufferSize);
    if (n < 0) n = 0;
    if (n > kTextBufferSize - 1) n = kTextBufferSize - 1;
    return AnsiToText(buffer, static_cast<std::size_t>(n));
}

// Grows the list by exactly one entry; if growing fails the list and its
// counter stay as they were.
std::int32_t Append(std::vector<WindowEntry>& list, std::int32_t& last, WindowHandle window) {
    list.push_back(WindowEntry{window, Read_WindowText(window)});
    last = static_cast<std::int32_t>(list.size()) - 1;
    return 1;
}

}  // namespace

std::int32_t Add_TopWindow(WindowHandle window, AppValue /*value*/) { return Append(gWinList, gWinLast, window); }

std::int32_t Add_ChildWindow(WindowHandle window, AppValue /*value*/) { return Append(gChildList, gChildLast, window); }

bool Snap_TopWindows() {
    gWinLast = -1;
    gWinList.clear();
    // The callbacks never stop an enumeration, so 0 is the system's failure.
    return gPlatform.desktop->EnumWindows(Add_TopWindow, 0) != 0;
}

bool Snap_ChildWindows(WindowHandle parent) {
    gChildLast = -1;
    gChildList.clear();
    return gPlatform.desktop->EnumChildWindows(parent, Add_ChildWindow, 0) != 0;
}
