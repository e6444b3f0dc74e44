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

int WINAPI wWinMain(HINSTANCE /*hInstance*/, HINSTANCE /*hPrevInstance*/, PWSTR /*lpCmdLine*/, int nShowCmd) {
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
