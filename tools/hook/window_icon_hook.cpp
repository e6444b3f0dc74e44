// A hook library that resource_console installs on the thread of another
// program's window: the system loads it into that program, where the window's
// class icon can be read and drawn (a class icon is not given to another
// process). On the request message it draws the icon into the shared block
// that resource_console made.
#include <windows.h>

#include <algorithm>
#include <string>

#include "tools/icon_pixels.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK WindowIconHook(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT request = RegisterWindowMessageW(kWindowIconMessage);
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == request) {
        const std::wstring name = kWindowIconBlock + std::to_wstring(call->wParam);
        if (HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, name.c_str())) {
            if (auto* block = static_cast<WindowIconBlock*>(
                    MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(WindowIconBlock)))) {
                auto* icon = reinterpret_cast<HICON>(GetClassLongPtrW(call->hwnd, GCLP_HICON));
                for (int i = 0; icon && i < 2; ++i) {
                    const std::vector<DWORD> pixels = DrawIcon(icon, kIconUnder[i]);
                    std::copy(pixels.begin(), pixels.end(), block->pixels[i]);
                }
                block->state = icon ? WindowIconBlock::kDrawn : WindowIconBlock::kNoClassIcon;
                UnmapViewOfFile(block);
            }
            CloseHandle(mapping);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
