// The full download status scan against a bare loop of the same desktop
// calls, on scripted desktops of 100, 1,000 and 10,000 top-level windows.
#include <cstdio>

#include "bench/scan_workload.h"
#include "platform/headless/scripted_desktop.h"

int main() {
    std::printf("native, scripted desktop, CP932 through iconv, CPU time\n");
    bool ok = true;
    for (int tops : {100, 1000, 10000}) {
        ScriptedDesktop desk;
        int windows = 0;
        const bench::Expected expected = bench::Build_Desktop(
            tops,
            [&](const Text& caption) {
                ++windows;
                return desk.AddTop(caption);
            },
            [&](WindowHandle parent, const Text& text) {
                ++windows;
                return desk.AddChild(parent, text);
            });
        gPlatform.desktop = &desk;
        ok = bench::Time_Scan(tops, windows, expected, 4, bench::Cpu_Clock, true) && ok;
        gPlatform.desktop = nullptr;
    }
    return ok ? 0 : 1;
}
