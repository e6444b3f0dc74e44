#include <gtest/gtest.h>

#include <algorithm>

#include "platform/error.h"
#include "tests/unit/controller_fixture.h"

namespace {

const std::string kShutdownCaption = u8"シャットダウンします...";
const std::string kIdleCaption = u8"未監視 - Pellory";
const std::string kWatchingCaption = u8"●監視中 - Pellory";

// Started with `active` downloads and no log; the trace cleared afterwards.
void StartWatching(Pellory& app, int active = 1) {
    app.SetDesktop(active, 0, false);
    app.Start();
    ASSERT_TRUE(app.Polling());
    app.toolkit.trace.clear();
}

// Three ticks of each timer; how many of them were dropped.
int DroppedTicks(Pellory& app) {
    int dropped = 0;
    for (int tick = 0; tick < 3; ++tick) {
        if (!app.Tick()) ++dropped;
        if (!app.window().Tick(frmPellory::kTmrAnime)) ++dropped;
    }
    return dropped;
}

TEST(Watch, TicksEndTheWatchByTheCounts) {
    enum Outcome { GoesOn, Abnormal, Normal };
    const struct {
        int active, failed;
        bool copying;
        Outcome outcome;
    } cases[] = {
        {0, 0, true, GoesOn},  // a copy holds everything off, even with nothing active
        {1, 1, true, GoesOn},    {3, 1, false, GoesOn},   {2, 1, false, GoesOn}, {2, 2, false, Abnormal},
        {2, 3, false, Abnormal}, {1, 1, false, Abnormal}, {0, 1, false, Normal}, {0, 0, false, Normal},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.active) + " active, " + std::to_string(c.failed) + " failed" +
                     (c.copying ? ", copying" : ""));
        Pellory app;
        StartWatching(app);
        const std::string before = app.Log();
        app.SetDesktop(c.active, c.failed, c.copying);
        if (c.outcome == GoesOn) {
            EXPECT_TRUE(app.Tick());
            EXPECT_TRUE(app.Polling());
            EXPECT_TRUE(app.WatchingPresentation());
            EXPECT_EQ(app.Log(), before);
            EXPECT_FALSE(app.ShutdownRequested());
            EXPECT_FALSE(app.toolkit.ended);
            // The caption's blink reaches the window through the controller too.
            EXPECT_TRUE(app.window().Tick(frmPellory::kTmrAnime));
            EXPECT_EQ(app.Caption(), u8"○監視中 - Pellory");
        } else {
            EXPECT_THROW(app.Tick(), ProgramEnded);
            // Stamped after the 5 s wait: 08:03:12 for a decision at 08:03:07.
            const LogEvent end = c.outcome == Abnormal ? LogEvent::AbnormalEnd : LogEvent::NormalEnd;
            EXPECT_EQ(app.Log(), before + Line(end, 12));
            EXPECT_EQ(app.system.CallsTo("ExitWindowsEx"), std::vector<std::string>{"ExitWindowsEx(5, 0)"});
            EXPECT_EQ(app.Caption(), kShutdownCaption);
        }
        EXPECT_TRUE(app.toolkit.boxes.empty());
    }
}

// A poll that could not read the desktop has no downloads to count: ending
// the watch on it would shut down while they run. The next poll decides.
TEST(Watch, APollThatCouldNotReadTheDesktopDecidesNothing) {
    Pellory app;
    StartWatching(app);
    const std::string before = app.Log();
    app.SetDesktop(0, 0, false);
    for (bool* fault : {&app.desk->enumWindowsFails, &app.desk->textReadsFail}) {
        *fault = true;
        EXPECT_TRUE(app.Tick());
        EXPECT_TRUE(app.Polling());
        EXPECT_EQ(app.Log(), before);
        EXPECT_FALSE(app.ShutdownRequested());
        EXPECT_TRUE(app.toolkit.boxes.empty());
        *fault = false;
    }
    EXPECT_THROW(app.Tick(), ProgramEnded);
    EXPECT_EQ(app.Log(), before + Line(LogEvent::NormalEnd, 12));
}

