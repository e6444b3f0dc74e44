#include "platform/toolkit.h"

#include <cstdlib>

#include "platform/error.h"

std::int32_t Toolkit::MsgBox(const Text& prompt, std::int32_t style, const Text& title) {
    struct Open {
        int& count;
        explicit Open(int& c) : count(c) { ++count; }
        ~Open() { --count; }
    } open(openBoxes_);
    return ShowMsgBox(prompt, style, title);
}

bool Toolkit::MakeActiveForm(const Form& form) {
    if (activeForm_ == &form) return false;
    activeForm_ = &form;
    return true;
}

void Toolkit::FormGone(const Form& form) {
    if (activeForm_ == &form) activeForm_ = nullptr;
}

bool RunUnloadHandler(Toolkit& toolkit, FormEvents& events) {
    if (toolkit.BoxOpen() && events.UnloadAsks()) return false;
    std::int16_t cancel = 0;
    RunEventHandler(toolkit, [&] { events.Unload(cancel); });
    return cancel == 0;
}

void ShowErrorBox(Toolkit& toolkit, const Text& title) {
    const RuntimeError error = CurrentError();
    toolkit.MsgBox(ErrorBoxText(error.Number(), error.Description()), mb::Critical, title);
}

void ReportUncaughtError(Toolkit& toolkit) {
    ShowErrorBox(toolkit, Text());
    toolkit.End();
    std::abort();  // End() does not return; the attribute on a virtual is no promise to the compiler
}
