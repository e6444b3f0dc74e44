// What a user's hand does to a window: clicks, keys, closing, sizing.
#pragma once
#include <windows.h>

#include <string>

namespace driver {

// BM_CLICK on the button of `top` whose text (or id) is `text`: 0 clicked,
// 1 no such button, 3 the button is disabled.
int Click(HWND top, const std::wstring& text);

}  // namespace driver
