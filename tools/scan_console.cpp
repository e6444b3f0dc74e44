// Prints what one download status scan of the desktop finds, for instance
// "active=1 failed=0 copying=0". With --windows it then lists the snapshot's
// top-level windows, one handle and UTF-8 caption per line.
#include <cstdio>
#include <cwchar>
#include <exception>
#include <string>

#include "detect/download_status.h"
#include "detect/window_list.h"
#include "platform/error.h"
#include "platform/platform.h"
#include "platform/win32/desktop_win32.h"

// After the platform contracts: <windows.h> declares an enumerator named
// TokenPrivilegeSet, which would hide the contract's record of that name.
#include <windows.h>

#include "tools/utf8.h"

int wmain(int argc, wchar_t** argv) {
    Win32Desktop desktop;
    gPlatform.desktop = &desktop;
    std::int32_t active = 0;
    std::int32_t failed = 0;
    std::int16_t copying = 0;
    try {
        Get_DownloadStatus(active, failed, copying);
    } catch (const std::exception&) {
        const RuntimeError e = CurrentError();
        std::printf("error %s\n", Utf8(ErrorBoxText(e.Number(), e.Description())).c_str());
        return 1;
    }
    std::printf("active=%d failed=%d copying=%d\n", int(active), int(failed), int(copying));
    if (argc > 1 && std::wcscmp(argv[1], L"--windows") == 0) {
        for (const WindowEntry& e : gWinList)
            std::printf("%llx %s\n", static_cast<unsigned long long>(e.hWnd), Utf8(e.Caption).c_str());
    }
    std::fflush(stdout);
    return 0;
}
