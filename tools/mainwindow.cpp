// Shows the main window alone, idle or (with the argument "watching") in its
// watching presentation with the caption blinking, for screenshots and for
// the end-to-end checks of the presentations.
#include "platform/platform.h"

#include <windows.h>

#include <cmath>
#include <cwchar>

#include "platform/win32/win32_toolkit.h"
#include "ui/frmPellory.h"

int wmain(int argc, wchar_t** argv) {
    Win32Toolkit toolkit;
    gPlatform.toolkit = &toolkit;
    frmPelloryEvents events;
    frmPellory main(events);
    events.form = &main;
    main.Set_WatchOff();
    gFormWidth = std::int32_t(std::lround(main.form().Width()));
    gFormHeight = std::int32_t(std::lround(main.form().Height()));
    main.form().Show(false);
    if (argc > 1 && std::wcscmp(argv[1], L"watching") == 0) main.Set_WatchOn();
    return RunMessageLoop();
}
