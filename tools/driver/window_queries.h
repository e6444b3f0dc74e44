// Finding the windows a command names and the controls inside them.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "tools/driver/request.h"

namespace driver {

std::wstring Text(HWND window);
std::wstring ClassOf(HWND window);

// Button texts are compared without their access-key ampersands.
std::wstring WithoutAmpersands(const std::wstring& text);

// Visible top-level windows whose caption matches as the request says
// (any caption when null) and of the class (any when null).
std::vector<HWND> TopWindows(const Request& request, const std::wstring* caption, const wchar_t* className);

// The first visible top-level window with the caption, waiting up to the timeout.
HWND WaitFor(const Request& request, const std::wstring& caption, const wchar_t* className = nullptr);

// The window the command's CAPTION names, waited for; ends the driver with
// status 1 when none shows.
HWND Window(const Request& request);

std::vector<HWND> Descendants(HWND top);

// The control of the window whose text is exactly `text`; ends the driver
// with status 1 when there is none.
HWND ControlWithText(HWND top, const std::wstring& text);

HWND FocusOf(HWND top);

}  // namespace driver
