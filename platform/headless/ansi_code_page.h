// The native stand-in for the system's ANSI code page is CP932, as on the
// Japanese Windows the program is made for. A test may name another one (an
// iconv name such as "CP1252") to see that nothing assumes Shift-JIS.
#pragma once

// nullptr goes back to CP932.
void SetAnsiCodePage(const char* iconvName);
