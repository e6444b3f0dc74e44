// The native tests' operating system: records every call with its arguments,
// in order, as "Name(arg, arg, ...)", and answers from a script. Nothing in it
// touches the real machine: ExitWindowsEx is only recorded.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>
#include "platform/system.h"

class RecordingSystem : public System {
public:
    // What the system answers.
    std::uint32_t platformId = 2;  // written by GetVersionExA
    bool versionFails = false;     // GetVersionExA returns 0 and fills nothing
    bool tokenFails = false;       // OpenProcessToken returns 0, token stays as given
    bool privilegeHeld = true;     // false: the privilege is unknown to the token, ExitWindowsEx fails
    OsHandle tokenHandle = 0x7A0;
    Luid shutdownLuid{19, 0};          // SeShutdownPrivilege's LUID on Windows
    WindowHandle foundWindow = 0;      // FindWindowA's answer
    std::uint32_t executionState = 0;  // the flags SetThreadExecutionState holds
    std::intptr_t shellResult = 33;
    // Calls that raise this run-time error after being recorded, by name:
    // one of the shutdown's calls ("GetVersionExA" ... "ExitWindowsEx"),
    // "FindWindowA", "ShellExecuteA", "CreateObject", or an automation
    // object's member ("Visible", "Navigate").
    std::map<std::string, std::int32_t> raises;

    // The millisecond clock: by default it starts at 0 and each reading
    // advances it by 1 ms, wrapping at 2^32 as the real one does.
    void SetClock(std::uint32_t start, std::uint32_t stepPerRead);
    void SetClock(std::function<std::uint32_t()> clock);

    const std::vector<std::string>& Calls() const { return calls_; }
    // The recorded calls whose name is `name` ("ExitWindowsEx").
    std::vector<std::string> CallsTo(const std::string& name) const;
    void ClearCalls() { calls_.clear(); }

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
    // Recorded with its flags in hexadecimal: "SetThreadExecutionState(0x80000001)".
    std::uint32_t SetThreadExecutionState(std::uint32_t flags) override;
    std::intptr_t SendMessageA(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) override;
    WindowHandle FindWindowA(const char* className, const char* windowName) override;
    std::intptr_t ShellExecuteA(WindowHandle owner, const char* operation, const char* file, const char* parameters,
                                const char* directory, std::int32_t show) override;
    // The object records its members' calls here, under its programmatic
    // identifier: "InternetExplorer.Application.Visible=True".
    std::unique_ptr<AutomationObject> CreateObject(const Text& progId) override;

private:
    class RecordingObject;
    void Record(const std::string& call) { calls_.push_back(call); }
    // Recorded, then raised when `raises` names it.
    void Call(const std::string& name, const std::string& call);
    // A system call recorded as "Name(arg, ...)", then raised as above.
    void CallApi(const std::string& name, const std::vector<std::string>& args);

    std::vector<std::string> calls_;
    std::function<std::uint32_t()> clock_;
};
