#include <map>
#include <new>
#include <ostream>
#include <string>
#include <vector>

#include "detect/download_status.h"
#include "detect/window_list.h"
#include "platform/error.h"
#include "scripted_desktop_fixture.h"

namespace {

struct Status {
    std::int32_t active;
    std::int32_t failed;
    std::int16_t copying;
    bool operator==(const Status& o) const { return active == o.active && failed == o.failed && copying == o.copying; }
};

std::ostream& operator<<(std::ostream& os, const Status& s) {
    return os << "active=" << s.active << " failed=" << s.failed << " copying=" << s.copying;
}

struct Case {
    const char* what;
    std::vector<TopSpec> desktop;
    Status expected;
};

const std::string kMsie = "Microsoft Internet Explorer";
const std::string kDownload = Sjis(u"ファイルのダウンロード");
const std::string kDone = Sjis(u"完了しました");
const std::string kCopying = Sjis(u"コピーしています");
const std::string kTimedOut = Sjis(u"処理がタイムアウトになりました");
const std::string kReset = Sjis(u"サーバーとの接続がリセットされました");
const std::string kSaving = Sjis(u"保存しています");

}  // namespace

class DownloadStatus : public ScriptedDesktopTest {
protected:
    Status Scan() {
        Status s{99, 99, 5};  // the outputs must be overwritten
        Get_DownloadStatus(s.active, s.failed, s.copying);
        return s;
    }

    void Check(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            desk = ScriptedDesktop{kHighHandle};
            Stage(c.desktop);
            EXPECT_EQ(Scan(), c.expected);
        }
    }
};

TEST_F(DownloadStatus, NothingToFind) {
    Check({
        {"no windows: not a desktop that was read", {}, {0, 0, -1}},
        {"no marker anywhere", {{"Program Manager", {}}, {"", {{1, "OK"}}}, {Sjis(u"無題 - メモ帳"), {}}}, {0, 0, 0}},
    });
}

TEST_F(DownloadStatus, ErrorBoxRule) {
    Check({
        {"one child with both texts", {{kMsie, {{1, "OK"}, {1, kTimedOut + kReset}}}}, {0, 1, 0}},
        {"two children with one text each", {{kMsie, {{1, kReset}, {1, kTimedOut}}}}, {0, 1, 0}},
        {"browser window, error deep below",
         {{"Top page - " + kMsie, {{1, "frame"}, {2, "view"}, {3, "x " + kTimedOut + " y"}}}},
         {0, 1, 0}},
        {"children without error texts", {{kMsie, {{1, "OK"}, {1, kSaving}}}}, {0, 0, 0}},
        {"two error boxes", {{kMsie, {{1, kTimedOut}}}, {kMsie, {{1, kReset}}}}, {0, 2, 0}},
        {"other letter case", {{"Microsoft Internet explorer", {{1, kTimedOut}}}}, {0, 0, 0}},
        {"full-width letter", {{Sjis(u"Ｍicrosoft Internet Explorer"), {{1, kTimedOut}}}}, {0, 0, 0}},
        {"error text in the caption only", {{kMsie + " " + kTimedOut, {}}}, {0, 0, 0}},
        {"caption marker in a child only", {{"Browser", {{1, kMsie}, {1, kTimedOut}}}}, {0, 0, 0}},
        {"error text under a download dialog", {{kDownload, {{1, kTimedOut}}}}, {0, 0, 0}},
    });
}

TEST_F(DownloadStatus, DownloadDialogRule) {
    Check({
        {"two saving children", {{kDownload, {{1, kSaving + " a"}, {1, kSaving + " b"}}}}, {1, 0, 0}},
        {"no saving child", {{kDownload, {{1, "OK"}, {1, Sjis(u"保存しました")}}}}, {0, 0, 0}},
        {"saving at depth 2", {{kDownload, {{1, "pane"}, {2, kSaving}}}}, {1, 0, 0}},
        {"saving at depth 3", {{kDownload, {{1, "pane"}, {2, "group"}, {3, kSaving}}}}, {1, 0, 0}},
        {"saving in the caption only", {{kDownload + kSaving, {}}}, {0, 0, 0}},
        {"half-width katakana", {{Sjis(u"ﾌｧｲﾙのﾀﾞｳﾝﾛｰﾄﾞ"), {{1, kSaving}}}}, {0, 0, 0}},
        {"dialog and progress caption at once", {{"50% " + kDone + " - " + kDownload, {{1, kSaving}}}}, {2, 0, 0}},
        {"two dialogs", {{kDownload, {{1, kSaving}}}, {kDownload, {{1, kSaving}}}}, {2, 0, 0}},
    });
}

