// The Wine side of the scan benchmark.
//   scan_timing.exe script N FILE   writes an imitation_dialogs script that
//                                   puts up the benchmark desktop of N
//                                   top-level windows (hidden: showing them
//                                   costs Wine's X11 driver much time)
//   scan_timing.exe time N SECONDS  with that desktop up, times the full scan
//                                   against the bare loop of the same calls
//                                   for SECONDS (at least)
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "bench/scan_workload.h"
#include "platform/win32/desktop_win32.h"

// After the platform contracts: <windows.h> declares an enumerator named
// TokenPrivilegeSet, which would hide the contract's record of that name.
#include <windows.h>

#include "tools/utf8.h"

namespace {

int Write_Script(int tops, const wchar_t* path) {
    FILE* f = _wfopen(path, L"wb");
    if (!f) return 1;
    int names = 0;
    bench::Build_Desktop(
        tops,
        [&](const Text& caption) {
            std::string name = "w" + std::to_string(names++);
            std::fprintf(f, "hidden %s %s\n", name.c_str(), Utf8(caption).c_str());
            return name;
        },
        [&](const std::string& parent, const Text& text) {
            std::string name = "w" + std::to_string(names++);
            std::fprintf(f, "child %s %s STATIC %s\n", name.c_str(), parent.c_str(), Utf8(text).c_str());
            return name;
        });
    return std::fclose(f) == 0 ? 0 : 1;
}

int Time(int tops, double seconds) {
    int windows = 0;
    const bench::Expected expected = bench::Build_Desktop(
        tops, [&](const Text&) { return ++windows; }, [&](int, const Text&) { return ++windows; });
    Win32Desktop desktop;
    gPlatform.desktop = &desktop;
    const bool ok = bench::Time_Scan(tops, windows, expected, seconds, bench::Wall_Clock, false);
    std::fflush(stdout);
    return ok ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 4 && std::wcscmp(argv[1], L"script") == 0) return Write_Script(_wtoi(argv[2]), argv[3]);
    if (argc >= 4 && std::wcscmp(argv[1], L"time") == 0) return Time(_wtoi(argv[2]), _wtof(argv[3]));
    std::fprintf(stderr, "usage: scan_timing script N FILE | time N SECONDS\n");
    return 2;
}
