// The desktops the scan benchmarks run on, and the timing of a full scan
// against a bare loop of the same desktop calls. Shared by the native
// benchmark (scripted desktop) and the Wine one (real windows).
#pragma once
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "detect/download_status.h"
#include "platform/codepage.h"
#include "platform/platform.h"

namespace bench {

constexpr int kDescendants = 20;

struct Expected {
    std::int32_t active;
    std::int32_t failed;
};

inline Text Number(int n) {
    const std::string digits = std::to_string(n);
    return Text(digits.begin(), digits.end());
}

// `tops` top-level windows; every tenth is a dialog with 20 descendants over
// two levels (4 panels of 4 controls): download dialogs and error boxes by
// turns, each with its marker on the last control. Calls addTop(caption) and
// addChild(parent, text), where parent is what addTop or addChild returned.
template <class AddTop, class AddChild>
Expected Build_Desktop(int tops, AddTop addTop, AddChild addChild) {
    Expected expected{0, 0};
    for (int k = 0; k < tops; ++k) {
        if (k % 10 != 0) {
            addTop(u"document" + Number(k) + u".txt - メモ帳");
            continue;
        }
        const bool download = k % 20 == 0;
        auto dialog = addTop(download ? u"ファイルのダウンロード" : u"Microsoft Internet Explorer");
        for (int p = 0; p < 4; ++p) {
            auto panel = addChild(dialog, u"panel " + Number(p));
            for (int c = 0; c < 4; ++c) {
                Text text = u"label " + Number(c) + u" of item " + Number(k);
                if (p == 3 && c == 3)
                    text = download ? u"保存しています: file" + Number(k) + u".zip" : Text(u"処理がタイムアウトになりました");
                addChild(panel, text);
            }
        }
        ++(download ? expected.active : expected.failed);
    }
    return expected;
}

// The bare loop: every window of the desktop enumerated and its text read
// and (when `convert`) converted, with no list and no marker search.
inline std::size_t& Bare_Units() {
    static std::size_t units = 0;
    return units;
}
inline std::int32_t Bare_Read(WindowHandle window, AppValue convert) {
    char buffer[256] = {};
    const std::int32_t n = std::clamp(gPlatform.desktop->GetWindowTextA(window, buffer, 256), 0, 255);
    Bare_Units() += convert ? AnsiToText(buffer, std::size_t(n)).size() : std::size_t(n);
    return 1;
}
inline void Bare_Loop(const std::vector<WindowHandle>& parents, bool convert) {
    gPlatform.desktop->EnumWindows(Bare_Read, convert);
    for (WindowHandle parent : parents) gPlatform.desktop->EnumChildWindows(parent, Bare_Read, convert);
}

// The top-level windows that have descendants, found once before timing, so
// that the bare loop enumerates exactly the children the scan reads.
inline std::vector<WindowHandle>& Found_Parents() {
    static std::vector<WindowHandle> parents;
    return parents;
}
inline std::int32_t Count_Child(WindowHandle, AppValue counter) {
    ++*reinterpret_cast<int*>(counter);
    return 1;
}
inline std::int32_t Find_Parent(WindowHandle window, AppValue) {
    int children = 0;
    gPlatform.desktop->EnumChildWindows(window, Count_Child, reinterpret_cast<AppValue>(&children));
    if (children > 0) Found_Parents().push_back(window);
    return 1;
}

template <class F>
double Milliseconds(F f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Times `rounds` rounds of scan, bare loop and bare loop without conversion,
// in turns, keeping the best of each; prints one line. Returns false when the
// scan did not find what the desktop holds.
inline bool Time_Scan(int tops, int windows, Expected expected, int rounds) {
    Found_Parents().clear();
    gPlatform.desktop->EnumWindows(Find_Parent, 0);
    std::int32_t active = 0, failed = 0;
    std::int16_t copying = 0;
    double scan = 1e300, bare = 1e300, raw = 1e300;
    for (int r = 0; r < rounds + 1; ++r) {  // the first round warms up
        const double s = Milliseconds([&] { Get_DownloadStatus(active, failed, copying); });
        const double b = Milliseconds([] { Bare_Loop(Found_Parents(), true); });
        const double w = Milliseconds([] { Bare_Loop(Found_Parents(), false); });
        if (r == 0) continue;
        scan = std::min(scan, s);
        bare = std::min(bare, b);
        raw = std::min(raw, w);
    }
    std::printf("%6d top-level, %6d windows: scan %9.3f ms  bare %9.3f ms  ratio %.3f  "
                "per window: scan %.3f us, bare %.3f us (bare without conversion %.3f us)\n",
                tops, windows, scan, bare, scan / bare, scan * 1000 / windows, bare * 1000 / windows,
                raw * 1000 / windows);
    if (active != expected.active || failed != expected.failed) {
        std::printf("MISMATCH: scan found active=%d failed=%d, the desktop holds %d and %d\n", int(active),
                    int(failed), int(expected.active), int(expected.failed));
        return false;
    }
    return true;
}

// Rounds enough for a steady minimum without long runs on large desktops.
inline int Rounds_For(int tops) { return std::max(5, 200000 / tops); }

}  // namespace bench
