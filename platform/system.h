// The operating-system calls of the shutdown, the millisecond clock, the
// system's sleep, the edit-control scroll message and the About window's
// links, with the records laid out as the system defines them.
#pragma once
#include <cstdint>
#include <memory>
#include "platform/desktop.h"
#include "platform/text.h"

using OsHandle = std::intptr_t;

struct OsVersionInfoA {
    std::uint32_t dwOSVersionInfoSize;
    std::uint32_t dwMajorVersion;
    std::uint32_t dwMinorVersion;
    std::uint32_t dwBuildNumber;
    std::uint32_t dwPlatformId;
    char szCSDVersion[128];
};
static_assert(sizeof(OsVersionInfoA) == 148, "OSVERSIONINFOA is 148 bytes");

// SetThreadExecutionState's flags.
namespace es {
constexpr std::uint32_t Continuous = 0x80000000u;  // held until the next call
constexpr std::uint32_t SystemRequired = 0x1u;     // no sleep on the system's own idle timer
}  // namespace es

struct Luid {
    std::uint32_t LowPart;
    std::int32_t HighPart;
};

struct LuidAndAttributes {
    ::Luid Luid;
    std::uint32_t Attributes;
};

struct TokenPrivilegeSet {
    std::uint32_t PrivilegeCount;
    LuidAndAttributes Privileges[1];
};
static_assert(sizeof(TokenPrivilegeSet) == 16, "TOKEN_PRIVILEGES with one entry is 16 bytes");

// An automation object reached by late binding: its members are looked up by
// name when called. Destroying it releases the reference; what the object
// opened stays open. Every operation raises a RuntimeError when it fails.
class AutomationObject {
public:
    virtual ~AutomationObject() = default;
    virtual void SetProperty(const Text& name, bool value) = 0;
    virtual void CallMethod(const Text& name, const Text& argument) = 0;
};

class System {
public:
    virtual ~System() = default;
    virtual std::int32_t GetVersionExA(OsVersionInfoA* info) = 0;
    virtual OsHandle GetCurrentProcess() = 0;
    virtual std::int32_t OpenProcessToken(OsHandle process, std::uint32_t access, OsHandle* token) = 0;
    virtual std::int32_t LookupPrivilegeValueA(const char* systemName, const char* name, Luid* luid) = 0;
    virtual std::int32_t AdjustTokenPrivileges(OsHandle token, std::int32_t disableAll, TokenPrivilegeSet* newState,
                                               std::uint32_t bufferLength, TokenPrivilegeSet* previousState,
                                               std::uint32_t* returnLength) = 0;
    virtual std::int32_t CloseHandle(OsHandle handle) = 0;
    virtual std::int32_t ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) = 0;
    // Milliseconds since the system started, wrapping at 2^32.
    virtual std::uint32_t timeGetTime() = 0;
    // Whether the system may sleep on its own while this thread runs
    // (es::Continuous with the flags to hold until the next call); returns
    // the flags held before, 0 where the system cannot be asked.
    virtual std::uint32_t SetThreadExecutionState(std::uint32_t flags) = 0;
    virtual std::intptr_t SendMessageA(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t lParam) = 0;
    virtual WindowHandle FindWindowA(const char* className, const char* windowName) = 0;
    virtual std::intptr_t ShellExecuteA(WindowHandle owner, const char* operation, const char* file,
                                        const char* parameters, const char* directory, std::int32_t show) = 0;
    // A new object of the class registered under `progId`; raises error 429
    // when none can be created.
    virtual std::unique_ptr<AutomationObject> CreateObject(const Text& progId) = 0;
};
