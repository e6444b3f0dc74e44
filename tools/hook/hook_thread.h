// Hooks a procedure of a library beside this program onto the thread of
// another program's window: the system loads the library into that program,
// where the procedure sees `message` when it is sent to the window. Shared by
// resource_console and the driver.
#pragma once
#include <windows.h>

#include <string>

// Sends `message` through the hook, then unhooks; false when the library, its
// procedure or the hook could not be had.
inline bool SendThroughHook(HWND window, const wchar_t* library, const char* procedure, UINT message, WPARAM wParam) {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring file = path;
    file = file.substr(0, file.find_last_of(L'\\') + 1) + library;
    HMODULE module = LoadLibraryW(file.c_str());
    // Through void*: the exported procedure is a HOOKPROC, not the FARPROC it is returned as.
    auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module, procedure)));
    if (!hook) return false;
    HHOOK installed = SetWindowsHookExW(WH_CALLWNDPROC, hook, module, GetWindowThreadProcessId(window, nullptr));
    if (!installed) return false;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, message, wParam, 0, SMTO_ABORTIFHUNG, 10000, &ignored);
    UnhookWindowsHookEx(installed);
    return true;
}
