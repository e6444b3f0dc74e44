#include "shutdown/mdlShutdown.h"

#include <cstdint>
#include <cstring>

#include "platform/platform.h"

namespace {
constexpr std::uint32_t kPlatformWin32s = 0;          // VER_PLATFORM_WIN32s
constexpr std::uint32_t kPlatformWin32Windows = 1;    // VER_PLATFORM_WIN32_WINDOWS
constexpr std::uint32_t kPlatformWin32NT = 2;         // VER_PLATFORM_WIN32_NT
constexpr std::uint32_t kShutdownForce = 5;           // EWX_SHUTDOWN | EWX_FORCE
constexpr std::uint32_t kTokenAdjustAndQuery = 0x28;  // TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY
constexpr std::uint32_t kPrivilegeEnabled = 2;        // SE_PRIVILEGE_ENABLED
}  // namespace

void Exec_Shutdown() {
    OsVersionInfoA version;
    std::memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    // A failed query leaves the zeros, which read as Win32s: no shutdown.
    gPlatform.system->GetVersionExA(&version);
    switch (version.dwPlatformId) {
    case kPlatformWin32s: gPlatform.toolkit->MsgBox(u"Windows3.1では利用できません", mb::OkOnly, kProjectTitle); break;
    case kPlatformWin32Windows: gPlatform.system->ExitWindowsEx(kShutdownForce, 0); break;
    case kPlatformWin32NT: Exec_ShutdownNT(); break;
    default: break;
    }
}

void Exec_ShutdownNT() {
    System& os = *gPlatform.system;
    OsHandle token = 0;
    TokenPrivilegeSet privileges;
    std::memset(&privileges, 0, sizeof privileges);
    TokenPrivilegeSet previous;
    std::memset(&previous, 0, sizeof previous);
    std::uint32_t returnLength = 0;

    OsHandle process = os.GetCurrentProcess();
    os.OpenProcessToken(process, kTokenAdjustAndQuery, &token);
    os.LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = kPrivilegeEnabled;
    os.AdjustTokenPrivileges(token, 0, &privileges, sizeof previous, &previous, &returnLength);
    os.CloseHandle(token);
    os.ExitWindowsEx(kShutdownForce, 0);
}
