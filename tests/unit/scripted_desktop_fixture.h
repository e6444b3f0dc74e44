// Wires a fresh scripted desktop into gPlatform for each test and leaves the
// snapshot lists empty afterwards.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "detect/window_list.h"
#include "platform/codepage.h"
#include "platform/headless/scripted_desktop.h"
#include "platform/platform.h"

// Above 2^32, so that a handle cut to 32 bits finds no window.
constexpr WindowHandle kHighHandle = WindowHandle(0x7'0000'1000LL);

// One top-level window and its descendants; `depth` 1 is a direct child,
// depth k + 1 a child of the nearest earlier descendant at depth k.
struct ChildSpec {
    int depth;
    std::string ansi;
};
struct TopSpec {
    std::string ansi;
    std::vector<ChildSpec> children;
};

inline std::string Sjis(const Text& text) { return TextToAnsi(text); }

class ScriptedDesktopTest : public ::testing::Test {
protected:
    void SetUp() override { gPlatform.desktop = &desk; }
    void TearDown() override {
        gPlatform.desktop = nullptr;
        gWinList.clear();
        gWinLast = -1;
        gChildList.clear();
        gChildLast = -1;
    }

    std::vector<WindowHandle> Stage(const std::vector<TopSpec>& tops) {
        std::vector<WindowHandle> handles;
        for (const TopSpec& top : tops) {
            const WindowHandle h = desk.AddTop(top.ansi);
            std::vector<WindowHandle> chain{h};  // chain[k]: latest window at depth k
            for (const ChildSpec& c : top.children) {
                chain.resize(std::size_t(c.depth));
                chain.push_back(desk.AddChild(chain.back(), c.ansi));
            }
            handles.push_back(h);
        }
        return handles;
    }

    ScriptedDesktop desk{kHighHandle};
};
