#include "platform/toolkit.h"

#include <cstdlib>

#include "platform/error.h"

void ShowErrorBox(Toolkit& toolkit, const Text& title) {
    const RuntimeError error = CurrentError();
    toolkit.MsgBox(ErrorBoxText(error.Number(), error.Description()), mb::Critical, title);
}

void ReportUncaughtError(Toolkit& toolkit) {
    ShowErrorBox(toolkit, Text());
    toolkit.End();
    std::abort();  // End() does not return; the attribute on a virtual is no promise to the compiler
}
