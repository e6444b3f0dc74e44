// Message boxes: what a box says and shows, and the press of its buttons.
#include <windows.h>

#include "tools/driver/commands.h"
#include "tools/driver/console.h"
#include "tools/driver/input.h"
#include "tools/driver/pixels.h"
#include "tools/driver/window_queries.h"

namespace driver {

using std::wstring;

namespace {

// Which standard icon a message box shows, told by drawing each candidate
// over the box's background and keeping the one that matches the screen.
// The box must not be covered by another window.
wstring IconKind(HWND box) {
    HWND icon = nullptr;
    for (HWND child : Descendants(box))
        if (ClassOf(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            IsWindowVisible(child) != FALSE && SendMessageW(child, STM_GETICON, 0, 0) != 0)
            icon = child;
    if (!icon) return L"none";
    RECT r{};
    GetWindowRect(icon, &r);
    const int size = GetSystemMetrics(SM_CXICON);
    Picture shot(size);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.dc(), 0, 0, size, size, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    HBRUSH background = CreateSolidBrush(shot.At(0, 0));
    const RECT all{0, 0, size, size};
    struct Candidate {
        const wchar_t* name;
        LPCWSTR id;
    };
    const Candidate candidates[] = {{L"critical", IDI_HAND},
                                    {L"question", IDI_QUESTION},
                                    {L"warning", IDI_EXCLAMATION},
                                    {L"information", IDI_ASTERISK}};
    wstring best = L"unknown";
    int bestDifferences = size * size / 10;  // more than a tenth of the pixels off is no match
    for (const Candidate& c : candidates) {
        Picture drawn(size);
        FillRect(drawn.dc(), &all, background);
        DrawIconEx(drawn.dc(), 0, 0, LoadIconW(nullptr, c.id), size, size, 0, nullptr, DI_NORMAL);
        const int differences = drawn.Differences(shot);
        if (differences < bestDifferences) {
            bestDifferences = differences;
            best = c.name;
        }
    }
    DeleteObject(background);
    return best;
}

}  // namespace

int MessageBoxCommand(const Request& request) {
    Request byClass = request;
    byClass.prefix = byClass.contains = false;
    HWND box = WaitFor(byClass, request.title, L"#32770");
    if (!box) {
        Print(L"no message box");
        return 1;
    }
    // The box paints its icon a moment after it shows, later on a busy
    // machine: the icon is read again until it is one of the kinds, for up
    // to 10 s, rather than after a fixed pause.
    wstring icon = IconKind(box);
    for (const DWORD start = GetTickCount(); icon == L"unknown" && GetTickCount() - start < 10000; icon = IconKind(box))
        Sleep(100);
    wstring text;
    wstring buttons;
    for (HWND child : Descendants(box)) {
        const wstring cls = ClassOf(child);
        if (cls == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON && !Text(child).empty())
            text = Text(child);
        if (cls == L"Button" && IsWindowVisible(child))
            buttons +=
                (buttons.empty() ? L"" : L"|") + WithoutAmpersands(Text(child)) + L"=" + Number(GetDlgCtrlID(child));
    }
    Print(L"title=" + Text(box));
    Print(L"text=" + text);
    Print(L"icon=" + icon);
    Print(L"buttons=" + buttons);
    return request.press.empty() ? 0 : Click(box, request.press);
}

}  // namespace driver
