#include "ui/FrmVer.h"

#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/platform.h"
#include "ui/cmdAbout.h"

namespace {

constexpr std::uint32_t kNavy = Rgb(0, 0, 128);
constexpr std::uint32_t kBlue = Rgb(0, 0, 255);
constexpr FontSpec kTitleFont{u"ＭＳ ゴシック", 1800, true, false, Charset::ShiftJis};
constexpr FontSpec kButtonFont{u"Times New Roman", 1200, true, false, Charset::Ansi};
constexpr FontSpec kNoteFont{u"ＭＳ Ｐゴシック", 1125, true, false, Charset::ShiftJis};
constexpr FontSpec kLinkFont{u"ＭＳ Ｐゴシック", 900, false, true, Charset::ShiftJis};
constexpr FontSpec kDescriptionFont{u"ＭＳ ゴシック", 975, true, false, Charset::ShiftJis};

// Listed in tab order. Labels never take the focus, so CmdOk is the only
// control that does.
// One row a control (a field a column), kept as written.
// clang-format off
const ControlSpec kControls[] = {
    {"Label1", ControlKind::Label, u"Pellory", {120, 600, 4215, 375}, 0, -1, kNavy, kTitleFont, false},
    {"CmdOk", ControlKind::CommandButton, u"OK", {4080, 2160, 1215, 495}, 1, -1, kDefaultColor, kButtonFont, false},
    {"Label2", ControlKind::Label, u"Pellory 2026", {3120, 1080, 2055, 255}, 2, -1, kDefaultColor, kNoteFont, false},
    {"Label3", ControlKind::Label, u"Ver.2.0", {4440, 720, 975, 255}, 3, -1, kDefaultColor, kNoteFont, false},
    {"lblURL", ControlKind::Label, u"lblURL", {360, 1680, 4095, 255}, 4, -1, kBlue, kLinkFont, false},
    {"lblMail", ControlKind::Label, u"lblMail", {360, 2040, 2055, 255}, 5, -1, kBlue, kDefaultFont, false},
    {"Label5", ControlKind::Label, u"Internet Explorer用ダウンロード終了監視ソフト", {120, 120, 5295, 255}, 6, -1, kNavy,
     kDescriptionFont, false},
};
// clang-format on
static_assert(sizeof kControls / sizeof kControls[0] == FrmVer::kControlCount, "one spec per control index");

constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

}  // namespace

// clang-format off
const FormSpec kFrmVerLayout{
    "FrmVer", u"バージョン情報", BorderStyle::FixedDialog, false, false, false, 5520, 2775,
    kControls, FrmVer::kControlCount, nullptr, 0,
};
// clang-format on

FrmVer::FrmVer() : form_(gPlatform.toolkit->LoadForm(kFrmVerLayout, *this)) { Form_Load(); }

void FrmVer::Form_Load() {
    lblURL().SetCaption(kHomePageURL);
    lblMail().SetCaption(kMailAddress);
}

void FrmVer::Form_Activate() { form_->SetFocus(); }

void FrmVer::CmdOk_Click() {
    IgnoreErrors([this] { form_->Unload(); });
}

void FrmVer::lblURL_MouseUp(std::int16_t Button) {
    if (Button == 1) Open_HomePage();
}

void FrmVer::lblMail_MouseUp(std::int16_t Button) {
    if (Button == 1) Open_MailTo();
}

void FrmVer::Click(std::size_t control) {
    if (control == kCmdOk) CmdOk_Click();
}

void FrmVer::MouseUp(std::size_t control, std::int16_t button) {
    if (control == kLblURL) lblURL_MouseUp(button);
    if (control == kLblMail) lblMail_MouseUp(button);
}

// Any Internet Explorer window already open, whatever it shows, makes the
// link open nothing; otherwise a new visible one goes to the home page.
void FrmVer::Open_HomePage() {
    System& system = *gPlatform.system;
    WindowHandle browser = 0;
    IgnoreErrors([&] { browser = system.FindWindowA("IEFrame", nullptr); });
    if (browser != 0) return;
    std::unique_ptr<AutomationObject> ie;
    IgnoreErrors([&] { ie = system.CreateObject(u"InternetExplorer.Application"); });
    if (!ie) return;  // the steps that need the object are skipped
    IgnoreErrors([&] { ie->SetProperty(u"Visible", true); });
    IgnoreErrors([&] { ie->CallMethod(u"Navigate", kHomePageURL); });
}

// Nothing while a mail compose window is open; otherwise the shell opens a
// new message to the address, owned by this window.
void FrmVer::Open_MailTo() {
    System& system = *gPlatform.system;
    WindowHandle compose = 0;
    IgnoreErrors([&] { compose = system.FindWindowA("ATH_Note", nullptr); });
    if (compose != 0) return;
    IgnoreErrors([&] {
        const std::string document = TextToAnsi(Text(u"mailto:") + kMailAddress);
        system.ShellExecuteA(form_->hWnd(), "open", document.c_str(), nullptr, nullptr, kShowNormal);
    });
}

void cmdAbout_Click() {
    FrmVer about;
    about.form().Show(true);
}
