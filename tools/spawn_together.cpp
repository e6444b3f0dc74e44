// Starts several copies of a program at the same instant: each is created
// suspended, then all are let go one right after the other. Once at most one
// still runs, or after WAIT_MS at the latest, it tells how many still run and
// how the others ended, and leaves them be. With SHOW, each is asked to show
// its first window with that show command, as a shortcut's run setting does
// (7, SW_SHOWMINNOACTIVE, for 最小化); "1 0 EXE SHOW" is a plain start.
//
//   spawn_together.exe COUNT WAIT_MS EXE [SHOW]
//
// Prints "running=R exited=E", then one "exit=CODE" line per ended copy.
// Exit status: 0 done, 1 a copy could not be started, 2 bad usage.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: spawn_together COUNT WAIT_MS EXE [SHOW]\n");
        return 2;
    }
    const int count = _wtoi(argv[1]);
    const auto wait = DWORD(_wtoi(argv[2]));
    std::vector<PROCESS_INFORMATION> started;
    for (int k = 0; k < count; ++k) {
        std::wstring line = L"\"" + std::wstring(argv[3]) + L"\"";  // CreateProcessW may write into it
        STARTUPINFOW si{};
        si.cb = sizeof si;
        if (argc == 5) {
            si.dwFlags = STARTF_USESHOWWINDOW;
            si.wShowWindow = WORD(_wtoi(argv[4]));
        }
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si,
                            &pi)) {
            std::printf("could not start: error %lu\n", GetLastError());
            for (PROCESS_INFORMATION& p : started) TerminateProcess(p.hProcess, 1);
            return 1;
        }
        started.push_back(pi);
    }
    for (PROCESS_INFORMATION& p : started) ResumeThread(p.hThread);
    const auto stillRunning = [&] {
        int n = 0;
        for (PROCESS_INFORMATION& p : started)
            if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT) ++n;
        return n;
    };
    for (const ULONGLONG start = GetTickCount64(); stillRunning() > 1 && GetTickCount64() - start < wait;) Sleep(20);
    int running = 0;
    std::vector<DWORD> codes;
    for (PROCESS_INFORMATION& p : started) {
        if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT) {
            ++running;
        } else {
            DWORD code = 0;
            GetExitCodeProcess(p.hProcess, &code);
            codes.push_back(code);
        }
        CloseHandle(p.hThread);
        CloseHandle(p.hProcess);
    }
    std::printf("running=%d exited=%d\n", running, int(codes.size()));
    for (DWORD code : codes) std::printf("exit=%lu\n", code);
    std::fflush(stdout);
    return 0;
}
