// The driver's words in and lines out: arguments as UTF-16, output as UTF-8,
// one fact a line, for grep and awk.
#pragma once
#include <windows.h>

#include <string>

namespace driver {

void Print(const std::wstring& line);

// "@FILE" reads UTF-8 from a file; "\uXXXX" stands for one UTF-16 unit.
std::wstring Argument(const std::wstring& arg);

std::wstring Number(long long value);
std::wstring Hex(HWND window);

}  // namespace driver
