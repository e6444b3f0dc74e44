#include <windows.h>

#include <climits>

#include "platform/codepage.h"
#include "platform/error.h"

namespace {

// The conversion calls count in int; a longer text cannot be converted whole.
int Length(std::size_t count) {
    if (count > std::size_t(INT_MAX)) throw RuntimeError(err::OutOfMemory);
    return int(count);
}

}  // namespace

Text AnsiToText(const char* bytes, std::size_t count) {
    if (count == 0) return {};
    const int length = Length(count);
    int n = MultiByteToWideChar(CP_ACP, 0, bytes, length, nullptr, 0);
    Text text(std::size_t(n), u'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes, length, reinterpret_cast<wchar_t*>(text.data()), n);
    return text;
}

std::string TextToAnsi(const Text& text) {
    if (text.empty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = Length(text.size());
    int n = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string bytes(std::size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, length, bytes.data(), n, nullptr, nullptr);
    return bytes;
}
