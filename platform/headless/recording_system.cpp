#include "platform/headless/recording_system.h"

#include <cstdio>
#include <cstring>

#include "platform/error.h"
#include "platform/headless/utf8.h"

namespace {

constexpr OsHandle kCurrentProcess = -1;  // the pseudo-handle of the current process

std::string Num(std::int64_t value) { return std::to_string(value); }

std::string Hex(std::uint32_t value) {
    char text[11];
    std::snprintf(text, sizeof text, "0x%08x", unsigned(value));
    return text;
}

// A string argument as the call saw it: quoted, or null.
std::string Str(const char* text) { return text ? "\"" + std::string(text) + "\"" : "null"; }

std::string Join(const std::string& name, const std::vector<std::string>& args) {
    std::string call = name + "(";
    for (std::size_t i = 0; i < args.size(); ++i) call += (i ? ", " : "") + args[i];
    return call + ")";
}

// A TOKEN_PRIVILEGES record: count, then each LUID (high:low) with its attributes.
std::string Privileges(const TokenPrivilegeSet* p) {
    if (!p) return "null";
    return "{" + Num(p->PrivilegeCount) + ", " + Num(p->Privileges[0].Luid.HighPart) + ":" +
           Num(p->Privileges[0].Luid.LowPart) + ", " + Num(p->Privileges[0].Attributes) + "}";
}

}  // namespace

void RecordingSystem::SetClock(std::uint32_t start, std::uint32_t stepPerRead) {
    clock_ = [now = start, stepPerRead]() mutable {
        std::uint32_t reading = now;
        now += stepPerRead;
        return reading;
    };
}

void RecordingSystem::SetClock(std::function<std::uint32_t()> clock) { clock_ = std::move(clock); }

std::vector<std::string> RecordingSystem::CallsTo(const std::string& name) const {
    std::vector<std::string> found;
    for (const std::string& call : calls_) {
        if (call.compare(0, name.size() + 1, name + "(") == 0) found.push_back(call);
    }
    return found;
}

std::int32_t RecordingSystem::GetVersionExA(OsVersionInfoA* info) {
    // Records the size field and whether the rest of the record came zero-filled.
    const auto* bytes = reinterpret_cast<const unsigned char*>(info);
    bool zeroed = true;
    for (std::size_t i = sizeof info->dwOSVersionInfoSize; i < sizeof *info; ++i) zeroed = zeroed && bytes[i] == 0;
    CallApi("GetVersionExA", {Num(info->dwOSVersionInfoSize), zeroed ? "zero-filled" : "not zero-filled"});
    if (versionFails || info->dwOSVersionInfoSize != sizeof *info) return 0;
    info->dwMajorVersion = platformId == 2 ? 6 : 4;
    info->dwMinorVersion = platformId == 2 ? 1 : 10;
    info->dwBuildNumber = platformId == 2 ? 7601 : 2222;
    info->dwPlatformId = platformId;
    return 1;
}

OsHandle RecordingSystem::GetCurrentProcess() {
    CallApi("GetCurrentProcess", {});
    return kCurrentProcess;
}

std::int32_t RecordingSystem::OpenProcessToken(OsHandle process, std::uint32_t access, OsHandle* token) {
    CallApi("OpenProcessToken", {Num(process), Num(access), token ? "&token" : "null"});
    if (tokenFails || !token) return 0;
    *token = tokenHandle;
    return 1;
}

std::int32_t RecordingSystem::LookupPrivilegeValueA(const char* systemName, const char* name, Luid* luid) {
    CallApi("LookupPrivilegeValueA", {Str(systemName), Str(name), luid ? "&luid" : "null"});
    if (!luid || !name || std::strcmp(name, "SeShutdownPrivilege") != 0) return 0;
    *luid = shutdownLuid;
    return 1;
}

