// Text and the system's wide strings are the same 16-bit units on Windows.
#pragma once
#include <windows.h>

#include "platform/text.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t is UTF-16 on Windows");

inline const wchar_t* Wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

// The whole text of a window, however long (a log view may hold megabytes).
inline Text WindowText(HWND window) {
    Text text(std::size_t(GetWindowTextLengthW(window)) + 1, u'\0');
    text.resize(std::size_t(GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), int(text.size()))));
    return text;
}
