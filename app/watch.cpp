#include <exception>

#include "app/controller.h"
#include "app/wait_before_shutdown.h"
#include "detect/download_status.h"
#include "log/log_writer.h"
#include "log/read_log.h"
#include "platform/platform.h"
#include "shutdown/mdlShutdown.h"

namespace {

constexpr const char16_t* kCaptionShutdown = u"シャットダウンします...";

constexpr const char16_t* kNoDownloadTitle = u"ダウンロード開始してからボタンを押してください";
constexpr const char16_t* kCancelPrompt = u"ダウンロード監視をキャンセルしますか";
constexpr const char16_t* kCancelTitle = u"ダウンロード監視のキャンセル確認";
constexpr const char16_t* kQuitPrompt = u"ダウンロード監視をキャンセルして終了しますか";
constexpr const char16_t* kQuitTitle = u"終了確認";

// Yes and No with No as the default; every answer but No counts as Yes.
bool Confirm(const char16_t* prompt, const char16_t* title) {
    return gPlatform.toolkit->MsgBox(prompt, mb::YesNoQuestionDefaultNo, title) != mb::IdNo;
}

// A download does not keep the system awake: asleep, it would stop the
// watch and still be on in the morning. So while a watch runs the system
// may not sleep on its own; the screen may still turn off.
void KeepAwake(bool awake) {
    gPlatform.system->SetThreadExecutionState(awake ? es::Continuous | es::SystemRequired : es::Continuous);
}

}  // namespace

void frmPelloryController::cmdStart_Click() {
    WithErrorBox(*gPlatform.toolkit, u"cmdStart_Click", [&] {
        std::int32_t active = 0;
        std::int32_t failed = 0;
        std::int16_t copying = 0;
        Get_DownloadStatus(active, failed, copying);
        if (active == 0) {
            gPlatform.toolkit->MsgBox(
                u"現在ダウンロードされているファイルがありません\r\n"
                u"Internet Explorerでダウンロード開始してから" +
                    form->cmdStart().Caption() + u"ボタンを押してください",
                mb::Critical, kNoDownloadTitle);
            return;
        }
        // An error from here on leaves the watching presentation with the
        // timer off: the cancel button leads back to idle.
        form->Set_WatchOn();
        Write_Log(LogEvent::Start, form->optLog(0).Value() ? OpenMode::Append : OpenMode::Overwrite);
        Text lastEvent;
        Read_Log(form->txtLog(), lastEvent);
        KeepAwake(true);
        form->tmrPellory().SetEnabled(true);
    });
}

void frmPelloryController::tmrPellory_Timer() {
    WithErrorBox(*gPlatform.toolkit, u"tmrPellory_Timer", [&] {
        std::int32_t active = 0;
        std::int32_t failed = 0;
        std::int16_t copying = 0;
        Get_DownloadStatus(active, failed, copying);
        if (copying != 0) return;  // a copy under way: nothing else is tested
        if (active > 0 && active <= failed) {
            End_Watch(LogEvent::AbnormalEnd);
        } else if (active == 0) {
            End_Watch(LogEvent::NormalEnd);
        }
    });
}

// An error here reaches the tick's error box: the program goes on idle,
// under the shutdown caption, with the timer off. The system stays awake up
// to the shutdown request: one idle past its sleep timeout would sleep as
// soon as it may, in the wait instead of shutting down.
void frmPelloryController::End_Watch(LogEvent event) {
    try {
        form->Set_WatchOff();
        form->tmrPellory().SetEnabled(false);
        Form& window = form->form();
        window.SetCaption(kCaptionShutdown);
        window.Refresh();
        window.SetWindowState(Normal);
        window.SetFocus();
        Wait_BeforeShutdown();
        Write_Log(event, OpenMode::Append);  // stamped after the wait
        Exec_Shutdown();
    } catch (const std::exception&) {
        KeepAwake(false);  // before the error box, which may stay open all night
        throw;
    }
    gPlatform.toolkit->End();
}

void frmPelloryController::cmdCancel_Click() {
    if (!Confirm(kCancelPrompt, kCancelTitle)) return;
    form->tmrPellory().SetEnabled(false);
    KeepAwake(false);
    form->Set_WatchOff();
    Write_Log(LogEvent::Cancel, OpenMode::Append);
    Text lastEvent;
    Read_Log(form->txtLog(), lastEvent);
}

void frmPelloryController::Form_Unload(std::int16_t& cancel) {
    if (!form->cmdCancel().Enabled()) {
        // Idle: no question, no log line.
        form->tmrPellory().SetEnabled(false);
    } else if (Confirm(kQuitPrompt, kQuitTitle)) {
        form->tmrPellory().SetEnabled(false);
        Write_Log(LogEvent::Cancel, OpenMode::Append);
    } else {
        cancel = -1;  // the window stays and the watch goes on
        return;
    }
    gPlatform.toolkit->End();
}
