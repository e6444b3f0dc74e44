// The exe's entry point: wires the Win32 platform, starts the program and
// runs its message loop.
// The platform contracts come before <windows.h>: system.h's TokenPrivilegeSet
// shares its name with an enumerator of the system headers.
#include "platform/platform.h"

#include <windows.h>

#include "app/startup.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/win32_toolkit.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    static Win32Toolkit toolkit;
    static Win32System system;
    gPlatform.toolkit = &toolkit;
    gPlatform.system = &system;
    RunEventHandler(toolkit, &Start_Pellory);
    return RunMessageLoop();
}
