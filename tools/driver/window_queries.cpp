#include "tools/driver/window_queries.h"

#include <cstdlib>

#include "tools/driver/commands.h"
#include "tools/driver/console.h"

namespace driver {

using std::wstring;

wstring Text(HWND window) {
    wstring text(std::size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

wstring ClassOf(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

wstring WithoutAmpersands(const wstring& text) {
    wstring out;
    for (wchar_t c : text)
        if (c != L'&') out += c;
    return out;
}

namespace {

struct Search {
    const Request* request;
    const wstring* caption;
    const wchar_t* className;
    std::vector<HWND> found;
};

bool Matches(const Request& request, const wstring& text, const wstring& wanted) {
    if (request.contains) return text.find(wanted) != wstring::npos;
    return request.prefix ? text.compare(0, wanted.size(), wanted) == 0 : text == wanted;
}

BOOL CALLBACK Collect(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (!IsWindowVisible(window)) return TRUE;
    if (search->className != nullptr && ClassOf(window) != search->className) return TRUE;
    if (search->caption != nullptr && !Matches(*search->request, Text(window), *search->caption)) return TRUE;
    search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

RECT ClientRelative(HWND top, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

wstring RectText(const RECT& r) {
    return Number(r.left) + L"," + Number(r.top) + L"," + Number(r.right - r.left) + L"," + Number(r.bottom - r.top);
}

bool IsCheckable(HWND window) {
    if (ClassOf(window) != L"Button") return false;
    const LONG type = GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON || type == BS_CHECKBOX || type == BS_AUTOCHECKBOX;
}

// A control's text as the control itself holds it: GetWindowText does not
// ask a control of another process (an edit control keeps its own text).
// Line ends are shown as \r and \n, so that each control stays on one line.
wstring ControlText(HWND control) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return Text(control);
    wstring text(std::size_t(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, WPARAM(text.size()), LPARAM(text.data()), SMTO_ABORTIFHUNG, 2000, &copied);
    text.resize(std::size_t(copied));
    wstring shown;
    for (wchar_t c : text) shown += c == L'\r' ? wstring(L"\\r") : c == L'\n' ? wstring(L"\\n") : wstring(1, c);
    return shown;
}

}  // namespace

std::vector<HWND> TopWindows(const Request& request, const wstring* caption, const wchar_t* className) {
    Search search{&request, caption, className, {}};
    EnumWindows(&Collect, LPARAM(&search));
    return search.found;
}

HWND WaitFor(const Request& request, const wstring& caption, const wchar_t* className) {
    const DWORD start = GetTickCount();
    for (;;) {
        std::vector<HWND> found = TopWindows(request, caption.empty() ? nullptr : &caption, className);
        if (!found.empty()) return found.front();
        if (GetTickCount() - start >= request.timeout) return nullptr;
        Sleep(100);
    }
}

HWND Window(const Request& request) {
    const wstring& caption = request.words[1];
    HWND window = WaitFor(request, caption);
    if (!window) {
        Print(L"not found: " + caption);
        std::exit(1);
    }
    return window;
}

std::vector<HWND> Descendants(HWND top) {
    std::vector<HWND> list;
    EnumChildWindows(top, &CollectChild, LPARAM(&list));
    return list;
}

HWND ControlWithText(HWND top, const wstring& text) {
    for (HWND child : Descendants(top))
        if (Text(child) == text) return child;
    Print(L"no control: " + text);
    std::exit(1);
}

HWND FocusOf(HWND top) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info) ? info.hwndFocus : nullptr;
}

int ListCommand(const Request& request) {
    for (HWND window : TopWindows(request, nullptr, nullptr))
        Print(Hex(window) + L" class=" + ClassOf(window) + L" text=" + Text(window));
    return 0;
}

int FindCommand(const Request& request) {
    HWND top = Window(request);
    Print(Hex(top) + L" text=" + Text(top));
    return 0;
}

int WaitCommand(const Request& request) {
    if (!request.gone) return FindCommand(request);
    const wstring& caption = request.words[1];
    const DWORD start = GetTickCount();
    while (!TopWindows(request, &caption, nullptr).empty()) {
        if (GetTickCount() - start >= request.timeout) {
            Print(L"still there: " + caption);
            return 1;
        }
        Sleep(100);
    }
    Print(L"gone: " + caption);
    return 0;
}

int ControlsCommand(const Request& request) {
    HWND top = Window(request);
    for (HWND child : Descendants(top)) {
        HWND parent = GetParent(child);
        Print(L"id=" + Number(GetDlgCtrlID(child)) + L" class=" + ClassOf(child) + L" parent=" +
              (parent == top ? wstring(L"form") : ClassOf(parent) + L":" + Number(GetDlgCtrlID(parent))) +
              L" enabled=" + Number(IsWindowEnabled(child) ? 1 : 0) + L" checked=" +
              Number(IsCheckable(child) && SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0) +
              L" visible=" + Number(IsWindowVisible(child) ? 1 : 0) + L" rect=" + RectText(ClientRelative(top, child)) +
              L" text=" + ControlText(child));
    }
    return 0;
}

int RectCommand(const Request& request) {
    HWND top = Window(request);
    RECT outer{};
    RECT client{};
    GetWindowRect(top, &outer);
    GetClientRect(top, &client);
    Print(L"window=" + RectText(outer));
    Print(L"client=" + Number(client.right) + L"," + Number(client.bottom));
    // The screen in the same pixels: Wine 10 at 120 dpi scales the X screen by 1.25.
    Print(L"screen=" + Number(GetSystemMetrics(SM_CXSCREEN)) + L"," + Number(GetSystemMetrics(SM_CYSCREEN)));
    Print(L"state=" + wstring(IsIconic(top) ? L"minimized" : IsZoomed(top) ? L"maximized" : L"normal"));
    Print(L"enabled=" + Number(IsWindowEnabled(top) ? 1 : 0));
    Print(L"foreground=" + Number(GetForegroundWindow() == top ? 1 : 0));
    HWND owner = GetWindow(top, GW_OWNER);
    Print(L"owner=" + (owner ? Hex(owner) : wstring(L"0")));
    Print(L"appwindow=" + Number((GetWindowLongW(top, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0 ? 1 : 0));
    const LONG style = GetWindowLongW(top, GWL_STYLE);
    const auto has = [style](LONG bit) { return Number((style & bit) != 0 ? 1 : 0); };
    Print(L"minbox=" + has(WS_MINIMIZEBOX) + L" maxbox=" + has(WS_MAXIMIZEBOX) + L" sizable=" + has(WS_THICKFRAME) +
          L" sysmenu=" + has(WS_SYSMENU));
    return 0;
}

int FocusCommand(const Request& request) {
    HWND focus = FocusOf(Window(request));
    Print(L"focus=" + (focus ? ClassOf(focus) + L" text=" + Text(focus) : wstring(L"none")));
    return 0;
}

}  // namespace driver
