#include "ui/frmPellory.h"

#include "platform/error.h"
#include "platform/platform.h"

std::int32_t gFormWidth = 0;
std::int32_t gFormHeight = 0;
std::int16_t bBlink = 0;

namespace {

// Listed in tab order; the options sit in fraLog (index 4), relative to it.
// One row a control (a field a column), kept as written.
// clang-format off
const ControlSpec kControls[] = {
    {"optLog(0)", ControlKind::OptionButton, u"前回のログに追加", {120, 240, 1935, 255}, 0, 4, kDefaultColor, kDefaultFont, true},
    {"optLog(1)", ControlKind::OptionButton, u"上書き出力", {2160, 240, 1935, 255}, 1, 4, kDefaultColor, kDefaultFont, false},
    {"cmdStart", ControlKind::CommandButton, u"見張り開始", {2520, 3360, 1215, 375}, 2, -1, kDefaultColor, kDefaultFont, false},
    {"cmdCancel", ControlKind::CommandButton, u"キャンセル", {3720, 3360, 1215, 375}, 3, -1, kDefaultColor, kDefaultFont, false},
    {"fraLog", ControlKind::Frame, u"ログファイル出力", {120, 120, 4815, 615}, 4, -1, kDefaultColor, kDefaultFont, false},
    {"cmdHelp", ControlKind::CommandButton, u"?", {4440, 840, 255, 255}, 5, -1, kDefaultColor, kDefaultFont, false},
    {"cmdAbout", ControlKind::CommandButton, u"...", {4680, 840, 255, 255}, 6, -1, kDefaultColor, kDefaultFont, false},
    {"txtLog", ControlKind::TextBox, u"", {120, 1080, 4815, 2175}, 7, -1, kDefaultColor, kDefaultFont, false},
    {"Label1", ControlKind::Label, u"ログファイル履歴", {120, 840, 1455, 255}, 8, -1, kDefaultColor, kDefaultFont, false},
};
// clang-format on
static_assert(sizeof kControls / sizeof kControls[0] == frmPellory::kControlCount, "one spec per control index");

const TimerSpec kTimers[] = {
    {"tmrAnime", 1000},
    {"tmrPellory", 5000},
};
static_assert(sizeof kTimers / sizeof kTimers[0] == frmPellory::kTimerCount, "one spec per timer index");

}  // namespace

// clang-format off
const FormSpec kFrmPelloryLayout{
    "frmPellory", kCaptionIdle, BorderStyle::Sizable, true, false, true, 5040, 3855,
    kControls, frmPellory::kControlCount, kTimers, frmPellory::kTimerCount,
};
// clang-format on

frmPellory::frmPellory(FormEvents& events) : form_(gPlatform.toolkit->LoadForm(kFrmPelloryLayout, events)) {}

void frmPellory::Set_WatchOn() { Set_Watch(kCaptionWatching, true); }

void frmPellory::Set_WatchOff() { Set_Watch(kCaptionIdle, false); }

// Both presentations are the same seven steps with opposite values.
void frmPellory::Set_Watch(const char16_t* caption, bool watching) {
    form_->SetCaption(caption);
    fraLog().SetEnabled(!watching);
    optLog(0).SetEnabled(!watching);
    optLog(1).SetEnabled(!watching);
    cmdStart().SetEnabled(!watching);
    cmdCancel().SetEnabled(watching);
    form_->Refresh();
    cmdStart().Refresh();
    cmdCancel().Refresh();
    tmrAnime().SetEnabled(watching);
}

void frmPellory::tmrAnime_Timer() {
    form_->SetCaption(bBlink != 0 ? kCaptionWatching : kCaptionWatchingBlink);
    bBlink = std::int16_t(~bBlink);
}

void frmPellory::Form_Resize() {
    if (form_->GetWindowState() != Normal) return;
    form_->SetWidth(gFormWidth);
    form_->SetHeight(gFormHeight);
}

// A missing viewer or help file shows nothing.
void frmPellory::cmdHelp_Click() {
    IgnoreErrors([] { gPlatform.toolkit->Shell(u"hh.exe PelloryV2_0.chm", 1); });
}

void frmPelloryEvents::Resize() { form->Form_Resize(); }

void frmPelloryEvents::Click(std::size_t control) {
    if (control == frmPellory::kCmdHelp) form->cmdHelp_Click();
}

void frmPelloryEvents::Tick(std::size_t timer) {
    if (timer == frmPellory::kTmrAnime) form->tmrAnime_Timer();
}
