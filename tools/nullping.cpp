// Asks whether a program still answers: sends WM_NULL, with a time limit, to
// each visible top-level window of the process.
//
//   nullping.exe PID [TIMEOUT_MS]
//
// Prints one line per window: "0xHWND answered" or "0xHWND timeout
// error=CODE". Exit status: 0 every window answered, 1 one did not, 3 the
// process has no visible window, 2 bad usage.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

struct Search {
    DWORD pid;
    std::vector<HWND> windows;
};

BOOL CALLBACK Collect(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && IsWindowVisible(window)) search->windows.push_back(window);
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: nullping PID [TIMEOUT_MS]\n");
        return 2;
    }
    Search search{DWORD(std::wcstoul(argv[1], nullptr, 10)), {}};
    const UINT timeout = argc == 3 ? UINT(std::wcstoul(argv[2], nullptr, 10)) : 5000;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    if (search.windows.empty()) {
        std::printf("no window\n");
        return 3;
    }
    int status = 0;
    for (HWND window : search.windows) {
        DWORD_PTR ignored = 0;
        if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeout, &ignored)) {
            std::printf("%p answered\n", static_cast<void*>(window));
        } else {
            std::printf("%p timeout error=%lu\n", static_cast<void*>(window), GetLastError());
            status = 1;
        }
    }
    std::fflush(stdout);
    return status;
}
