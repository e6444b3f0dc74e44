#include <cmath>

#include "app/controller.h"
#include "detect/download_status.h"
#include "log/log_file.h"
#include "log/read_log.h"
#include "platform/platform.h"

std::int16_t bActivated = 0;

namespace {

constexpr const char16_t* kWarning =
    u"前回正常にシャットダウンされていません\r\n再度ダウンロード実行する事をおすすめします";
constexpr const char16_t* kTitleAbnormal = u"前回異常終了しています";
constexpr const char16_t* kTitleNoEnd = u"前回の終了記録がありません";

}  // namespace

void frmPelloryController::Form_Load() {
    Toolkit& toolkit = *gPlatform.toolkit;
    const bool loaded = WithErrorBox(toolkit, u"Form_Load", [&] {
        // A second instance ends before it makes any window.
        if (toolkit.PrevInstance()) toolkit.End();
        window_ = std::make_unique<frmPellory>(*this);
        form = window_.get();
        form->Set_WatchOff();
        Get_LogFileName();
        gFormWidth = std::int32_t(std::lround(form->form().Width()));
        gFormHeight = std::int32_t(std::lround(form->form().Height()));
        form->form().Show(false);
    });
    // A window that was never shown could not be closed: the program would
    // run on unseen. It ends once the error has been reported.
    if (!loaded) toolkit.End();
}

void frmPelloryController::Form_Activate() {
    WithErrorBox(*gPlatform.toolkit, u"Form_Activate", [&] {
        if (bActivated != 0) return;
        bActivated = -1;  // first, so that neither an error nor a warning brings a second check
        Text lastEvent;
        Read_Log(form->txtLog(), lastEvent);
        if (lastEvent == LogEventText(LogEvent::AbnormalEnd)) {
            gPlatform.toolkit->MsgBox(kWarning, mb::Exclamation, kTitleAbnormal);
        } else if (lastEvent == LogEventText(LogEvent::Start)) {
            gPlatform.toolkit->MsgBox(kWarning, mb::Exclamation, kTitleNoEnd);
        } else {
            std::int32_t active = 0;
            std::int32_t failed = 0;
            std::int16_t copying = 0;
            Get_DownloadStatus(active, failed, copying);
            if (active > 0) cmdStart_Click();
        }
    });
}
