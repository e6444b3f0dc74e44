#include "platform/toolkit.h"

#include <cstdlib>

#include "platform/error.h"

void ReportUncaughtError(Toolkit& toolkit) {
    const RuntimeError error = CurrentError();
    toolkit.MsgBox(ErrorBoxText(error.Number(), error.Description()), mb::Critical, Text());
    toolkit.End();
    std::abort();  // End() does not return; the attribute on a virtual is no promise to the compiler
}
