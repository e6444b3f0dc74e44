// The desktop snapshot calls on the real system (user32).
#pragma once
#include "platform/desktop.h"

class Win32Desktop : public Desktop {
public:
    std::int32_t EnumWindows(EnumCallback callback, AppValue value) override;
    std::int32_t EnumChildWindows(WindowHandle parent, EnumCallback callback, AppValue value) override;
    std::int32_t GetWindowTextA(WindowHandle window, char* buffer, std::int32_t size) override;
};
