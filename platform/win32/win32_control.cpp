#include "platform/win32/dpi.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_form.h"

namespace {

struct WindowKind {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

WindowKind KindOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::CommandButton: return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::OptionButton: return {L"BUTTON", BS_AUTORADIOBUTTON, 0};
    // The frame holds its option buttons as children; Tab and the arrows walk into it.
    case ControlKind::Frame: return {L"BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT};
    case ControlKind::Label: return {L"STATIC", SS_LEFT | SS_NOTIFY, 0};
    // No word wrap: wrapping a long line costs the edit control time that grows
    // with the square of the line's length (a 100,000-character line took
    // minutes), while a log's own lines fit the view's width anyway.
    case ControlKind::TextBox:
        return {L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_READONLY | WS_VSCROLL | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    }
    return {L"STATIC", 0, 0};
}

// The first option button of a container starts its group and is its tab stop.
DWORD GroupStyle(const ControlSpec& spec, HWND parent) {
    if (spec.kind != ControlKind::OptionButton) return 0;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON) return 0;
    return WS_GROUP | WS_TABSTOP;
}

}  // namespace

Win32Control::Win32Control(const ControlSpec& spec, std::size_t index, HWND parent, HFONT defaultFont)
    : spec_(spec), index_(index) {
    const WindowKind kind = KindOf(spec.kind);
    window_ = CreateWindowExW(
        kind.exStyle, kind.className, Wide(spec.caption ? spec.caption : u""),
        WS_CHILD | WS_VISIBLE | kind.style | GroupStyle(spec, parent), TwipsToPixels(spec.rect.left),
        TwipsToPixels(spec.rect.top), TwipsToPixels(spec.rect.width), TwipsToPixels(spec.rect.height), parent,
        reinterpret_cast<HMENU>(INT_PTR(kFirstControlId + int(index))), GetModuleHandleW(nullptr), nullptr);
    if (spec.font.name) {
        font_ = CreateFontW(FontHeight(spec.font.centiPoints), 0, 0, 0, spec.font.bold ? FW_BOLD : FW_NORMAL, FALSE,
                            spec.font.underline ? TRUE : FALSE, FALSE, BYTE(spec.font.charset), OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, Wide(spec.font.name));
    }
    SendMessageW(window_, WM_SETFONT, WPARAM(font_ ? font_ : defaultFont), FALSE);
    if (spec.kind == ControlKind::TextBox) SendMessageW(window_, EM_SETLIMITTEXT, 0, 0);  // no 32K cap: logs grow
    if (spec.kind == ControlKind::OptionButton && spec.selected) SendMessageW(window_, BM_SETCHECK, BST_CHECKED, 0);
    if (spec.kind == ControlKind::Frame || spec.kind == ControlKind::Label) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, LONG_PTR(this));
        original_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window_, GWLP_WNDPROC, LONG_PTR(&SubclassProc)));
    }
}

Win32Control::~Win32Control() {
    if (font_) DeleteObject(font_);
}

// A frame hands its buttons' notifications on to the form; a label reports
// the release of a mouse button over it.
LRESULT CALLBACK Win32Control::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32Control*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return SendMessageW(GetParent(window), message, wParam, lParam);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const LRESULT result = CallWindowProcW(self->original_, window, message, wParam, lParam);
        const auto button = std::int16_t(message == WM_LBUTTONUP ? 1 : message == WM_RBUTTONUP ? 2 : 4);
        SendMessageW(GetAncestor(window, GA_ROOT), kMouseUpMessage, self->index_, button);
        return result;
    }
    default: return CallWindowProcW(self->original_, window, message, wParam, lParam);
    }
}

Text Win32Control::Caption() const { return WindowText(window_); }

void Win32Control::SetCaption(const Text& caption) { SetWindowTextW(window_, Wide(caption)); }

bool Win32Control::Enabled() const { return IsWindowEnabled(window_) != FALSE; }

void Win32Control::SetEnabled(bool enabled) { EnableWindow(window_, enabled ? TRUE : FALSE); }

bool Win32Control::Value() const { return SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Win32Control::SetValue(bool value) {
    // Selecting an option clears the other options of its container.
    if (value && spec_.kind == ControlKind::OptionButton) {
        for (HWND other = GetWindow(GetParent(window_), GW_CHILD); other; other = GetWindow(other, GW_HWNDNEXT))
            if (other != window_ && (GetWindowLongW(other, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SendMessageW(window_, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32Control::Refresh() {
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

HBRUSH Win32Control::Paint(HDC dc) const {
    // The log view is read-only but reads as a text box, on the window colour.
    if (spec_.kind == ControlKind::TextBox) {
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return GetSysColorBrush(COLOR_WINDOW);
    }
    if (spec_.color == kDefaultColor) return nullptr;
    SetTextColor(dc, COLORREF(spec_.color));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}
