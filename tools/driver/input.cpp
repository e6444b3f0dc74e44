#include "tools/driver/input.h"

#include <cstdlib>
#include <cwctype>

#include "tools/driver/commands.h"
#include "tools/driver/console.h"
#include "tools/driver/window_queries.h"

namespace driver {

using std::wstring;

namespace {

// Enabled as the user sees it: the control and every window it sits in, up
// to its top-level window (whose owner, disabled under a modal box, does not count).
bool Usable(HWND window) {
    for (HWND w = window; w; w = (GetWindowLongW(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr)
        if (!IsWindowEnabled(w)) return false;
    return true;
}

HWND FindButton(HWND top, const wstring& text) {
    const wstring wanted = WithoutAmpersands(text);
    for (HWND child : Descendants(top)) {
        if (ClassOf(child) != L"Button") continue;
        const wstring shown = WithoutAmpersands(Text(child));
        if (shown == wanted || (!wanted.empty() && shown.compare(0, wanted.size(), wanted) == 0)) return child;
        if (!wanted.empty() && iswdigit(wanted[0]) && GetDlgCtrlID(child) == _wtoi(wanted.c_str())) return child;
    }
    return nullptr;
}

// Why a message sent to `top` got no answer within the timeout.
void NoAnswer(HWND top) { Print(IsWindow(top) ? L"no answer" : L"gone without an answer"); }

}  // namespace

int Click(HWND top, const wstring& text) {
    HWND button = FindButton(top, text);
    if (!button) {
        Print(L"no button: " + text);
        return 1;
    }
    if (!Usable(button)) {
        Print(L"disabled: " + text);
        return 3;
    }
    // Posted: the click's handler may open a modal box and not return for a while.
    PostMessageW(button, BM_CLICK, 0, 0);
    Print(L"clicked: " + Text(button));
    return 0;
}

int ClickCommand(const Request& request) { return Click(Window(request), request.words[2]); }

int MouseUpCommand(const Request& request) {
    const std::vector<wstring>& w = request.words;
    // The release of a mouse button (1 left, 2 right, 4 middle) over a control.
    HWND control = ControlWithText(Window(request), w[2]);
    const int button = _wtoi(w[3].c_str());
    const UINT message = button == 2 ? WM_RBUTTONUP : button == 4 ? WM_MBUTTONUP : WM_LBUTTONUP;
    PostMessageW(control, message, 0, MAKELPARAM(2, 2));
    Print(L"released " + Number(button) + L" over " + w[2]);
    return 0;
}

int KeyCommand(const Request& request) {
    const wstring& name = request.words[2];
    HWND top = Window(request);
    // Posted to the focus, as the keyboard would deliver it, so that the
    // program's own message loop sees it.
    const WPARAM key = name == L"escape" ? VK_ESCAPE : VK_RETURN;
    HWND focus = FocusOf(top);
    HWND target = focus ? focus : top;
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, LPARAM(0xC0000001u));
    Print(L"pressed " + name + L" on " + Text(target));
    return 0;
}

int CloseCommand(const Request& request) {
    HWND top = Window(request);
    if (!request.sent) {
        PostMessageW(top, WM_CLOSE, 0, 0);
        Print(L"closing: " + Text(top));
        return 0;
    }
    // Returns once the window has handled it: a question it opens keeps it waiting.
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(top, WM_CLOSE, 0, 0, SMTO_NORMAL, request.timeout, &ignored)) {
        NoAnswer(top);
        return 1;
    }
    Print(L"handled: " + (IsWindow(top) ? Text(top) : wstring(L"gone")));
    return 0;
}

int EndSessionCommand(const Request& request) {
    HWND top = Window(request);
    // The answer may wait on a question the program puts to its user.
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(top, WM_QUERYENDSESSION, 0, LPARAM(ENDSESSION_LOGOFF), SMTO_NORMAL, request.timeout,
                             &answer)) {
        NoAnswer(top);
        return 1;
    }
    SendMessageTimeoutW(top, WM_ENDSESSION, answer ? TRUE : FALSE, LPARAM(ENDSESSION_LOGOFF), SMTO_NORMAL, 5000,
                        nullptr);
    Print(L"answer=" + Number(answer ? 1 : 0));
    return 0;
}

int SizeCommand(const Request& request) {
    const std::vector<wstring>& w = request.words;
    // As a drag of the border would: the window gets WM_SIZE and may answer it.
    SetWindowPos(Window(request), nullptr, 0, 0, _wtoi(w[2].c_str()), _wtoi(w[3].c_str()), SWP_NOMOVE | SWP_NOZORDER);
    return 0;
}

int ShowCommand(const Request& request) {
    const wstring& how = request.words[2];
    HWND top = Window(request);
    if (how == L"front") {
        SetForegroundWindow(top);
        return 0;
    }
    ShowWindow(top, how == L"min" ? SW_MINIMIZE : how == L"max" ? SW_MAXIMIZE : SW_RESTORE);
    return 0;
}

}  // namespace driver
