#include <gtest/gtest.h>

#include <cmath>

#include "platform/error.h"
#include "platform/headless/headless_toolkit.h"
#include "platform/headless/utf8.h"
#include "platform/platform.h"
#include "ui/frmPellory.h"

namespace {

// The main window with its own handlers wired, as the controller does.
class MainWindow : public ::testing::Test, public frmPelloryEvents {
protected:
    MainWindow() {
        gPlatform.toolkit = &toolkit;
        bBlink = 0;
        main = std::make_unique<frmPellory>(*this);
        form = main.get();
    }
    ~MainWindow() override { gPlatform.toolkit = nullptr; }

    // The About button stands for any handler that fails.
    void Click(std::size_t control) override {
        if (control == frmPellory::kCmdAbout) throw RuntimeError(err::FileNotFound);
        frmPelloryEvents::Click(control);
    }

    HeadlessForm& window() { return static_cast<HeadlessForm&>(main->form()); }
    std::string Caption() { return ToUtf8(main->form().Caption()); }
    // Shows the window the way the load handler does.
    void Load() {
        main->Set_WatchOff();
        gFormWidth = std::int32_t(std::lround(window().Width()));
        gFormHeight = std::int32_t(std::lround(window().Height()));
        window().Show(false);
    }

    HeadlessToolkit toolkit;
    std::unique_ptr<frmPellory> main;
};

TEST_F(MainWindow, CreatedWithEveryControlEnabledBothTimersOffAndTheFirstOptionSelected) {
    EXPECT_EQ(Caption(), u8"未監視 - Pellory");
    for (std::size_t i = 0; i < frmPellory::kControlCount; ++i)
        EXPECT_TRUE(window().control(i).Enabled()) << kFrmPelloryLayout.controls[i].name;
    EXPECT_TRUE(main->optLog(0).Value());
    EXPECT_FALSE(main->optLog(1).Value());
    EXPECT_EQ(main->txtLog().Caption(), u"");
    EXPECT_EQ(ToUtf8(main->cmdStart().Caption()), u8"見張り開始");
    EXPECT_FALSE(main->tmrAnime().Enabled());
    EXPECT_FALSE(main->tmrPellory().Enabled());
    EXPECT_EQ(main->tmrAnime().Interval(), 1000);
    EXPECT_EQ(main->tmrPellory().Interval(), 5000);
    EXPECT_FALSE(window().Visible());

    // Choosing the other option clears the first: they are one group.
    EXPECT_TRUE(window().Click(frmPellory::kOptLog1));
    EXPECT_FALSE(main->optLog(0).Value());
    EXPECT_TRUE(main->optLog(1).Value());
}

TEST_F(MainWindow, PresentationsAreTheSevenStepsInOrderAndKeepTheOptionAndThePollTimer) {
    // Each step in order: what it sets, the value when watching, the value when idle.
    struct Step {
        const char* target;
        const char* watching;
        const char* idle;
    };
    const Step steps[] = {
        {"frmPellory.Caption=", u8"●監視中 - Pellory", u8"未監視 - Pellory"},
        {"fraLog.Enabled=", "False", "True"},
        {"optLog(0).Enabled=", "False", "True"},
        {"optLog(1).Enabled=", "False", "True"},
        {"cmdStart.Enabled=", "False", "True"},
        {"cmdCancel.Enabled=", "True", "False"},
        {"frmPellory.Refresh", "", ""},
        {"cmdStart.Refresh", "", ""},
        {"cmdCancel.Refresh", "", ""},
        {"tmrAnime.Enabled=", "True", "False"},
    };
    std::vector<std::string> on;
    std::vector<std::string> off;
    for (const Step& step : steps) {
        on.push_back(std::string(step.target) + step.watching);
        off.push_back(std::string(step.target) + step.idle);
    }

    Load();
    window().Click(frmPellory::kOptLog1);
    main->tmrPellory().SetEnabled(true);

    std::size_t mark = toolkit.trace.size();
    main->Set_WatchOn();
    EXPECT_EQ(toolkit.TraceSince(mark), on);
    // Help, About, the log view and its label stay usable while watching.
    for (auto i : {frmPellory::kCmdHelp, frmPellory::kCmdAbout, frmPellory::kTxtLog, frmPellory::kLabel1})
        EXPECT_TRUE(window().Usable(i)) << kFrmPelloryLayout.controls[i].name;
    // The options cannot be changed while a watch runs.
    EXPECT_FALSE(window().Click(frmPellory::kOptLog0));
    EXPECT_FALSE(window().Click(frmPellory::kCmdStart));
    EXPECT_TRUE(main->optLog(1).Value());

    mark = toolkit.trace.size();
    main->Set_WatchOff();
    EXPECT_EQ(toolkit.TraceSince(mark), off);
    EXPECT_TRUE(main->optLog(1).Value());
    EXPECT_FALSE(main->optLog(0).Value());
    EXPECT_TRUE(main->tmrPellory().Enabled());
    EXPECT_FALSE(window().Usable(frmPellory::kCmdCancel));
}

TEST_F(MainWindow, CaptionBlinksEverySecondAndTheNextWatchContinuesThePhase) {
    Load();
    const std::string on = u8"●監視中 - Pellory";
    const std::string off = u8"○監視中 - Pellory";
    const std::string idle = u8"未監視 - Pellory";
    // First watch: three ticks, an odd number.
    main->Set_WatchOn();
    EXPECT_EQ(Caption(), on);
    for (const std::string& expected : {off, on, off}) {
        EXPECT_TRUE(window().Tick(frmPellory::kTmrAnime));
        EXPECT_EQ(Caption(), expected);
    }
    EXPECT_EQ(bBlink, -1);
    main->Set_WatchOff();
    EXPECT_EQ(Caption(), idle);
    EXPECT_FALSE(window().Tick(frmPellory::kTmrAnime));
    EXPECT_EQ(Caption(), idle);
    EXPECT_EQ(bBlink, -1);

    // Second watch: the first tick shows the filled circle again.
    main->Set_WatchOn();
    for (const std::string& expected : {on, off, on, off}) {
        EXPECT_TRUE(window().Tick(frmPellory::kTmrAnime));
        EXPECT_EQ(Caption(), expected);
    }
    EXPECT_EQ(bBlink, -1);  // four ticks: back where this watch began
}

TEST_F(MainWindow, ResizeKeepsTheRememberedOuterSizeOnlyInTheNormalState) {
    Load();
    const double width = gFormWidth;
    const double height = gFormHeight;
    EXPECT_EQ(width, 5040 + HeadlessForm::kSizableFrameWidth);
    EXPECT_EQ(height, 3855 + HeadlessForm::kSizableFrameHeight);

    struct Case {
        const char* what;
        std::int32_t state;
        double dragWidth, dragHeight;
        double width, height;  // afterwards
    };
    const Case cases[] = {
        {"drag wider and taller", Normal, width + 600, height + 450, width, height},
        {"drag smaller", Normal, 1000, 800, width, height},
        {"minimised keeps what the system set", Minimized, 2400, 500, 2400, 500},
        {"restored comes back at the remembered size", Normal, 2400, 500, width, height},
        {"maximised is left alone", Maximized, 9000, 7000, 9000, 7000},
    };
    for (const Case& c : cases) {
        window().UserSetWindowState(c.state);
        window().UserResize(c.dragWidth, c.dragHeight);
        EXPECT_EQ(window().Width(), c.width) << c.what;
        EXPECT_EQ(window().Height(), c.height) << c.what;
    }
}

TEST_F(MainWindow, HelpRunsTheViewerWithStyleOneAndIgnoresItsFailure) {
    Load();
    EXPECT_TRUE(window().Click(frmPellory::kCmdHelp));
    ASSERT_EQ(toolkit.shells.size(), 1u);
    EXPECT_EQ(toolkit.shells[0].commandLine, u"hh.exe PelloryV2_0.chm");
    EXPECT_EQ(toolkit.shells[0].windowStyle, 1);

    toolkit.shellError = err::FileNotFound;
    EXPECT_NO_THROW(window().Click(frmPellory::kCmdHelp));
    EXPECT_EQ(toolkit.shells.size(), 2u);
    EXPECT_TRUE(toolkit.boxes.empty());
    EXPECT_FALSE(toolkit.ended);
    // Help stays usable while watching.
    main->Set_WatchOn();
    EXPECT_TRUE(window().Click(frmPellory::kCmdHelp));
    EXPECT_EQ(toolkit.shells.size(), 3u);
}

TEST_F(MainWindow, AnErrorEscapingAHandlerIsReportedAndEndsTheProgram) {
    Load();
    EXPECT_THROW(window().Click(frmPellory::kCmdAbout), ProgramEnded);
    ASSERT_EQ(toolkit.boxes.size(), 1u);
    EXPECT_EQ(ToUtf8(toolkit.boxes[0].prompt), u8"53:ファイルが見つかりません。");
    EXPECT_EQ(toolkit.boxes[0].style, mb::Critical);
    EXPECT_EQ(toolkit.boxes[0].title, u"PelloryV2_0");
    EXPECT_TRUE(toolkit.ended);
    EXPECT_EQ(toolkit.trace.back(), "App.End");
}

}  // namespace
