#include <windows.h>

#include "platform/codepage.h"

Text AnsiToText(const char* bytes, std::size_t count) {
    if (count == 0) return Text();
    int n = MultiByteToWideChar(CP_ACP, 0, bytes, int(count), nullptr, 0);
    Text text(std::size_t(n), u'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes, int(count), reinterpret_cast<wchar_t*>(&text[0]), n);
    return text;
}

std::string TextToAnsi(const Text& text) {
    if (text.empty()) return std::string();
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
    int n = WideCharToMultiByte(CP_ACP, 0, wide, int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(std::size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, int(text.size()), &bytes[0], n, nullptr, nullptr);
    return bytes;
}
