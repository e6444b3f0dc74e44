#include "platform/win32/win32_form.h"

// A timer is a SetTimer on its form's window; WM_TIMER carries its id.
void Win32Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled)
        SetTimer(window_, id_, UINT(interval_), nullptr);
    else
        KillTimer(window_, id_);
}
