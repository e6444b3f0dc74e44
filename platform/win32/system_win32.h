// The system calls of the shutdown, the clock and the About window's links,
// made for real.
#pragma once
#include "platform/system.h"

class Win32System : public System {
public:
    std::int32_t GetVersionExA(OsVersionInfoA* info) override;
    OsHandle GetCurrentProcess() override;
    std::int32_t OpenProcessToken(OsHandle process, std::uint32_t access, OsHandle* token) override;
    std::int32_t LookupPrivilegeValueA(const char* systemName, const char* name, Luid* luid) override;
    std::int32_t AdjustTokenPrivileges(OsHandle token, std::int32_t disableAll, TokenPrivilegeSet* newState,
                                       std::uint32_t bufferLength, TokenPrivilegeSet* previousState,
                                       std::uint32_t* returnLength) override;
    std::int32_t CloseHandle(OsHandle handle) override;
    std::int32_t ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override;
    std::uint32_t timeGetTime() override;
    std::uint32_t SetThreadExecutionState(std::uint32_t flags) override;
    std::intptr_t SendMessageA(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) override;
    WindowHandle FindWindowA(const char* className, const char* windowName) override;
    std::intptr_t ShellExecuteA(WindowHandle owner, const char* operation, const char* file, const char* parameters,
                                const char* directory, std::int32_t show) override;
    std::unique_ptr<AutomationObject> CreateObject(const Text& progId) override;
};
