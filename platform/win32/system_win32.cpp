#include "platform/win32/system_win32.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstddef>

#include "platform/win32/dll_search.h"

// The contract's records are the system's own, byte for byte.
static_assert(sizeof(OsVersionInfoA) == sizeof(OSVERSIONINFOA), "OSVERSIONINFOA");
static_assert(offsetof(OsVersionInfoA, dwPlatformId) == offsetof(OSVERSIONINFOA, dwPlatformId), "OSVERSIONINFOA");
static_assert(sizeof(Luid) == sizeof(LUID), "LUID");
static_assert(sizeof(TokenPrivilegeSet) == sizeof(TOKEN_PRIVILEGES), "TOKEN_PRIVILEGES");
static_assert(offsetof(TokenPrivilegeSet, Privileges) == offsetof(TOKEN_PRIVILEGES, Privileges), "TOKEN_PRIVILEGES");
static_assert(sizeof(OsHandle) == sizeof(HANDLE) && sizeof(WindowHandle) == sizeof(HWND), "handles");

namespace {
HANDLE H(OsHandle handle) { return reinterpret_cast<HANDLE>(handle); }
HWND W(WindowHandle window) { return reinterpret_cast<HWND>(window); }
}  // namespace

std::int32_t Win32System::GetVersionExA(OsVersionInfoA* info) {
    return ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(info));
}

OsHandle Win32System::GetCurrentProcess() { return reinterpret_cast<OsHandle>(::GetCurrentProcess()); }

std::int32_t Win32System::OpenProcessToken(OsHandle process, std::uint32_t access, OsHandle* token) {
    HANDLE opened = nullptr;
    BOOL ok = ::OpenProcessToken(H(process), access, &opened);
    if (ok) *token = reinterpret_cast<OsHandle>(opened);
    return ok;
}

std::int32_t Win32System::LookupPrivilegeValueA(const char* systemName, const char* name, Luid* luid) {
    return ::LookupPrivilegeValueA(systemName, name, reinterpret_cast<LUID*>(luid));
}

std::int32_t Win32System::AdjustTokenPrivileges(OsHandle token, std::int32_t disableAll, TokenPrivilegeSet* newState,
                                                std::uint32_t bufferLength, TokenPrivilegeSet* previousState,
                                                std::uint32_t* returnLength) {
    DWORD length = returnLength ? *returnLength : 0;
    BOOL ok =
        ::AdjustTokenPrivileges(H(token), disableAll, reinterpret_cast<TOKEN_PRIVILEGES*>(newState), bufferLength,
                                reinterpret_cast<TOKEN_PRIVILEGES*>(previousState), returnLength ? &length : nullptr);
    if (returnLength) *returnLength = length;
    return ok;
}

std::int32_t Win32System::CloseHandle(OsHandle handle) { return ::CloseHandle(H(handle)); }

std::int32_t Win32System::ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
    return ::ExitWindowsEx(flags, reserved);
}

// winmm is not one of the DLLs Windows always takes from its System folder:
// imported, a copy beside the program would be loaded in its place.
std::uint32_t Win32System::timeGetTime() {
    using Clock = DWORD(WINAPI*)();
    static const auto clock =
        reinterpret_cast<Clock>(reinterpret_cast<void*>(SystemFunction(L"winmm.dll", "timeGetTime")));
    return clock();
}

// Windows 95 and NT 4 have no such call: found at run time, so that the
// program still starts there, and the system sleeps as it will.
std::uint32_t Win32System::SetThreadExecutionState(std::uint32_t flags) {
    using SetState = EXECUTION_STATE(WINAPI*)(EXECUTION_STATE);
    static const auto setState =
        reinterpret_cast<SetState>(reinterpret_cast<void*>(KernelFunction("SetThreadExecutionState")));
    return setState ? setState(flags) : 0;
}

std::intptr_t Win32System::SendMessageA(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                        std::intptr_t lParam) {
    return ::SendMessageA(W(window), message, wParam, lParam);
}

WindowHandle Win32System::FindWindowA(const char* className, const char* windowName) {
    return reinterpret_cast<WindowHandle>(::FindWindowA(className, windowName));
}

std::intptr_t Win32System::ShellExecuteA(WindowHandle owner, const char* operation, const char* file,
                                         const char* parameters, const char* directory, std::int32_t show) {
    // The document's handler may be a shell extension reached through COM,
    // which wants a single-threaded apartment on the calling thread.
    const bool initialized = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    HINSTANCE result = ::ShellExecuteA(W(owner), operation, file, parameters, directory, show);
    if (initialized) CoUninitialize();
    return reinterpret_cast<std::intptr_t>(result);
}
