#include "app/startup.h"

#include <cmath>
#include <memory>

#include "platform/platform.h"
#include "ui/cmdAbout.h"
#include "ui/frmPellory.h"

namespace {

// The window's own handlers, the About button, and a close that ends the program.
class MainEvents : public frmPelloryEvents {
public:
    void Click(std::size_t control) override {
        if (control == frmPellory::kCmdAbout) cmdAbout_Click();
        frmPelloryEvents::Click(control);
    }
    void Unload(std::int16_t&) override { gPlatform.toolkit->End(); }
};

MainEvents gMainEvents;
std::unique_ptr<frmPellory> gMain;

}  // namespace

void Start_Pellory() {
    gMain = std::make_unique<frmPellory>(gMainEvents);
    gMainEvents.form = gMain.get();
    gMain->Set_WatchOff();
    gFormWidth = std::int32_t(std::lround(gMain->form().Width()));
    gFormHeight = std::int32_t(std::lround(gMain->form().Height()));
    gMain->form().Show(false);
}