TEST(Watch, TheEndSequenceRunsItsTenStepsInOrder) {
    Pellory app;
    StartWatching(app);
    app.window().UserSetWindowState(Minimized);
    app.toolkit.trace.clear();
    app.SetDesktop(0, 0, false);
    EXPECT_THROW(app.Tick(), ProgramEnded);
    const std::vector<std::string> steps = {
        // 1. Set_WatchOff
        u8"frmPellory.Caption=未監視 - Pellory",
        "fraLog.Enabled=True",
        "optLog(0).Enabled=True",
        "optLog(1).Enabled=True",
        "cmdStart.Enabled=True",
        "cmdCancel.Enabled=False",
        "frmPellory.Refresh",
        "cmdStart.Refresh",
        "cmdCancel.Refresh",
        "tmrAnime.Enabled=False",
        // 2. the poll stops
        "tmrPellory.Enabled=False",
        // 3., 4. the shutdown caption, painted at once
        u8"frmPellory.Caption=シャットダウンします...",
        "frmPellory.Refresh",
        // 5. restored from the minimised state (Form_Resize keeps its size), 6. focus
        "frmPellory.WindowState=0",
        "frmPellory.Width=5280",
        "frmPellory.Height=4545",
        "frmPellory.SetFocus",
        // 7. the wait
        "Clock.start",
        "Clock.5000 ms",
        // 8. the end line, 9. the shutdown, 10. the end
        "Log.Open(Append)",
        "System.ExitWindowsEx(5)",
        "App.End",
    };
    EXPECT_EQ(app.toolkit.trace, steps);
    EXPECT_EQ(app.window().GetWindowState(), Normal);
}

// The wait before the shutdown ends after 5 s however long the system has
// been up: past 24.8 days (the signed limit), across the wrap at 49.7 days.
TEST(Watch, TheWatchEndsInAShutdownAtEveryUptime) {
    for (std::uint32_t uptime : {0u, 2147478647u, 2147478648u, 2147483647u, 4294967000u, 4294967295u}) {
        SCOPED_TRACE(uptime);
        Pellory app;
        StartWatching(app);
        app.StartClock(uptime);
        app.SetDesktop(0, 0, false);
        EXPECT_THROW(app.Tick(), ProgramEnded);
        EXPECT_TRUE(app.toolkit.boxes.empty());
        EXPECT_EQ(app.Log(), Line(LogEvent::Start, 7) + Line(LogEvent::NormalEnd, 12));
        EXPECT_TRUE(app.ShutdownRequested());
    }
}

