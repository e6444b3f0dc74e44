#include "platform/win32/win32_form.h"
#include "platform/win32/win32_toolkit.h"

bool PumpMessage(MSG& msg) {
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) return false;
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && Win32Form::IsForm(root) && IsDialogMessageW(root, &msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

int RunMessageLoop() {
    MSG msg{};
    while (PumpMessage(msg)) {}
    return int(msg.wParam);
}
