// Faults made inside the window's program by the libraries of tools/hook/,
// hooked onto its thread.
#include <windows.h>

#include "tools/driver/commands.h"
#include "tools/driver/console.h"
#include "tools/driver/window_queries.h"
#include "tools/hook/hook_thread.h"

namespace driver {

namespace {

int Hook(const Request& request, const wchar_t* library, const char* procedure, const wchar_t* done) {
    HWND top = Window(request);
    if (!SendThroughHook(top, library, procedure, WM_NULL, 0)) {
        Print(std::wstring(L"cannot hook ") + library + L" onto the window's thread");
        return 1;
    }
    Print(done + Text(top));
    return 0;
}

}  // namespace

int ScanFaultCommand(const Request& request) {
    return Hook(request, L"scan_fault_hook.dll", "ScanFaultHook", L"scans fail from now on: ");
}

int StrictLoaderCommand(const Request& request) {
    return Hook(request, L"strict_loader_hook.dll", "StrictLoaderHook", L"the loader is strict from now on: ");
}

}  // namespace driver
