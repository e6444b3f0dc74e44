// Puts up one visible top-level window of a window class named on the command
// line, such as the browser's frame or a mail compose window, so that a test
// can stage what a program looks for by class. Runs until the window is
// closed.
//
//   classwindow.exe CLASS CAPTION
#include <windows.h>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    WNDCLASSW wc{};
    wc.lpfnWndProc = &WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = argv[1];
    if (!RegisterClassW(&wc)) return 1;
    CreateWindowExW(0, argv[1], argv[2], WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 240, 120, nullptr, nullptr,
                    wc.hInstance, nullptr);
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
