// Starts a program with a library loaded into it before its first
// instruction runs: the program is created suspended, its process is made to
// call LoadLibraryW on the library (a thread started in it), and only then is
// it let go. The fault injector (tools/hook/fault_inject_hook.cpp) comes in
// this way, so that calls made before the main window exists can fail too;
// the library reads its settings from the environment, which the program
// inherits from this launcher.
//
//   faultlaunch.exe LIBRARY EXE
//
// Prints "pid=PID" once the program runs, then waits for it and ends with its
// exit code. Exit status 100: the program could not be started, or the
// library not loaded into it (then the program is ended, never let go).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

int Refuse(const char* what, PROCESS_INFORMATION* started) {
    std::printf("faultlaunch: %s failed: error %lu\n", what, GetLastError());
    std::fflush(stdout);
    if (started) {
        TerminateProcess(started->hProcess, 100);
        CloseHandle(started->hThread);
        CloseHandle(started->hProcess);
    }
    return 100;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: faultlaunch LIBRARY EXE\n");
        return 2;
    }
    wchar_t library[MAX_PATH];
    if (!GetFullPathNameW(argv[1], MAX_PATH, library, nullptr)) return Refuse("GetFullPathNameW", nullptr);
    std::wstring line = L"\"" + std::wstring(argv[2]) + L"\"";  // CreateProcessW may write into it
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si, &pi))
        return Refuse("CreateProcessW", nullptr);
    const SIZE_T bytes = (lstrlenW(library) + 1) * sizeof(wchar_t);
    void* remote = VirtualAllocEx(pi.hProcess, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote) return Refuse("VirtualAllocEx", &pi);
    if (!WriteProcessMemory(pi.hProcess, remote, library, bytes, nullptr)) return Refuse("WriteProcessMemory", &pi);
    // kernel32 lies at the same address in every process of the session.
    const auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
    HANDLE thread = CreateRemoteThread(pi.hProcess, nullptr, 0, load, remote, 0, nullptr);
    if (!thread) return Refuse("CreateRemoteThread", &pi);
    WaitForSingleObject(thread, INFINITE);
    DWORD loaded = 0;
    GetExitCodeThread(thread, &loaded);
    CloseHandle(thread);
    VirtualFreeEx(pi.hProcess, remote, 0, MEM_RELEASE);
    if (!loaded) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return Refuse("LoadLibraryW in the program", &pi);
    }
    ResumeThread(pi.hThread);
    std::printf("pid=%lu\n", pi.dwProcessId);
    std::fflush(stdout);
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return int(code);
}
