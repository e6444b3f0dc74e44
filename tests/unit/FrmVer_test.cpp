#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/headless/headless_toolkit.h"
#include "platform/headless/recording_system.h"
#include "platform/headless/utf8.h"
#include "platform/platform.h"
#include "ui/FrmVer.h"
#include "ui/cmdAbout.h"

namespace {

using Calls = std::vector<std::string>;

class AboutWindow : public ::testing::Test {
protected:
    AboutWindow() {
        saved_ = gPlatform;
        gPlatform.toolkit = &toolkit;
        gPlatform.system = &system;
    }
    ~AboutWindow() override { gPlatform = saved_; }

    static HeadlessForm& Window(FrmVer& about) { return static_cast<HeadlessForm&>(about.form()); }
    static std::string CaptionOf(HeadlessForm& window, std::size_t control) {
        return ToUtf8(window.control(control).Caption());
    }
    // What the user sees of the window: its caption and every label's text.
    static std::vector<std::string> Texts(HeadlessForm& window) {
        std::vector<std::string> texts{ToUtf8(window.Caption())};
        for (std::size_t i = 0; i < FrmVer::kControlCount; ++i) texts.push_back(CaptionOf(window, i));
        return texts;
    }

    HeadlessToolkit toolkit;
    RecordingSystem system;

private:
    Platform saved_;
};

const std::vector<std::string> kShownTexts{u8"バージョン情報",
                                           "Pellory",
                                           "OK",
                                           "Pellory 2026",
                                           "Ver.2.0",
                                           "https://pellory.example/",
                                           "support@pellory.example",
                                           u8"Internet Explorer用ダウンロード終了監視ソフト"};

TEST_F(AboutWindow, AboutButtonLoadsFillsAndShowsModallyUntilOkUnloadsAndAReopenShowsTheSameTexts) {
    std::vector<std::vector<std::string>> seen;
    toolkit.modalHook = [&](HeadlessForm& window) {
        seen.push_back(Texts(window));  // shown, and activated by the Show alone
        EXPECT_TRUE(window.Click(FrmVer::kCmdOk));
        EXPECT_FALSE(window.Loaded());
    };
    for (int opening = 0; opening < 2; ++opening) {
        const std::size_t mark = toolkit.trace.size();
        cmdAbout_Click();
        EXPECT_EQ(toolkit.TraceSince(mark), (Calls{"FrmVer.Load", "lblURL.Caption=https://pellory.example/",
                                                   "lblMail.Caption=support@pellory.example", "FrmVer.Show(modal)",
                                                   "FrmVer.SetFocus", "FrmVer.Unload"}));
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], kShownTexts);
    EXPECT_EQ(seen[1], kShownTexts);
    EXPECT_TRUE(toolkit.boxes.empty());
    EXPECT_TRUE(system.Calls().empty());
}

TEST_F(AboutWindow, OnlyALeftReleaseOverALinkActsAndAnOpenWindowOfItsKindStopsIt) {
    const Calls homePage{"FindWindowA(\"IEFrame\", null)", "CreateObject(\"InternetExplorer.Application\")",
                         "InternetExplorer.Application.Visible=True",
                         "InternetExplorer.Application.Navigate(\"https://pellory.example/\")",
                         "InternetExplorer.Application.Release"};
    const struct {
        std::size_t control;
        std::int16_t button;
        WindowHandle found;
        bool mail;  // the expected calls are the mail ones, with this window as the owner
        Calls calls;
    } cases[] = {
        {FrmVer::kLblURL, 1, 0, false, homePage},
        {FrmVer::kLblURL, 1, 0x3044, false, {"FindWindowA(\"IEFrame\", null)"}},
        {FrmVer::kLblURL, 2, 0, false, {}},
        {FrmVer::kLblURL, 4, 0, false, {}},
        {FrmVer::kLblMail, 1, 0, true, {}},
        {FrmVer::kLblMail, 1, 0x3044, false, {"FindWindowA(\"ATH_Note\", null)"}},
        {FrmVer::kLblMail, 2, 0, false, {}},
        {FrmVer::kLblMail, 4, 0, false, {}},
        // Buttons released together add up; only the left one alone counts.
        {FrmVer::kLblMail, 3, 0, false, {}},
        {FrmVer::kLabel1, 1, 0, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(kFrmVerLayout.controls[c.control].name + std::string(" button ") + std::to_string(c.button));
        FrmVer about;
        system.ClearCalls();
        system.foundWindow = c.found;
        EXPECT_TRUE(Window(about).MouseUp(c.control, c.button));
        Calls expected = c.calls;
        if (c.mail)
            expected = {"FindWindowA(\"ATH_Note\", null)",
                        "ShellExecuteA(" + std::to_string(about.form().hWnd()) +
                            R"(, "open", "mailto:support@pellory.example", null, null, 1))"};
        EXPECT_EQ(system.Calls(), expected);
    }
    // A click, as opposed to a release, does nothing on any label.
    FrmVer about;
    system.ClearCalls();
    for (std::size_t i = 0; i < FrmVer::kControlCount; ++i) {
        if (i == FrmVer::kCmdOk) continue;
        EXPECT_TRUE(Window(about).Click(i));
    }
    EXPECT_TRUE(system.Calls().empty());
    EXPECT_TRUE(Window(about).Loaded());
    EXPECT_TRUE(toolkit.boxes.empty());
}

TEST_F(AboutWindow, LinksIgnoreEveryFailingStepAndGoOnWithTheNext) {
    const std::string find = "FindWindowA(\"IEFrame\", null)";
    const std::string create = "CreateObject(\"InternetExplorer.Application\")";
    const std::string visible = "InternetExplorer.Application.Visible=True";
    const std::string navigate = "InternetExplorer.Application.Navigate(\"https://pellory.example/\")";
    const std::string release = "InternetExplorer.Application.Release";
    const struct {
        const char* failing;
        std::int32_t error;
        Calls calls;
    } cases[] = {
        // No object: the steps that need it are skipped.
        {"CreateObject", err::CantCreateObject, {find, create}},
        {"Visible", err::Automation, {find, create, visible, navigate, release}},
        {"Navigate", err::NoSuchMember, {find, create, visible, navigate, release}},
        // A failed lookup finds nothing.
        {"FindWindowA", err::FileNotFound, {find, create, visible, navigate, release}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing);
        FrmVer about;
        system.ClearCalls();
        system.raises = {{c.failing, c.error}};
        EXPECT_TRUE(Window(about).MouseUp(FrmVer::kLblURL, 1));
        EXPECT_EQ(system.Calls(), c.calls);
    }
    for (const char* failing : {"FindWindowA", "ShellExecuteA"}) {
        SCOPED_TRACE(failing);
        FrmVer about;
        system.ClearCalls();
        system.raises = {{failing, err::FileNotFound}};
        EXPECT_TRUE(Window(about).MouseUp(FrmVer::kLblMail, 1));
        EXPECT_EQ(system.CallsTo("ShellExecuteA").size(), 1u);
    }
    // The shell's own failure code is not examined either.
    system.raises.clear();
    system.shellResult = 2;
    FrmVer about;
    EXPECT_TRUE(Window(about).MouseUp(FrmVer::kLblMail, 1));
    EXPECT_TRUE(toolkit.boxes.empty());
    EXPECT_FALSE(toolkit.ended);
    EXPECT_TRUE(Window(about).Loaded());
}

}  // namespace
