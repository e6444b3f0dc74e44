// The exe's entry point: keeps the DLL search to the system, wires the Win32
// platform, loads the main window through the controller and runs the
// message loop.
#include <windows.h>

#include "app/controller.h"
#include "platform/platform.h"
#include "platform/win32/desktop_win32.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/files_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/win32_toolkit.h"

namespace {
bool gMainStarted = false;
}  // namespace

// The C runtime's start-up copies the command line into blocks it does not
// check (MinGW-w64 before version 11 writes through a null pointer when
// memory runs out there). The program is linked with --wrap=malloc, so that
// a block refused before wWinMain ends the program with the error box of an
// uncaught error instead; the text is fixed, as nothing more may be
// allocated for it. Later blocks are the program's own to check.
extern "C" void* __real_malloc(size_t size);   // NOLINT(bugprone-reserved-identifier): the linker's --wrap name
extern "C" void* __wrap_malloc(size_t size) {  // NOLINT(bugprone-reserved-identifier): the linker's --wrap name
    void* block = __real_malloc(size);
    if (!block && !gMainStarted) {
        MessageBoxW(nullptr, L"7:メモリが不足しています。", L"PelloryV2_0", MB_ICONHAND | MB_OK | MB_TASKMODAL);
        ExitProcess(0);
    }
    return block;
}

int WINAPI wWinMain(HINSTANCE /*hInstance*/, HINSTANCE /*hPrevInstance*/, PWSTR /*lpCmdLine*/, int nShowCmd) {
    gMainStarted = true;
    RestrictDllSearch();
    static Win32Desktop desktop;
    static Win32System system;
    static Win32FileSystem files;
    static Win32Toolkit toolkit(nShowCmd);
    gPlatform.desktop = &desktop;
    gPlatform.system = &system;
    gPlatform.files = &files;
    gPlatform.toolkit = &toolkit;
    static frmPelloryController controller;
    RunEventHandler(toolkit, [] { controller.Form_Load(); });
    return RunMessageLoop();
}
