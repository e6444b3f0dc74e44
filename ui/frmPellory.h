// The main window: its controls and layout, the idle and watching
// presentations, the caption blink, the fixed size and the help button.
// Whoever owns the window's events (the watch controller) creates it with a
// frmPelloryEvents of its own; the indices tell which control or timer an
// event is for.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include "platform/toolkit.h"

constexpr const char16_t* kCaptionIdle = u"未監視 - Pellory";
constexpr const char16_t* kCaptionWatching = u"●監視中 - Pellory";
constexpr const char16_t* kCaptionWatchingBlink = u"○監視中 - Pellory";

// The window's outer size in twips, stored by the load handler; Form_Resize
// keeps the window at it.
extern std::int32_t gFormWidth;
extern std::int32_t gFormHeight;
// The blink phase, -1 or 0; carried over from one watch to the next.
extern std::int16_t bBlink;

class frmPellory;

// The events the window handles itself: Resize, the tmrAnime tick and the
// cmdHelp click. The owner of the window's events derives from this, handles
// the other events and passes these on here.
class frmPelloryEvents : public FormEvents {
public:
    void Resize() override;
    void Click(std::size_t control) override;
    void Tick(std::size_t timer) override;

    frmPellory* form = nullptr;  // set as soon as the window is loaded
};

class frmPellory {
public:
    // Control indices, in tab order, as FormEvents::Click reports them.
    enum ControlIndex : std::size_t {
        kOptLog0,
        kOptLog1,
        kCmdStart,
        kCmdCancel,
        kFraLog,
        kCmdHelp,
        kCmdAbout,
        kTxtLog,
        kLabel1,
        kControlCount
    };
    enum TimerIndex : std::size_t { kTmrAnime, kTmrPellory, kTimerCount };

    // Loads the window, hidden, in its created state, through gPlatform.toolkit.
    explicit frmPellory(FormEvents& events);

    Form& form() { return *form_; }
    Control& optLog(std::size_t index) { return form_->control(kOptLog0 + index); }
    Control& cmdStart() { return form_->control(kCmdStart); }
    Control& cmdCancel() { return form_->control(kCmdCancel); }
    Control& fraLog() { return form_->control(kFraLog); }
    Control& cmdHelp() { return form_->control(kCmdHelp); }
    Control& cmdAbout() { return form_->control(kCmdAbout); }
    Control& txtLog() { return form_->control(kTxtLog); }
    Control& Label1() { return form_->control(kLabel1); }
    Timer& tmrAnime() { return form_->timer(kTmrAnime); }
    Timer& tmrPellory() { return form_->timer(kTmrPellory); }

    void Set_WatchOn();
    void Set_WatchOff();
    void tmrAnime_Timer();
    void Form_Resize();
    void cmdHelp_Click();

private:
    void Set_Watch(const char16_t* caption, bool watching);

    std::unique_ptr<Form> form_;
};

// The layout of the window, for the toolkit and the tests.
extern const FormSpec kFrmPelloryLayout;
