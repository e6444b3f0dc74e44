// The operating-system calls that take a snapshot of the desktop's windows.
// The enumerations call back synchronously, on the calling thread, through a
// plain function address, as the system's own enumerations do.
#pragma once
#include <cstdint>

using WindowHandle = std::intptr_t;  // pointer-sized, as on 64-bit Windows
using AppValue = std::intptr_t;
using EnumCallback = std::int32_t (*)(WindowHandle window, AppValue value);

class Desktop {
public:
    virtual ~Desktop() = default;
    // Calls back once per top-level window, hidden ones included; stops early
    // only when the callback returns 0. Returns 0 when it stopped early or
    // the system could not list the windows.
    virtual std::int32_t EnumWindows(EnumCallback callback, AppValue value) = 0;
    // Calls back once per descendant of `parent` at every depth; no call when
    // it has none or no longer exists. Returns 0 only when it stopped early
    // or the system could not list them: a window without descendants, or
    // one gone meanwhile, is no failure.
    virtual std::int32_t EnumChildWindows(WindowHandle parent, EnumCallback callback, AppValue value) = 0;
    // Copies at most size - 1 bytes of the window's text in the ANSI code page
    // and a zero byte; returns the bytes copied, 0 for no text or no window.
    virtual std::int32_t GetWindowTextA(WindowHandle window, char* buffer, std::int32_t size) = 0;
};
