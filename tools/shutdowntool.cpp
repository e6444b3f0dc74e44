// Runs the forced shutdown for real:   shutdowntool
// or stays alive for a while, as a process of the session that the shutdown
// must end:                            shutdowntool wait
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "shutdown/mdlShutdown.h"
#include "tools/console_platform.h"

int wmain(int argc, wchar_t** argv) {
    UseConsolePlatform();
    if (argc == 2 && std::wcscmp(argv[1], L"wait") == 0) {
        std::printf("waiting\n");
        std::fflush(stdout);
        Sleep(120000);
        return 3;
    }
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    std::printf("platform %lu: shutting down\n", version.dwPlatformId);
    std::fflush(stdout);
    Exec_Shutdown();
    std::printf("Exec_Shutdown returned\n");
    std::fflush(stdout);
    // The session is ending; give it the moment it needs to end this process too.
    Sleep(30000);
    return 0;
}
