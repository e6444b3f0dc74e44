// The desktops the scan benchmarks run on, and the timing of a full scan
// against a bare loop of the same desktop calls. Shared by the native
// benchmark (scripted desktop) and the Wine one (real windows).
#pragma once
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
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
    return {digits.begin(), digits.end()};
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
                    text = download ? u"保存しています: file" + Number(k) + u".zip"
                                    : Text(u"処理がタイムアウトになりました");
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
    gPlatform.desktop->EnumWindows(Bare_Read, static_cast<AppValue>(convert));
    for (WindowHandle parent : parents)
        gPlatform.desktop->EnumChildWindows(parent, Bare_Read, static_cast<AppValue>(convert));
}

// The top-level windows that have descendants, found once before timing, so
// that the bare loop enumerates exactly the children the scan reads.
inline std::vector<WindowHandle>& Found_Parents() {
    static std::vector<WindowHandle> parents;
    return parents;
}
inline std::int32_t Count_Child(WindowHandle /*window*/, AppValue counter) {
    ++*reinterpret_cast<int*>(counter);
    return 1;
}
inline std::int32_t Find_Parent(WindowHandle window, AppValue /*value*/) {
    int children = 0;
    gPlatform.desktop->EnumChildWindows(window, Count_Child, reinterpret_cast<AppValue>(&children));
    if (children > 0) Found_Parents().push_back(window);
    return 1;
}

// The clocks a measurement may read, in milliseconds. Where all the work is
// in this process, its CPU time leaves out the time other programs had the
// processor; under Wine the work is shared with the server process, so only
// wall time sees all of it.
inline double Wall_Clock() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
inline double Cpu_Clock() { return 1000.0 * double(std::clock()) / CLOCKS_PER_SEC; }

template <class F>
double Milliseconds(double (*clock)(), F f) {
    const double start = clock();
    f();
    return clock() - start;
}

// Smallest, quartiles, median and largest of a sample (linear between ranks).
struct Spread {
    double min, q1, median, q3, max;
};
inline Spread Spread_Of(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const auto at = [&](double q) {
        const double pos = q * double(v.size() - 1);
        const auto i = std::size_t(pos);
        const double frac = pos - double(i);
        return i + 1 < v.size() ? v[i] + frac * (v[i + 1] - v[i]) : v[i];
    };
    return {v.front(), at(0.25), at(0.5), at(0.75), v.back()};
}

// Times rounds of scan and bare loop side by side on `clock`, for at least
// `seconds` and at least kMinRounds rounds. A round is scan, bare, bare,
// scan, and gives the ratio of its two scans to its two bare loops, so that
// load from other programs that grows or fades during a round weighs on both
// alike, and a burst spoils a round or two, not the figure: the median ratio,
// printed with its quartiles and extremes. With `unconverted`, each round
// also times the bare loop without the code page conversion. Prints one line;
// returns false when the scan did not find what the desktop holds.
constexpr int kMinRounds = 21;
inline bool Time_Scan(int tops, int windows, Expected expected, double seconds, double (*clock)(), bool unconverted) {
    Found_Parents().clear();
    gPlatform.desktop->EnumWindows(Find_Parent, 0);
    std::int32_t active = 0;
    std::int32_t failed = 0;
    std::int16_t copying = 0;
    const auto scan = [&] { return Milliseconds(clock, [&] { Get_DownloadStatus(active, failed, copying); }); };
    const auto bare = [&] { return Milliseconds(clock, [] { Bare_Loop(Found_Parents(), true); }); };
    const auto raw = [&] { return Milliseconds(clock, [] { Bare_Loop(Found_Parents(), false); }); };
    scan();  // warms up
    bare();
    std::vector<double> scans;
    std::vector<double> bares;
    std::vector<double> raws;
    std::vector<double> ratios;
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    while (int(ratios.size()) < kMinRounds || elapsed() < seconds) {
        const double s1 = scan();
        const double b1 = bare();
        const double b2 = bare();
        const double s2 = scan();
        scans.push_back((s1 + s2) / 2);
        bares.push_back((b1 + b2) / 2);
        ratios.push_back((s1 + s2) / (b1 + b2));
        if (unconverted) raws.push_back(raw());
    }
    const Spread r = Spread_Of(ratios);
    const double us = 1000.0 / windows;
    std::printf(
        "%6d top-level, %6d windows, %5d rounds: ratio median %.3f  quartiles %.3f-%.3f  "
        "range %.3f-%.3f  per window (medians): scan %.3f us, bare %.3f us",
        tops, windows, int(ratios.size()), r.median, r.q1, r.q3, r.min, r.max, Spread_Of(scans).median * us,
        Spread_Of(bares).median * us);
    if (unconverted) std::printf(" (bare without conversion %.3f us)", Spread_Of(raws).median * us);
    std::printf("\n");
    if (active != expected.active || failed != expected.failed) {
        std::printf("MISMATCH: scan found active=%d failed=%d, the desktop holds %d and %d\n", int(active), int(failed),
                    int(expected.active), int(expected.failed));
        return false;
    }
    return true;
}

}  // namespace bench