TEST(Watch, StartingWithAndWithoutDownloadsInBothLogModes) {
    const std::string seeded = Format_LogLine({2003, 12, 31, 23, 59, 59}, LogEvent::Cancel);
    const struct {
        int active;
        bool overwrite;
        bool watches;
    } cases[] = {{1, false, true}, {1, true, true}, {0, false, false}, {0, true, false}, {3, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.active) + (c.overwrite ? " overwrite" : " append"));
        Pellory app;
        app.SeedLog({LogEvent::Cancel});
        app.Start();  // nothing active yet: idle, no box
        ASSERT_TRUE(app.toolkit.boxes.empty());
        if (c.overwrite) {
            EXPECT_TRUE(app.Click(frmPellory::kOptLog1));
        }
        app.SetDesktop(c.active, 0, false);
        app.toolkit.trace.clear();
        EXPECT_TRUE(app.Click(frmPellory::kCmdStart));
        EXPECT_EQ(app.Polling(), c.watches);
        EXPECT_EQ(app.WatchingPresentation(), c.watches);
        if (c.watches) {
            EXPECT_TRUE(app.toolkit.boxes.empty());
            EXPECT_EQ(app.Caption(), kWatchingCaption);
            const std::string log = (c.overwrite ? "" : seeded) + Line(LogEvent::Start, 7);
            EXPECT_EQ(app.Log(), log);
            EXPECT_EQ(app.form().txtLog().Caption(), AnsiToText(log));  // the view reloaded
            // Presentation, line, reload, then the poll.
            const auto& t = app.toolkit.trace;
            EXPECT_EQ(t.front(), u8"frmPellory.Caption=●監視中 - Pellory");
            EXPECT_EQ(t.back(), "tmrPellory.Enabled=True");
            EXPECT_EQ(std::count(t.begin(), t.end(), c.overwrite ? "Log.Open(Overwrite)" : "Log.Open(Append)"), 1);
        } else {
            ASSERT_EQ(app.toolkit.boxes.size(), 1u);
            const MsgBoxCall& box = app.toolkit.boxes[0];
            EXPECT_EQ(ToUtf8(box.prompt),
                      u8"現在ダウンロードされているファイルがありません\r\n"
                      u8"Internet Explorerでダウンロード開始してから見張り開始ボタンを押してください");
            EXPECT_EQ(ToUtf8(box.title), u8"ダウンロード開始してからボタンを押してください");
            EXPECT_EQ(box.style, 16);
            EXPECT_EQ(app.Log(), seeded);
            EXPECT_EQ(app.Caption(), kIdleCaption);
            EXPECT_EQ(app.toolkit.trace,
                      std::vector<std::string>{u8"MsgBox.ダウンロード開始してからボタンを押してください"});
        }
    }
}

TEST(Watch, NoDownloadBoxNamesTheStartButtonByItsCaption) {
    Pellory app;
    app.Start();
    app.form().cmdStart().SetCaption(u"開始");
    app.Click(frmPellory::kCmdStart);
    ASSERT_EQ(app.toolkit.boxes.size(), 1u);
    EXPECT_EQ(ToUtf8(app.toolkit.boxes[0].prompt),
              u8"現在ダウンロードされているファイルがありません\r\nInternet "
              u8"Explorerでダウンロード開始してから開始ボタンを押してください");
}

TEST(Watch, FailedCountAtStartStillStartsAndTheFirstTickEndsAbnormally) {
    Pellory app;
    app.SetDesktop(1, 1, false);
    app.Start();
    EXPECT_TRUE(app.Polling());
    EXPECT_THROW(app.Tick(), ProgramEnded);
    EXPECT_EQ(app.Log(), Line(LogEvent::Start, 7) + Line(LogEvent::AbnormalEnd, 12));
}

