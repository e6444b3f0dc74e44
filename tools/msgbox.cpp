// Shows one box through the toolkit's MsgBox and prints the answer, so that
// the end-to-end tests can check the real boxes and the driver that answers them.
//   msgbox STYLE PROMPT [TITLE]      (no TITLE: the project title)
#include "platform/platform.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "platform/win32/win32_toolkit.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    Win32Toolkit toolkit;
    const Text prompt = reinterpret_cast<const char16_t*>(argv[2]);
    const Text title = argc > 3 ? reinterpret_cast<const char16_t*>(argv[3]) : u"";
    const std::int32_t answer = toolkit.MsgBox(prompt, std::int32_t(std::wcstol(argv[1], nullptr, 10)), title);
    std::printf("answer=%d\n", int(answer));
    return 0;
}
