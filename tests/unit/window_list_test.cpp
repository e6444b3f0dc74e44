#include <string>
#include <vector>

#include "detect/window_list.h"
#include "platform/codepage.h"
#include "scripted_desktop_fixture.h"

using WindowSnapshot = ScriptedDesktopTest;

TEST_F(WindowSnapshot, ListsHoldExactlyTheDeliveredWindowsInOrder) {
    // Nothing delivered.
    Snap_TopWindows();
    EXPECT_EQ(gWinLast, -1);
    EXPECT_TRUE(gWinList.empty());

    const WindowHandle a = desk.AddTop(std::string("A"));
    const WindowHandle b = desk.AddTop(std::string());  // no text
    const WindowHandle c = desk.AddTop(std::string("C"));
    Snap_TopWindows();
    ASSERT_EQ(gWinLast, 2);
    ASSERT_EQ(gWinList.size(), 3u);
    EXPECT_EQ(gWinList[0].hWnd, a);
    EXPECT_EQ(gWinList[1].hWnd, b);
    EXPECT_EQ(gWinList[2].hWnd, c);
    EXPECT_EQ(gWinList[0].Caption, u"A");
    EXPECT_EQ(gWinList[1].Caption, u"");
    EXPECT_EQ(gWinList[2].Caption, u"C");
    for (const WindowEntry& e : gWinList)
        EXPECT_GT(e.hWnd, WindowHandle(0xFFFFFFFFLL)) << "kept whole, not cut to 32 bits";

    // A second snapshot holds only what the second enumeration delivered.
    desk.Close(a);
    desk.Close(c);
    Snap_TopWindows();
    ASSERT_EQ(gWinLast, 0);
    ASSERT_EQ(gWinList.size(), 1u);
    EXPECT_EQ(gWinList[0].hWnd, b);

    // Many windows: each append keeps the earlier entries.
    for (int k = 0; k < 1000; ++k) desk.AddTop(std::to_string(k));
    Snap_TopWindows();
    ASSERT_EQ(gWinLast, 1000);
    ASSERT_EQ(gWinList.size(), 1001u);
    for (int k = 0; k < 1000; ++k) {
        const std::string digits = std::to_string(k);
        ASSERT_EQ(gWinList[std::size_t(k) + 1].Caption, Text(digits.begin(), digits.end()));
    }

    // The callbacks go on whatever the application value.
    for (AppValue value : {AppValue(0), AppValue(1), AppValue(-1)}) {
        EXPECT_EQ(Add_TopWindow(b, value), 1);
        EXPECT_EQ(Add_ChildWindow(b, value), 1);
    }
    EXPECT_EQ(gWinLast, 1003);
    EXPECT_EQ(gChildLast, 2);
}

TEST_F(WindowSnapshot, ChildSnapshotIsDepthFirstAndEmptyForGoneOrChildlessWindows) {
    const auto tops = Stage({
        {"dialog", {{1, "a"}, {2, "a.1"}, {3, "a.1.1"}, {2, "a.2"}, {1, "b"}, {2, "b.1"}}},
        {"lonely", {}},
        {"closing", {{1, "x"}}},
    });
    Snap_ChildWindows(tops[0]);
    std::vector<Text> order;
    order.reserve(gChildList.size());
    for (const WindowEntry& e : gChildList) order.push_back(e.Caption);
    EXPECT_EQ(order, (std::vector<Text>{u"a", u"a.1", u"a.1.1", u"a.2", u"b", u"b.1"}));
    EXPECT_EQ(gChildLast, 5);

    Snap_ChildWindows(tops[1]);
    EXPECT_EQ(gChildLast, -1);
    EXPECT_TRUE(gChildList.empty());

    desk.Close(tops[2]);
    Snap_ChildWindows(tops[2]);
    EXPECT_EQ(gChildLast, -1);
    EXPECT_TRUE(gChildList.empty());
}

TEST_F(WindowSnapshot, TextIsCutAt255BytesAndAnyBytesAreSafe) {
    std::string allBytes;
    for (int v = 1; v < 256; ++v) allBytes += char(v);
    const struct {
        const char* what;
        std::string ansi;
        Text expected;
    } cases[] = {
        {"300 single bytes", std::string(300, 'x'), Text(255, u'x')},
        {"11 double-byte characters", Sjis(u"ファイルのダウンロード"), u"ファイルのダウンロード"},
        {"double-byte character cut at byte 255", std::string(254, 'a') + Sjis(u"ア"), Text(254, u'a') + u"\u30FB"},
        {"lone lead byte", "\x83", u"\u30FB"},
        {"invalid trail byte", "\x81\x20z", u"\u30FB z"},
        {"never-valid bytes", "\xA0\xFD\xFE\xFF", Text()},  // checked for length only
        {"every byte value", allBytes, Text()},
        {"no text", "", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const WindowHandle h = desk.AddTop(c.ansi);
        EXPECT_EQ(Add_TopWindow(h, 0), 1);
        const Text& caption = gWinList.back().Caption;
        EXPECT_EQ(gWinList.back().hWnd, h);
        EXPECT_LE(caption.size(), 255u);
        if (!c.expected.empty() || c.ansi.empty()) {
            EXPECT_EQ(caption, c.expected);
        }
        if (c.ansi.size() <= 255) {
            EXPECT_EQ(caption.empty(), c.ansi.empty());
        }
    }
}

TEST_F(WindowSnapshot, MisreportedCountsNeverReachPastTheBuffer) {
    const WindowHandle h = desk.AddTop(std::string(300, 'y'));
    const struct {
        std::int32_t reported;
        std::size_t expectedLength;
    } cases[] = {{1000, 255}, {256, 255}, {255, 255}, {3, 3}, {0, 0}, {-1, 0}, {INT32_MIN, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reported);
        desk.reportedCount = c.reported;
        Add_TopWindow(h, 0);
        EXPECT_EQ(gWinList.back().Caption, Text(c.expectedLength, u'y'));
    }
}

TEST_F(WindowSnapshot, WindowsThatCloseOrChangeWhileBeingReadKeepTheirEntry) {
    const auto tops = Stage({{"dialog", {{1, "stays"}, {1, "goes"}, {1, "stays too"}}}});
    const WindowHandle goes = tops[0] + 8;  // the second child
    desk.onGetWindowText = [&](WindowHandle w) {
        if (w == goes) desk.Close(goes);
    };
    Snap_ChildWindows(tops[0]);
    ASSERT_EQ(gChildLast, 2);
    EXPECT_EQ(gChildList[1].hWnd, goes);
    EXPECT_EQ(gChildList[1].Caption, u"");
    EXPECT_EQ(gChildList[2].Caption, u"stays too");

    // A caption that changes between two reads: each snapshot has its own.
    desk.onGetWindowText = nullptr;
    Snap_TopWindows();
    EXPECT_EQ(gWinList[0].Caption, u"dialog");
    desk.SetText(tops[0], Sjis(u"ダウンロードの完了"));
    Snap_TopWindows();
    EXPECT_EQ(gWinList[0].Caption, u"ダウンロードの完了");
}