TEST(Watch, CancelAskedAndAnswered) {
    const struct {
        std::int32_t answer;
        bool cancels;
    } cases[] = {{kNo, false}, {kYes, true}, {1, true}, {2, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        Pellory app;
        StartWatching(app);
        app.Click(frmPellory::kOptLog1);  // refused while watching: the option stays
        app.Answer(c.answer);
        EXPECT_TRUE(app.Click(frmPellory::kCmdCancel));
        ASSERT_EQ(app.toolkit.boxes.size(), 1u);
        EXPECT_EQ(ToUtf8(app.toolkit.boxes[0].prompt), u8"ダウンロード監視をキャンセルしますか");
        EXPECT_EQ(ToUtf8(app.toolkit.boxes[0].title), u8"ダウンロード監視のキャンセル確認");
        EXPECT_EQ(app.toolkit.boxes[0].style, 292);
        EXPECT_EQ(app.Polling(), !c.cancels);
        EXPECT_EQ(app.WatchingPresentation(), !c.cancels);
        const std::string log = Line(LogEvent::Start, 7) + (c.cancels ? Line(LogEvent::Cancel, 7) : "");
        EXPECT_EQ(app.Log(), log);
        EXPECT_EQ(app.form().txtLog().Caption(), AnsiToText(log));
        EXPECT_TRUE(app.form().optLog(0).Value());
        EXPECT_FALSE(app.ShutdownRequested());
        EXPECT_FALSE(app.toolkit.ended);
    }
}

TEST(Watch, CancelAppendsEvenInOverwriteModeAndANewWatchMayStart) {
    Pellory app;
    app.SeedLog({LogEvent::NormalEnd});
    app.Start();
    app.Click(frmPellory::kOptLog1);
    app.SetDesktop(1, 0, false);
    app.Click(frmPellory::kCmdStart);
    app.Answer(kYes);
    app.Click(frmPellory::kCmdCancel);
    EXPECT_EQ(app.Log(), Line(LogEvent::Start, 7) + Line(LogEvent::Cancel, 7));
    EXPECT_TRUE(app.form().optLog(1).Value());
    EXPECT_TRUE(app.Click(frmPellory::kCmdStart));
    EXPECT_TRUE(app.Polling());
    EXPECT_EQ(app.Log(), Line(LogEvent::Start, 7));
}

TEST(Watch, ClosingTheWindow) {
    // Idle: no question, no line, the poll stays off, the program ends.
    {
        Pellory app;
        app.SeedLog({LogEvent::Cancel});
        const std::string before = app.Log();
        app.Start();
        app.toolkit.trace.clear();
        EXPECT_THROW(app.window().Close(), ProgramEnded);
        EXPECT_TRUE(app.toolkit.boxes.empty());
        EXPECT_EQ(app.Log(), before);
        EXPECT_EQ(app.toolkit.trace, (std::vector<std::string>{"tmrPellory.Enabled=False", "App.End"}));
    }
    // Idle under a box of ours (the previous-run warning): the close ends
    // the program at once all the same, with no question and no line.
    {
        Pellory app;
        app.SeedLog({LogEvent::Start});
        const std::string before = app.Log();
        app.toolkit.responder = [&](const MsgBoxCall&) {
            app.window().Close();
            return 1;
        };
        EXPECT_THROW(app.Start(), ProgramEnded);
        ASSERT_EQ(app.toolkit.boxes.size(), 1u);
        EXPECT_EQ(ToUtf8(app.toolkit.boxes[0].title), u8"前回の終了記録がありません");
        EXPECT_EQ(app.Log(), before);
    }
    // Watching under the cancel question: refused without a second question;
    // the question's own answer decides, and the window can be closed after.
    {
        Pellory app;
        StartWatching(app);
        app.toolkit.responder = [&](const MsgBoxCall&) {
            app.window().Close();
            EXPECT_TRUE(app.window().Loaded());
            return kNo;
        };
        app.Click(frmPellory::kCmdCancel);
        ASSERT_EQ(app.toolkit.boxes.size(), 1u);
        EXPECT_TRUE(app.Polling());
        EXPECT_EQ(app.Log(), Line(LogEvent::Start, 7));
        app.Answer(kYes);
        EXPECT_THROW(app.window().Close(), ProgramEnded);
        EXPECT_EQ(ToUtf8(app.toolkit.boxes.back().title), u8"終了確認");
    }
    // Watching: No keeps the window and the watch; Yes logs the cancel and
    // ends without Set_WatchOff, Read_Log or a shutdown.
    for (std::int32_t answer : {kNo, kYes}) {
        SCOPED_TRACE(answer);
        Pellory app;
        StartWatching(app);
        const Text view = app.form().txtLog().Caption();
        app.Answer(answer);
        if (answer == kNo) {
            app.window().Close();
            EXPECT_TRUE(app.window().Loaded());
            EXPECT_TRUE(app.Polling());
            EXPECT_EQ(app.Log(), Line(LogEvent::Start, 7));
            EXPECT_TRUE(app.toolkit.trace.size() == 1) << "only the box";
            EXPECT_TRUE(app.Tick());  // the watch goes on
        } else {
            EXPECT_THROW(app.window().Close(), ProgramEnded);
            EXPECT_EQ(app.Log(), Line(LogEvent::Start, 7) + Line(LogEvent::Cancel, 7));
            EXPECT_EQ(app.toolkit.trace, (std::vector<std::string>{u8"MsgBox.終了確認", "tmrPellory.Enabled=False",
                                                                   "Log.Open(Append)", "App.End"}));
            EXPECT_EQ(app.Caption(), kWatchingCaption);
            EXPECT_EQ(app.form().txtLog().Caption(), view);
        }
        ASSERT_EQ(app.toolkit.boxes.size(), 1u);
        EXPECT_EQ(ToUtf8(app.toolkit.boxes[0].prompt), u8"ダウンロード監視をキャンセルして終了しますか");
        EXPECT_EQ(ToUtf8(app.toolkit.boxes[0].title), u8"終了確認");
        EXPECT_EQ(app.toolkit.boxes[0].style, 292);
        EXPECT_FALSE(app.ShutdownRequested());
        if (answer == kNo) {
            // What the toolkit reads back from the handler is VB's True.
            std::int16_t cancel = 0;
            static_cast<FormEvents&>(app.main).Unload(cancel);
            EXPECT_EQ(cancel, -1);
        }
    }
}

// The system may not sleep on its own while a watch runs: asked when the
// poll starts, given back when the watch ends without a shutdown (a cancel,
// or an end sequence stopped by an error, before its box, which may stay
// open all night), and held up to the shutdown request otherwise.
TEST(Watch, TheSystemStaysAwakeWhileAWatchRuns) {
    const std::string awake = "System.SetThreadExecutionState(0x80000001)";
    const std::string asleep = "System.SetThreadExecutionState(0x80000000)";
    // The trace's entries of the poll, the sleep setting, the boxes and the shutdown.
    const auto steps = [](Pellory& app) {
        std::vector<std::string> kept;
        for (const std::string& entry : app.toolkit.trace)
            if (entry.rfind("tmrPellory.", 0) == 0 || entry.rfind("System.", 0) == 0 || entry.rfind("MsgBox.", 0) == 0)
                kept.push_back(entry);
        return kept;
    };
    using Steps = std::vector<std::string>;
    {
        Pellory app;
        app.SetDesktop(1, 0, false);
        app.Start();
        EXPECT_EQ(steps(app), (Steps{awake, "tmrPellory.Enabled=True"}));
        app.toolkit.trace.clear();
        app.Answer(kNo);
        app.Click(frmPellory::kCmdCancel);
        EXPECT_EQ(steps(app), (Steps{u8"MsgBox.ダウンロード監視のキャンセル確認"}));
        app.toolkit.trace.clear();
        app.Answer(kYes);
        app.Click(frmPellory::kCmdCancel);
        EXPECT_EQ(steps(app), (Steps{u8"MsgBox.ダウンロード監視のキャンセル確認", "tmrPellory.Enabled=False", asleep}));
        EXPECT_EQ(app.system.executionState, 0x80000000u);
    }
    {
        Pellory app;
        StartWatching(app);
        app.SetDesktop(0, 0, false);
        EXPECT_THROW(app.Tick(), ProgramEnded);
        EXPECT_EQ(steps(app), (Steps{"tmrPellory.Enabled=False", "System.ExitWindowsEx(5)"}));
        EXPECT_EQ(app.system.executionState, 0x80000001u);
    }
    {
        Pellory app;
        StartWatching(app);
        app.SetDesktop(0, 0, false);
        app.files.faults.writeError = err::DiskFull;
        app.Tick();
        EXPECT_EQ(steps(app), (Steps{"tmrPellory.Enabled=False", asleep, "MsgBox.tmrPellory_Timer"}));
    }
    // A start that finds no download, or fails before its poll, asks nothing.
    for (const bool logFails : {false, true}) {
        Pellory app;
        app.Start();
        app.SetDesktop(logFails ? 1 : 0, 0, false);
        app.files.faults.openError = logFails ? err::PermissionDenied : 0;
        app.Click(frmPellory::kCmdStart);
        EXPECT_TRUE(app.system.CallsTo("SetThreadExecutionState").empty());
    }
}

// The downloads end while a question is open. The box's loop would run the
// ticks inside the handler that asked; they are dropped instead, blink and
// poll alike, so nothing ends the watch before the answer is read. After No
// the next tick ends it; after Yes no poll is left.
TEST(Watch, TicksAreDroppedWhileAQuestionIsOpen) {
    for (bool close : {false, true}) {
        for (std::int32_t answer : {kNo, kYes}) {
            SCOPED_TRACE(std::string(close ? "close" : "cancel") + (answer == kNo ? ", No" : ", Yes"));
            Pellory app;
            StartWatching(app);
            int dropped = 0;
            app.toolkit.responder = [&](const MsgBoxCall&) {
                app.SetDesktop(0, 0, false);
                try {
                    dropped = DroppedTicks(app);
                } catch (const ProgramEnded&) {
                    ADD_FAILURE() << "a tick ended the watch under the open question";
                }
                EXPECT_TRUE(app.Polling());  // the timers stay on
                EXPECT_TRUE(app.form().tmrAnime().Enabled());
                return answer;
            };
            const std::string blink = app.Caption();
            if (close && answer == kYes) {
                EXPECT_THROW(app.window().Close(), ProgramEnded);
            } else if (close) {
                app.window().Close();
            } else {
                app.Click(frmPellory::kCmdCancel);
            }
            EXPECT_EQ(dropped, 6);
            EXPECT_EQ(app.toolkit.boxes.size(), 1u);
            EXPECT_FALSE(app.ShutdownRequested());
            if (answer == kNo) {
                EXPECT_EQ(app.Caption(), blink);
                EXPECT_EQ(app.Log(), Line(LogEvent::Start, 7));
                app.toolkit.responder = nullptr;
                EXPECT_THROW(app.Tick(), ProgramEnded);  // the next tick, as usual
                EXPECT_EQ(app.Log(), Line(LogEvent::Start, 7) + Line(LogEvent::NormalEnd, 12));
                EXPECT_TRUE(app.ShutdownRequested());
            } else {
                EXPECT_EQ(app.Log(), Line(LogEvent::Start, 7) + Line(LogEvent::Cancel, 7));
                EXPECT_FALSE(app.Polling());
                if (!close) {
                    EXPECT_FALSE(app.Tick());
                    EXPECT_EQ(app.Caption(), kIdleCaption);
                    EXPECT_FALSE(app.toolkit.ended);
                }
                EXPECT_FALSE(app.ShutdownRequested());
            }
        }
    }
}

// A modal window that is no message box holds nothing: the watch ends, and
// shuts down, while the About window is open.
TEST(Watch, TheAboutWindowDoesNotHoldTheTicks) {
    Pellory app;
    StartWatching(app);
    app.toolkit.modalHook = [&](HeadlessForm&) {
        EXPECT_TRUE(app.window().Tick(frmPellory::kTmrAnime));
        app.SetDesktop(0, 0, false);
        app.Tick();
    };
    EXPECT_THROW(app.Click(frmPellory::kCmdAbout), ProgramEnded);
    EXPECT_EQ(app.Log(), Line(LogEvent::Start, 7) + Line(LogEvent::NormalEnd, 12));
    EXPECT_TRUE(app.ShutdownRequested());
}

TEST(Watch, ErrorsEndTheHandlerWithItsBox) {
    // The log cannot be opened after Set_WatchOn: watching, but no poll;
    // cancel leads back to idle.
    {
        Pellory app;
        app.Start();
        app.SetDesktop(1, 0, false);
        app.files.faults.openError = err::PermissionDenied;
        app.Click(frmPellory::kCmdStart);
        ASSERT_EQ(app.toolkit.boxes.size(), 1u);
        EXPECT_EQ(ToUtf8(app.toolkit.boxes[0].prompt), u8"70:書き込みできません。");
        EXPECT_EQ(ToUtf8(app.toolkit.boxes[0].title), "cmdStart_Click");
        EXPECT_EQ(app.toolkit.boxes[0].style, 16);
        EXPECT_TRUE(app.WatchingPresentation());
        EXPECT_FALSE(app.Polling());
        EXPECT_FALSE(app.Tick());
        app.files.faults.openError = 0;
        app.Answer(kYes);
        app.Click(frmPellory::kCmdCancel);
        EXPECT_FALSE(app.WatchingPresentation());
        EXPECT_EQ(app.Log(), Line(LogEvent::Cancel, 7));
    }
    // A scan that fails ends the tick with its box; the poll goes on. Ticks
    // due while the box stays open are dropped: one box, however long it
    // stays, and the next tick after it scans again.
    {
        Pellory app;
        StartWatching(app);
        app.desk->onEnumChildWindows = [](WindowHandle) { throw RuntimeError(err::OutOfMemory); };
        app.desk->AddTop(Text(u"Microsoft Internet Explorer"));
        int dropped = 0;
        app.toolkit.responder = [&](const MsgBoxCall&) {
            if (app.toolkit.boxes.size() == 1)  // the user leaves the first box open
                for (int tick = 0; tick < 100; ++tick)
                    if (!app.Tick()) ++dropped;
            return 1;
        };
        EXPECT_TRUE(app.Tick());
        EXPECT_EQ(dropped, 100);
        ASSERT_EQ(app.toolkit.boxes.size(), 1u);
        EXPECT_EQ(ToUtf8(app.toolkit.boxes[0].prompt), u8"7:メモリが不足しています。");
        EXPECT_EQ(ToUtf8(app.toolkit.boxes[0].title), "tmrPellory_Timer");
        EXPECT_TRUE(app.Polling());
        EXPECT_TRUE(app.WatchingPresentation());
        app.toolkit.responder = nullptr;
        EXPECT_TRUE(app.Tick());  // the next tick scans again: still failing
        EXPECT_EQ(app.toolkit.boxes.size(), 2u);
        app.SetDesktop(0, 0, false);
        EXPECT_THROW(app.Tick(), ProgramEnded);
    }
    // The end line cannot be written, or the wait's clock cannot be found
    // (its DLL is loaded at the first reading): no shutdown, no end; idle
    // under the shutdown caption with the poll off.
    for (const bool clockFails : {false, true}) {
        Pellory app;
        StartWatching(app);
        app.SetDesktop(0, 0, false);
        if (clockFails)
            app.system.SetClock([]() -> std::uint32_t { throw RuntimeError(err::DllLoad); });
        else
            app.files.faults.writeError = err::DiskFull;
        app.Tick();
        ASSERT_EQ(app.toolkit.boxes.size(), 1u);
        EXPECT_EQ(ToUtf8(app.toolkit.boxes[0].prompt),
                  clockFails ? u8"48:DLL 読み込み時のエラーです。" : u8"61:ディスクの空き容量が不足しています。");
        EXPECT_EQ(ToUtf8(app.toolkit.boxes[0].title), "tmrPellory_Timer");
        EXPECT_EQ(app.Caption(), kShutdownCaption);
        EXPECT_FALSE(app.Polling());
        EXPECT_FALSE(app.WatchingPresentation());
        EXPECT_EQ(app.Log(), Line(LogEvent::Start, 7));
        EXPECT_FALSE(app.ShutdownRequested());
        EXPECT_FALSE(app.toolkit.ended);
    }
    // Errors of cancel and close are not caught: reported, and the program ends.
    for (bool close : {false, true}) {
        Pellory app;
        StartWatching(app);
        app.files.faults.openError = err::PermissionDenied;
        app.Answer(kYes);
        EXPECT_THROW(close ? app.window().Close() : void(app.Click(frmPellory::kCmdCancel)), ProgramEnded);
        ASSERT_EQ(app.toolkit.boxes.size(), 2u);
        EXPECT_EQ(ToUtf8(app.toolkit.boxes[1].prompt), u8"70:書き込みできません。");
        EXPECT_EQ(ToUtf8(app.toolkit.boxes[1].title), "PelloryV2_0");
        EXPECT_FALSE(app.ShutdownRequested());
    }
}

}  // namespace
