#include "app/controller.h"
#include "ui/cmdAbout.h"

void frmPelloryController::Activate() { Form_Activate(); }

void frmPelloryController::Unload(std::int16_t& cancel) { Form_Unload(cancel); }

bool frmPelloryController::UnloadAsks() { return form != nullptr && form->cmdCancel().Enabled(); }

void frmPelloryController::Click(std::size_t control) {
    switch (control) {
    case frmPellory::kCmdStart: cmdStart_Click(); break;
    case frmPellory::kCmdCancel: cmdCancel_Click(); break;
    case frmPellory::kCmdAbout: cmdAbout_Click(); break;
    default: frmPelloryEvents::Click(control); break;
    }
}

void frmPelloryController::Tick(std::size_t timer) {
    if (timer == frmPellory::kTmrPellory) {
        tmrPellory_Timer();
    } else {
        frmPelloryEvents::Tick(timer);
    }
}