std::int32_t RecordingSystem::AdjustTokenPrivileges(OsHandle token, std::int32_t disableAll,
                                                    TokenPrivilegeSet* newState, std::uint32_t bufferLength,
                                                    TokenPrivilegeSet* previousState, std::uint32_t* returnLength) {
    CallApi("AdjustTokenPrivileges",
            {Num(token), Num(disableAll), Privileges(newState), Num(bufferLength), previousState ? "&previous" : "null",
             returnLength ? "&length=" + Num(*returnLength) : "null"});
    if (token != tokenHandle || tokenFails) return 0;
    // A token that lacks the privilege reports no previous state.
    if (previousState && bufferLength >= sizeof *previousState) {
        std::memset(previousState, 0, sizeof *previousState);
        if (privilegeHeld) *previousState = {1, {{shutdownLuid, 0}}};
    }
    if (returnLength) *returnLength = privilegeHeld ? sizeof(TokenPrivilegeSet) : 4;
    return 1;
}

std::int32_t RecordingSystem::CloseHandle(OsHandle handle) {
    CallApi("CloseHandle", {Num(handle)});
    return handle == tokenHandle && !tokenFails ? 1 : 0;
}

std::int32_t RecordingSystem::ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
    CallApi("ExitWindowsEx", {Num(flags), Num(reserved)});
    return privilegeHeld && !tokenFails ? 1 : 0;
}

std::uint32_t RecordingSystem::timeGetTime() {
    if (!clock_) SetClock(0, 1);
    std::uint32_t reading = clock_();
    Record(Join("timeGetTime", {}) + " = " + Num(reading));
    return reading;
}

std::uint32_t RecordingSystem::SetThreadExecutionState(std::uint32_t flags) {
    Record(Join("SetThreadExecutionState", {Hex(flags)}));
    const std::uint32_t before = executionState;
    executionState = flags;
    return before;
}

std::intptr_t RecordingSystem::SendMessageA(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
    Record(Join("SendMessageA", {Num(window), Num(message), Num(static_cast<std::int64_t>(wParam)), Num(lParam)}));
    return 0;
}

WindowHandle RecordingSystem::FindWindowA(const char* className, const char* windowName) {
    CallApi("FindWindowA", {Str(className), Str(windowName)});
    return foundWindow;
}

std::intptr_t RecordingSystem::ShellExecuteA(WindowHandle owner, const char* operation, const char* file,
                                             const char* parameters, const char* directory, std::int32_t show) {
    CallApi("ShellExecuteA", {Num(owner), Str(operation), Str(file), Str(parameters), Str(directory), Num(show)});
    return shellResult;
}

class RecordingSystem::RecordingObject : public AutomationObject {
public:
    RecordingObject(RecordingSystem& system, std::string progId) : system_(system), progId_(std::move(progId)) {}
    ~RecordingObject() override { system_.Record(progId_ + ".Release"); }
    void SetProperty(const Text& name, bool value) override {
        system_.Call(ToUtf8(name), progId_ + "." + ToUtf8(name) + "=" + (value ? "True" : "False"));
    }
    void CallMethod(const Text& name, const Text& argument) override {
        system_.Call(ToUtf8(name), progId_ + "." + ToUtf8(name) + "(\"" + ToUtf8(argument) + "\")");
    }

private:
    RecordingSystem& system_;
    std::string progId_;
};

std::unique_ptr<AutomationObject> RecordingSystem::CreateObject(const Text& progId) {
    CallApi("CreateObject", {"\"" + ToUtf8(progId) + "\""});
    return std::make_unique<RecordingObject>(*this, ToUtf8(progId));
}

void RecordingSystem::CallApi(const std::string& name, const std::vector<std::string>& args) {
    Call(name, Join(name, args));
}

void RecordingSystem::Call(const std::string& name, const std::string& call) {
    Record(call);
    const auto raise = raises.find(name);
    if (raise != raises.end()) throw RuntimeError(raise->second);
}