TEST_F(DownloadStatus, ProgressCaptionRule) {
    Check({
        {"two progress captions", {{"10% " + kDone, {}}, {"90% " + kDone, {}}}, {2, 0, 0}},
        {"in a child text only", {{kDownload, {{1, kDone}}}}, {0, 0, 0}},
        {"other kana kind", {{Sjis(u"完了シマシタ"), {}}}, {0, 0, 0}},
    });
}

TEST_F(DownloadStatus, CopyRule) {
    Check({
        {"one copy", {{kCopying, {}}}, {0, 0, -1}},
        {"two copies, counts unchanged", {{kCopying, {}}, {"12% " + kDone, {}}, {kCopying + "...", {}}}, {1, 0, -1}},
        {"in a child text only", {{kDownload, {{1, kCopying}}}}, {0, 0, 0}},
    });
}

TEST_F(DownloadStatus, MarkersBeyondTheFirst255BytesAreNotSeen) {
    Check({
        {"marker past the cut", {{std::string(250, ' ') + kDone, {}}}, {0, 0, 0}},
        {"marker ending at byte 255", {{std::string(243, ' ') + kDone, {}}}, {1, 0, 0}},
        {"marker's last character cut in half", {{std::string(244, ' ') + kDone, {}}}, {0, 0, 0}},
    });
}

TEST_F(DownloadStatus, ChildrenAreEnumeratedOnlyForTheTwoRulesThatNeedThem) {
    const auto h = Stage({
        {kDownload + " - " + kMsie, {{1, kSaving}, {1, kReset}}},
        {kDone, {{1, "x"}}},
        {kCopying, {{1, "y"}}},
        {"plain", {{1, "z"}}},
        {kMsie, {{1, "OK"}}},
    });
    EXPECT_EQ(Scan(), (Status{2, 1, -1}));
    EXPECT_EQ(desk.topEnumerations, 1);
    EXPECT_EQ(desk.childEnumerations, (std::map<WindowHandle, int>{{h[0], 2}, {h[4], 1}}));
    // The child list keeps the last matching window's descendants.
    ASSERT_EQ(gChildLast, 0);
    EXPECT_EQ(gChildList[0].Caption, u"OK");

    // A later scan in which nothing matches leaves the child list empty.
    desk.Close(h[0]);
    desk.Close(h[4]);
    EXPECT_EQ(Scan(), (Status{1, 0, -1}));
    EXPECT_EQ(gChildLast, -1);
    EXPECT_TRUE(gChildList.empty());
    EXPECT_EQ(gWinLast, 2);

    // A window matching both rules: the error-box rule reads its children
    // first, and the download-dialog rule's snapshot replaces that one.
    desk = ScriptedDesktop{kHighHandle};
    const auto both = Stage({{kMsie + " " + kDownload, {{1, "label"}}}});
    int enumeration = 0;
    desk.onEnumChildWindows = [&](WindowHandle) { desk.SetText(both[0] + 4, ++enumeration == 1 ? kReset : kSaving); };
    EXPECT_EQ(Scan(), (Status{1, 1, 0}));
    ASSERT_EQ(gChildLast, 0);
    EXPECT_EQ(gChildList[0].Caption, u"保存しています");
}

TEST_F(DownloadStatus, WindowsThatVanishOrChangeMidScan) {
    // Closed between the top-level snapshot and its child snapshot: only the
    // caption rules still count it.
    auto h = Stage({{kDone + " " + kDownload, {{1, kSaving}}}, {kMsie, {{1, kTimedOut}}}});
    desk.CloseAfterEnumerations(h[0], 1);
    desk.onEnumChildWindows = [&](WindowHandle parent) {
        if (parent == h[1]) desk.Close(h[1]);
    };
    EXPECT_EQ(Scan(), (Status{1, 0, 0}));
    EXPECT_EQ(gWinLast, 1);

    // The saving label closes while it is read.
    desk = ScriptedDesktop{kHighHandle};
    h = Stage({{kDownload, {{1, "OK"}, {1, kSaving}}}});
    desk.onGetWindowText = [&](WindowHandle w) {
        if (w == h[0] + 8) desk.Close(w);
    };
    EXPECT_EQ(Scan(), (Status{0, 0, 0}));
    ASSERT_EQ(gChildLast, 1);
    EXPECT_EQ(gChildList[1].Caption, u"");

    // A caption that changes between two scans.
    desk.onGetWindowText = nullptr;
    desk.AddChild(h[0], kSaving);
    EXPECT_EQ(Scan(), (Status{1, 0, 0}));
    desk.SetText(h[0], Sjis(u"ダウンロードの完了"));
    EXPECT_EQ(Scan(), (Status{0, 0, 0}));
}

