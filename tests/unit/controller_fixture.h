// The whole program on the headless platform: the controller with its main
// window, a scripted desktop rebuilt to any download status, a log in a
// temporary folder, and a millisecond clock that drives the local time, so
// that a time stamp tells when it was taken. One trace holds the window's
// changes, the clock's start and deadline, the log's openings, the system's
// sleep setting and the shutdown request, in the order they happened.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/controller.h"
#include "detect/window_list.h"
#include "log/log_file.h"
#include "log/log_writer.h"
#include "platform/codepage.h"
#include "platform/headless/headless_toolkit.h"
#include "platform/headless/recording_system.h"
#include "platform/headless/scripted_desktop.h"
#include "platform/headless/temp_file_system.h"
#include "platform/headless/utf8.h"
#include "platform/platform.h"
#include "ui/FrmVer.h"

constexpr const char16_t* kLogPath = u"C:\\Pellory\\DownloadLog.txt";
constexpr std::int32_t kYes = 6, kNo = 7;

class TracingSystem : public RecordingSystem {
public:
    explicit TracingSystem(HeadlessToolkit& toolkit) : toolkit_(toolkit) {}
    std::int32_t ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override {
        toolkit_.Record("System", "ExitWindowsEx(" + std::to_string(flags) + ")");
        return RecordingSystem::ExitWindowsEx(flags, reserved);
    }
    std::uint32_t SetThreadExecutionState(std::uint32_t flags) override {
        const std::uint32_t before = RecordingSystem::SetThreadExecutionState(flags);
        toolkit_.Record("System", Calls().back());
        return before;
    }

private:
    HeadlessToolkit& toolkit_;
};

class TracingFiles : public TempFileSystem {
public:
    explicit TracingFiles(HeadlessToolkit& toolkit) : toolkit_(toolkit) {}
    std::unique_ptr<File> Open(const Text& path, OpenMode mode) override {
        static const char* const kModes[] = {"Read", "Append", "Overwrite"};
        toolkit_.Record("Log", std::string("Open(") + kModes[int(mode)] + ")");
        return TempFileSystem::Open(path, mode);
    }

private:
    HeadlessToolkit& toolkit_;
};

// The program on the headless platform, wired into gPlatform for its life.
class Pellory {
public:
    Pellory() : saved_(gPlatform) {
        gPlatform.toolkit = &toolkit;
        gPlatform.system = &system;
        gPlatform.files = &files;
        SetDesktop(0, 0, false);
        bActivated = 0;
        bBlink = 0;
        StartClock(0);
    }
    ~Pellory() {
        gPlatform = saved_;
        gLogFileName.clear();
        gWinList.clear();
        gWinLast = -1;
        gChildList.clear();
        gChildLast = -1;
    }
    Pellory(const Pellory&) = delete;
    Pellory& operator=(const Pellory&) = delete;

    // A fresh desktop on which a scan finds these counts: each download a
    // progress caption, each failure an error box with its label.
    void SetDesktop(int active, int failed, bool copying) {
        desk = std::make_unique<ScriptedDesktop>();
        for (int i = 0; i < active; ++i) desk->AddTop(Text(u"45% 完了しました - file.zip"));
        for (int i = 0; i < failed; ++i) {
            const WindowHandle box = desk->AddTop(Text(u"Microsoft Internet Explorer"));
            desk->AddChild(box, Text(u"処理がタイムアウトになりました"));
        }
        if (copying) desk->AddTop(Text(u"コピーしています..."));
        desk->AddTop(Text(u"無題 - メモ帳"));
        gPlatform.desktop = desk.get();
    }

    // The millisecond clock starts at `start` and moves 7 ms per reading,
    // wrapping at 2^32; the local time is 2004/01/09 08:03:07 plus the
    // whole seconds elapsed on it. The first reading and the first one at
    // least 5000 ms later go into the trace.
    void StartClock(std::uint32_t start) {
        files.fixedNow = LocalTime{2004, 1, 9, 8, 3, 7};
        system.SetClock([this, start, now = start, deadlineSeen = false]() mutable {
            const std::uint32_t reading = now;
            const std::uint32_t elapsed = reading - start;
            if (elapsed == 0) toolkit.Record("Clock", "start");
            if (elapsed >= 5000 && !deadlineSeen) {
                deadlineSeen = true;
                toolkit.Record("Clock", "5000 ms");
            }
            files.fixedNow = LocalTime{2004, 1, 9, 8, 3, 7 + int(elapsed / 1000)};
            now += 7;
            return reading;
        });
    }

    // Form_Load, then the first activation, as the toolkit delivers them.
    void Start() {
        main.Form_Load();
        toolkit.DeliverPosted();
    }
    // Another form of ours, the About window, opened and closed; the system
    // then activates the main window again, which runs its Activate.
    void ActivateAgain() {
        toolkit.modalHook = [](HeadlessForm& about) { about.Click(FrmVer::kCmdOk); };
        Click(frmPellory::kCmdAbout);
        toolkit.modalHook = nullptr;
        window().Activate();
    }

    HeadlessForm& window() { return static_cast<HeadlessForm&>(main.form->form()); }
    frmPellory& form() { return *main.form; }
    std::string Caption() { return ToUtf8(window().Caption()); }
    bool Polling() { return form().tmrPellory().Enabled(); }
    // The presentation, checked to be wholly one or the other: true for watching.
    bool WatchingPresentation() {
        const bool watching = form().cmdCancel().Enabled();
        for (Control* c : {&form().fraLog(), &form().optLog(0), &form().optLog(1), &form().cmdStart()})
            EXPECT_EQ(c->Enabled(), !watching);
        EXPECT_EQ(form().tmrAnime().Enabled(), watching);
        return watching;
    }
    bool Tick() { return window().Tick(frmPellory::kTmrPellory); }
    bool Click(std::size_t control) { return window().Click(control); }

    std::string Log() const { return files.Exists(kLogPath) ? files.ReadBytes(kLogPath) : "(none)"; }
    void SeedLog(const std::vector<LogEvent>& events) {
        std::string bytes;
        for (LogEvent e : events) bytes += Format_LogLine({2003, 12, 31, 23, 59, 59}, e);
        files.WriteBytes(kLogPath, bytes);
    }
    // Answers every message box with `answer` from now on.
    void Answer(std::int32_t answer) {
        toolkit.responder = [answer](const MsgBoxCall&) { return answer; };
    }
    bool ShutdownRequested() const { return !system.CallsTo("ExitWindowsEx").empty(); }

    HeadlessToolkit toolkit;
    TracingSystem system{toolkit};
    TracingFiles files{toolkit};
    std::unique_ptr<ScriptedDesktop> desk;
    frmPelloryController main;

private:
    Platform saved_;
};

// A log line stamped 2004/01/09 08:03:SS.
inline std::string Line(LogEvent event, int second) { return Format_LogLine({2004, 1, 9, 8, 3, second}, event); }
