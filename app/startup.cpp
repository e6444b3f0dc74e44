#include "app/startup.h"

#include <cmath>
#include <memory>

#include "platform/platform.h"
#include "ui/frmPellory.h"

namespace {

// Only the main window's own handlers, until the controller owns the events.
class MainEvents : public FormEvents {
public:
    void Resize() override { form->Form_Resize(); }
    void Click(std::size_t control) override {
        if (control == frmPellory::kCmdHelp) form->cmdHelp_Click();
    }
    void Tick(std::size_t timer) override {
        if (timer == frmPellory::kTmrAnime) form->tmrAnime_Timer();
    }
    void Unload(std::int16_t&) override { gPlatform.toolkit->End(); }

    std::unique_ptr<frmPellory> form;
};

MainEvents gMainEvents;

}  // namespace

void Start_Pellory() {
    gMainEvents.form = std::make_unique<frmPellory>(gMainEvents);
    frmPellory& main = *gMainEvents.form;
    main.Set_WatchOff();
    gFormWidth = std::int32_t(std::lround(main.form().Width()));
    gFormHeight = std::int32_t(std::lround(main.form().Height()));
    main.form().Show(false);
}
