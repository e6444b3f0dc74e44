// Conversion between UTF-16 text and the system's ANSI code page (Shift-JIS,
// code page 932, on the Japanese Windows the program is made for). Bytes that
// do not decode become U+30FB, as the system's own conversion does.
#pragma once
#include <cstddef>
#include <string>
#include "platform/text.h"

Text AnsiToText(const char* bytes, std::size_t count);
std::string TextToAnsi(const Text& text);

inline Text AnsiToText(const std::string& bytes) { return AnsiToText(bytes.data(), bytes.size()); }
