// UTF-8 for the test tools' output and scripts.
#pragma once
#include <string>

#include "platform/text.h"

#include <windows.h>

inline std::string Utf8(const Text& text) {
    if (text.empty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(std::size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, int(text.size()), bytes.data(), n, nullptr, nullptr);
    return bytes;
}
