#include <gtest/gtest.h>

#include "platform/error.h"
#include "tests/unit/controller_fixture.h"

namespace {

const std::string kWarning = u8"前回正常にシャットダウンされていません\r\n再度ダウンロード実行する事をおすすめします";

TEST(Startup, ASecondInstanceEndsSilentlyBeforeAnyWindow) {
    Pellory app;
    app.toolkit.prevInstance = true;
    app.SeedLog({LogEvent::AbnormalEnd});
    const std::string before = app.Log();
    EXPECT_THROW(app.main.Form_Load(), ProgramEnded);
    EXPECT_EQ(app.toolkit.trace, std::vector<std::string>{"App.End"});
    EXPECT_EQ(app.main.form, nullptr);
    EXPECT_TRUE(app.toolkit.boxes.empty());
    EXPECT_EQ(app.Log(), before);
}

TEST(Startup, LoadShowsTheWindowIdleAndRemembersItsSize) {
    Pellory app;
    gFormWidth = gFormHeight = 0;
    app.main.Form_Load();
    EXPECT_TRUE(app.window().Visible());
    EXPECT_FALSE(app.WatchingPresentation());
    EXPECT_FALSE(app.Polling());
    EXPECT_EQ(app.Caption(), u8"未監視 - Pellory");
    EXPECT_EQ(gFormWidth, 5040 + 240);
    EXPECT_EQ(gFormHeight, 3855 + 690);
    EXPECT_TRUE(gLogFileName == kLogPath);
    EXPECT_EQ(app.toolkit.trace.front(), "frmPellory.Load");
    EXPECT_EQ(app.toolkit.trace.back(), "frmPellory.Show");
}

// A program folder that cannot be found.
class NoAppPath : public TracingFiles {
public:
    using TracingFiles::TracingFiles;
    Text AppPath() override { throw RuntimeError(err::PathNotFound); }
};

TEST(Startup, AnErrorInLoadIsReportedAndEndsTheProgramUnseen) {
    Pellory app;
    NoAppPath files(app.toolkit);
    gPlatform.files = &files;
    EXPECT_THROW(app.main.Form_Load(), ProgramEnded);
    ASSERT_EQ(app.toolkit.boxes.size(), 1u);
    EXPECT_EQ(ToUtf8(app.toolkit.boxes[0].prompt), u8"76:パスが見つかりません。");
    EXPECT_EQ(ToUtf8(app.toolkit.boxes[0].title), "Form_Load");
    EXPECT_EQ(app.toolkit.boxes[0].style, 16);
    EXPECT_FALSE(app.window().Visible());
}

TEST(Startup, TheLastLoggedEventDecidesBetweenWarningAndAutomaticStart) {
    const struct {
        std::vector<LogEvent> log;
        bool seeded;  // false: no log file at all
        int active;
        const char* warning;  // the warning's title, or null
        bool starts;
    } cases[] = {
        {{LogEvent::Start, LogEvent::AbnormalEnd}, true, 2, u8"前回異常終了しています", false},
        {{LogEvent::AbnormalEnd}, true, 0, u8"前回異常終了しています", false},
        {{LogEvent::Cancel, LogEvent::Start}, true, 1, u8"前回の終了記録がありません", false},
        {{LogEvent::Start}, true, 0, u8"前回の終了記録がありません", false},
        {{LogEvent::Start, LogEvent::NormalEnd}, true, 1, nullptr, true},
        {{LogEvent::Start, LogEvent::Cancel}, true, 2, nullptr, true},
        {{LogEvent::Start, LogEvent::NormalEnd}, true, 0, nullptr, false},
        {{LogEvent::Cancel}, true, 0, nullptr, false},
        {{}, true, 1, nullptr, true},   // an empty log
        {{}, false, 1, nullptr, true},  // no log: the start line creates it
        {{}, false, 0, nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.log.size()) + " lines, last " +
                     (c.log.empty() ? "none" : std::to_string(int(c.log.back()))) + ", active " +
                     std::to_string(c.active));
        Pellory app;
        if (c.seeded) app.SeedLog(c.log);
        const std::string before = app.Log();
        app.SetDesktop(c.active, 0, false);
        app.Start();
        if (c.warning) {
            ASSERT_EQ(app.toolkit.boxes.size(), 1u);
            EXPECT_EQ(ToUtf8(app.toolkit.boxes[0].prompt), kWarning);
            EXPECT_EQ(ToUtf8(app.toolkit.boxes[0].title), c.warning);
            EXPECT_EQ(app.toolkit.boxes[0].style, 48);
        } else {
            EXPECT_TRUE(app.toolkit.boxes.empty());
        }
        EXPECT_EQ(app.Polling(), c.starts);
        EXPECT_EQ(app.WatchingPresentation(), c.starts);
        // The automatic start appends in the initial log mode.
        const std::string expected =
            (c.seeded ? before : std::string()) + (c.starts ? Line(LogEvent::Start, 7) : std::string());
        EXPECT_EQ(app.Log(), c.seeded || c.starts ? expected : "(none)");
        EXPECT_EQ(app.form().txtLog().Caption(), AnsiToText(c.seeded || c.starts ? expected : ""));
    }
}

TEST(Startup, LaterActivationsDoNothing) {
    const struct {
        std::vector<LogEvent> log;
        int activeAtFirst;
    } cases[] = {{{LogEvent::AbnormalEnd}, 1}, {{LogEvent::Cancel}, 0}, {{LogEvent::Cancel}, 1}};
    for (const auto& c : cases) {
        Pellory app;
        app.SeedLog(c.log);
        app.SetDesktop(c.activeAtFirst, 0, false);
        app.Start();
        const std::size_t boxes = app.toolkit.boxes.size();
        const bool polling = app.Polling();
        if (polling) {  // back to idle, so that a second automatic start could show
            app.Answer(kYes);
            app.Click(frmPellory::kCmdCancel);
        }
        const std::string log = app.Log();
        app.SetDesktop(1, 0, false);
        // Activated twice more, each time back from the About window: after
        // its own steps nothing follows.
        for (int again = 0; again < 2; ++again) {
            app.ActivateAgain();
            EXPECT_EQ(app.toolkit.trace.back(), "FrmVer.Unload");
        }
        EXPECT_EQ(app.toolkit.boxes.size(), boxes + (polling ? 1 : 0));
        EXPECT_FALSE(app.Polling());
        EXPECT_EQ(app.Log(), log);
    }
}

TEST(Startup, AnErrorAtTheFirstActivationIsReportedOnce) {
    Pellory app;
    app.SeedLog({LogEvent::Cancel});
    app.main.Form_Load();
    app.desk->AddTop(Text(u"ファイルのダウンロード"));
    app.desk->onEnumChildWindows = [](WindowHandle) { throw RuntimeError(err::OutOfMemory); };
    app.toolkit.DeliverPosted();
    ASSERT_EQ(app.toolkit.boxes.size(), 1u);
    EXPECT_EQ(ToUtf8(app.toolkit.boxes[0].prompt), u8"7:メモリが不足しています。");
    EXPECT_EQ(ToUtf8(app.toolkit.boxes[0].title), "Form_Activate");
    app.desk->onEnumChildWindows = nullptr;
    app.SetDesktop(1, 0, false);
    app.ActivateAgain();
    EXPECT_EQ(app.toolkit.boxes.size(), 1u);
    EXPECT_FALSE(app.Polling());
}

}  // namespace