TEST_F(DownloadStatus, ADesktopTheSystemDidNotLetItReadIsNotAnEmptyOne) {
    const std::vector<TopSpec> downloading{{"Program Manager", {}}, {kDownload, {{1, "OK"}, {1, kSaving}}}};
    Stage(downloading);
    EXPECT_EQ(Scan(), (Status{1, 0, 0}));
    desk.enumWindowsFails = true;
    EXPECT_EQ(Scan(), (Status{0, 0, -1}));
    EXPECT_EQ(gWinLast, -1);
    desk.enumWindowsFails = false;
    desk.textReadsFail = true;
    EXPECT_EQ(Scan(), (Status{0, 0, -1}));
    EXPECT_EQ(gWinLast, 1);

    desk.textReadsFail = false;

    // Captions read, but the download dialog's labels not listed.
    desk.enumChildWindowsFails = true;
    EXPECT_EQ(Scan(), (Status{0, 0, -1}));
    desk = ScriptedDesktop{kHighHandle};
    Stage({{"10% " + kDone, {}}, {kMsie, {{1, kTimedOut}}}});
    desk.enumChildWindowsFails = true;
    // An error box not read only delays an abnormal end.
    EXPECT_EQ(Scan(), (Status{1, 0, 0}));
    // Another program's window of that title without children, or labels
    // that read empty, are no failure.
    desk.enumChildWindowsFails = false;
    Check({
        {"dialog without children", {{"Program Manager", {}}, {kDownload, {}}}, {0, 0, 0}},
        {"dialog whose labels read empty", {{kDownload, {{1, ""}, {2, ""}}}}, {0, 0, 0}},
    });
}

TEST_F(DownloadStatus, AnErrorLeavesTheOutputsUntouched) {
    const auto h = Stage({{kCopying, {}}, {"3% " + kDone, {}}, {kDownload, {{1, "OK"}, {1, kSaving}}}});
    for (int kind = 0; kind < 2; ++kind) {
        SCOPED_TRACE(kind);
        desk.onGetWindowText = [&](WindowHandle w) {
            if (w != h[2] + 8) return;
            if (kind == 0) throw std::bad_alloc();
            throw RuntimeError(err::OutOfMemory);
        };
        std::int32_t active = 7;
        std::int32_t failed = 8;
        std::int16_t copying = 9;
        EXPECT_ANY_THROW(Get_DownloadStatus(active, failed, copying));
        EXPECT_EQ(active, 7);
        EXPECT_EQ(failed, 8);
        EXPECT_EQ(copying, 9);
        EXPECT_EQ(gChildLast, 0);  // what was built so far stays
    }
}

TEST_F(DownloadStatus, EachScanJudgesTheCaptionsItsOwnSnapshotRead) {
    // Retitled after the top-level snapshot read them, while the scan goes
    // through the children: each window is judged, once, by the caption read.
    auto h = Stage({{kDownload, {{1, kSaving}}}, {"10% " + kDone, {}}, {kMsie, {{1, kReset}}}, {"plain", {}}});
    desk.onEnumChildWindows = [&](WindowHandle) {
        desk.SetText(h[0], Sjis(u"ダウンロードの完了"));
        desk.SetText(h[1], kCopying);
        desk.SetText(h[2], kDownload);
        desk.SetText(h[3], kMsie);
    };
    EXPECT_EQ(Scan(), (Status{2, 1, 0}));
    EXPECT_EQ(desk.childEnumerations, (std::map<WindowHandle, int>{{h[0], 1}, {h[2], 1}}));
    desk.onEnumChildWindows = nullptr;
    EXPECT_EQ(Scan(), (Status{0, 0, -1}));  // the next scan sees the new captions

    // A top-level window that closes while its caption is read: an empty
    // caption, counted by no rule; the windows after it still count.
    desk = ScriptedDesktop{kHighHandle};
    h = Stage({{"50% " + kDone, {}}, {kDownload, {{1, kSaving}}}, {"70% " + kDone, {}}});
    desk.onGetWindowText = [&](WindowHandle w) {
        if (w == h[0]) desk.Close(w);
    };
    EXPECT_EQ(Scan(), (Status{2, 0, 0}));
    ASSERT_EQ(gWinLast, 2);
    EXPECT_EQ(gWinList[0].Caption, u"");
}
