#include "platform/win32/win32_form.h"

#include <algorithm>
#include <cmath>
#include "platform/error.h"
#include "platform/win32/dpi.h"
#include "platform/win32/last_error.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_toolkit.h"

namespace {

constexpr wchar_t kClassName[] = L"PelloryForm";
// Posted when a form becomes the active one, so that Activate runs after the
// handler that showed it.
constexpr UINT kActivateMessage = WM_APP + 2;

ATOM gFormClass = 0;
int gLiveForms = 0;

ATOM RegisterFormClass(WNDPROC procedure) {
    if (gFormClass) return gFormClass;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    // The program's icon is resource 1; without one the system's default.
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    gFormClass = RegisterClassExW(&wc);
    return gFormClass;
}

DWORD StyleOf(const FormSpec& spec) {
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    if (spec.border == BorderStyle::Sizable) style |= WS_THICKFRAME;
    if (spec.minButton) style |= WS_MINIMIZEBOX;
    if (spec.maxButton) style |= WS_MAXIMIZEBOX;
    return style;
}

DWORD ExStyleOf(const FormSpec& spec) {
    DWORD exStyle = spec.showInTaskbar ? WS_EX_APPWINDOW : 0;
    if (spec.border == BorderStyle::FixedDialog) exStyle |= WS_EX_DLGMODALFRAME;
    return exStyle;
}

// The windows of this thread that a modal form must keep from taking input.
BOOL CALLBACK CollectEnabled(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && IsWindowEnabled(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

Win32Form::Win32Form(Win32Toolkit& toolkit, const FormSpec& spec, FormEvents& events, HWND owner, HFONT defaultFont)
    : toolkit_(toolkit), spec_(spec), events_(events) {
    // A form without its window (the desktop heap or the handle quota used
    // up) would leave the program running with nothing to see or close: the
    // load fails with the system's reason instead.
    if (!RegisterFormClass(&WindowProc)) RaiseLastError();
    const DWORD style = StyleOf(spec);
    const DWORD exStyle = ExStyleOf(spec);
    RECT outer{0, 0, TwipsToPixels(spec.clientWidth), TwipsToPixels(spec.clientHeight)};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    if (!CreateWindowExW(exStyle, kClassName, Wide(spec.caption), style, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                         (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, owner, nullptr,
                         GetModuleHandleW(nullptr), this))
        RaiseLastError();
    // Windows may draw no class icon in the caption of a dialog frame; an
    // icon given to the window itself it draws in every frame.
    SendMessageW(window_, WM_SETICON, ICON_BIG, LPARAM(GetClassLongPtrW(window_, GCLP_HICON)));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, LPARAM(GetClassLongPtrW(window_, GCLP_HICONSM)));
    CreateControls(defaultFont);
    for (std::size_t i = 0; i < spec.timerCount; ++i)
        timers_.push_back(std::make_unique<Win32Timer>(window_, UINT_PTR(i + 1), spec.timers[i].intervalMs));
}

Win32Form::~Win32Form() {
    if (window_) DestroyWindow(window_);
}

// Creation order is tab order. A frame goes in at the place of the first
// control it holds, so that Tab reaches its option buttons in their turn.
void Win32Form::CreateControls(HFONT defaultFont) {
    const std::size_t count = spec_.controlCount;
    std::vector<std::int32_t> order(count);
    for (std::size_t i = 0; i < count; ++i) order[i] = spec_.controls[i].tabIndex;
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t frame = spec_.controls[i].container;
        if (frame >= 0) order[std::size_t(frame)] = std::min(order[std::size_t(frame)], spec_.controls[i].tabIndex);
    }
    std::vector<std::size_t> sequence(count);
    for (std::size_t i = 0; i < count; ++i) sequence[i] = i;
    std::stable_sort(sequence.begin(), sequence.end(), [&](std::size_t a, std::size_t b) {
        const bool aInside = spec_.controls[a].container >= 0;
        const bool bInside = spec_.controls[b].container >= 0;
        // Frames before what they hold when the keys tie.
        return order[a] != order[b] ? order[a] < order[b] : !aInside && bInside;
    });
    controls_.resize(count);
    for (std::size_t index : sequence) {
        const std::int32_t frame = spec_.controls[index].container;
        HWND parent = frame >= 0 ? controls_.at(std::size_t(frame))->Window() : window_;
        controls_[index] = std::make_unique<Win32Control>(spec_.controls[index], index, parent, defaultFont);
    }
}

bool Win32Form::IsForm(HWND window) { return gFormClass != 0 && GetClassLongPtrW(window, GCW_ATOM) == gFormClass; }

LRESULT CALLBACK Win32Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<Win32Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(created));
        ++gLiveForms;
    }
    auto* self = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self->toolkit_.FormGone(*self);
        if (--gLiveForms == 0) PostQuitMessage(0);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT Win32Form::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE: Activated(wParam); return 0;
    case kActivateMessage: RunEventHandler(toolkit_, [this] { events_.Activate(); }); return 0;
    case WM_SIZE:
        if (shown_) RunEventHandler(toolkit_, [this] { events_.Resize(); });
        return 0;
    case WM_CLOSE: Unload(); return 0;
    case WM_QUERYENDSESSION:
        // A log-off or shutdown closes the form as its close box does, and a
        // refused close refuses it. A modal form leaves the answer to the
        // form it was opened over: it stays open, and would let the session
        // end go on.
        if (modal_) return TRUE;
        return Close() ? TRUE : FALSE;
    case WM_COMMAND: Command(wParam); return 0;
    case kMouseUpMessage:
        RunEventHandler(toolkit_, [&] { events_.MouseUp(std::size_t(wParam), std::int16_t(lParam)); });
        return 0;
    case WM_TIMER:
        if (wParam >= 1 && wParam <= timers_.size() && timers_[wParam - 1]->Enabled())
            RunTickHandler(toolkit_, [&] { events_.Tick(std::size_t(wParam - 1)); });
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        const auto index = std::size_t(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) - kFirstControlId);
        if (index < controls_.size())
            if (HBRUSH brush = controls_[index]->Paint(reinterpret_cast<HDC>(wParam))) return LRESULT(brush);
        break;
    }
    default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Win32Form::Activated(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) focus_ = focus;
        return;
    }
    // Back from another program it was the active form already: no Activate.
    BecomeActive();
    if (HIWORD(wParam)) return;  // minimised: nothing to focus
    if (focus_ && IsWindow(focus_) && IsWindowEnabled(focus_))
        ::SetFocus(focus_);
    else
        FocusFirstControl();
}

void Win32Form::Command(WPARAM wParam) {
    const auto index = std::size_t(LOWORD(wParam) - kFirstControlId);
    if (LOWORD(wParam) >= kFirstControlId && index < controls_.size() && HIWORD(wParam) == BN_CLICKED) {
        const ControlKind kind = controls_[index]->Spec().kind;
        if (kind != ControlKind::TextBox && kind != ControlKind::Frame)
            RunEventHandler(toolkit_, [&] { events_.Click(index); });
    }
}

void Win32Form::BecomeActive() {
    if (toolkit_.MakeActiveForm(*this)) PostMessageW(window_, kActivateMessage, 0, 0);
}

void Win32Form::FocusFirstControl() {
    HWND first = GetNextDlgTabItem(window_, nullptr, FALSE);
    ::SetFocus(first ? first : window_);
}

Text Win32Form::Caption() const { return WindowText(window_); }

void Win32Form::SetCaption(const Text& caption) { SetWindowTextW(window_, Wide(caption)); }

// Painted now, and on the screen now: GDI may hold drawing back in the
// thread's batch until the thread next waits for a message.
void Win32Form::Refresh() {
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
}

// Painted and on the screen before the caller keeps the thread busy. Wine
// puts a window's drawing on the screen at the end of a paint only once the
// thread has not waited for a message for 50 ms (its sign of a program that
// never waits); sooner, it leaves that to the next wait, which the wait
// before a shutdown never makes. So the paint comes 51 ms after the last wait.
void Win32Form::ShowNow() {
    Sleep(51);
    Refresh();
}

std::int32_t Win32Form::GetWindowState() const {
    if (IsIconic(window_)) return Minimized;
    if (IsZoomed(window_)) return Maximized;
    return Normal;
}

// A window restored or activated by the program is painted before the
// caller goes on: the caller may keep the thread busy for a while (the wait
// before a shutdown) and handle no message, so a paint left queued would
// leave the window blank all that time.
void Win32Form::SetWindowState(std::int32_t state) {
    if (state == GetWindowState()) return;
    ShowWindow(window_, state == Minimized ? SW_MINIMIZE : state == Maximized ? SW_MAXIMIZE : SW_RESTORE);
    ShowNow();
}

void Win32Form::SetFocus() {
    SetForegroundWindow(window_);
    SetActiveWindow(window_);
    HWND focus = GetFocus();
    if (focus != window_ && !IsChild(window_, focus)) FocusFirstControl();
    ShowNow();
}

double Win32Form::Width() const {
    RECT r{};
    GetWindowRect(window_, &r);
    return PixelsToTwips(r.right - r.left);
}

double Win32Form::Height() const {
    RECT r{};
    GetWindowRect(window_, &r);
    return PixelsToTwips(r.bottom - r.top);
}

void Win32Form::SetWidth(double twips) {
    RECT r{};
    GetWindowRect(window_, &r);
    SetOuterSize(TwipsToPixels(int(std::lround(twips))), r.bottom - r.top);
}

void Win32Form::SetHeight(double twips) {
    RECT r{};
    GetWindowRect(window_, &r);
    SetOuterSize(r.right - r.left, TwipsToPixels(int(std::lround(twips))));
}

void Win32Form::SetOuterSize(int width, int height) {
    RECT r{};
    GetWindowRect(window_, &r);
    if (r.right - r.left == width && r.bottom - r.top == height) return;  // no change, no further Resize
    SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::Show(bool modal) {
    if (!window_) return;
    shown_ = true;
    BecomeActive();
    if (!modal) {
        ShowWindow(window_, toolkit_.NextShowCommand());
        // Windows may take the first show's state from the start instead
        // of from us: a hidden window is shown all the same.
        if (!IsWindowVisible(window_)) ShowWindow(window_, SW_SHOWNORMAL);
        UpdateWindow(window_);
        return;
    }
    modal_ = true;
    HWND previous = GetActiveWindow();
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabled, LPARAM(&modalDisabled_));
    modalDisabled_.erase(std::remove(modalDisabled_.begin(), modalDisabled_.end(), window_), modalDisabled_.end());
    for (HWND other : modalDisabled_) EnableWindow(other, FALSE);
    // Kept above the window it was opened from.
    if (!spec_.showInTaskbar && previous) SetWindowLongPtrW(window_, GWLP_HWNDPARENT, LONG_PTR(previous));
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    MSG msg{};
    while (window_) {
        if (!PumpMessage(msg)) {
            PostQuitMessage(int(msg.wParam));  // for the outer loop
            break;
        }
    }
    EndModal();
    if (previous && IsWindow(previous)) SetActiveWindow(previous);
}

// The others take input again before this one goes, so that activation
// returns to them and not to another program.
void Win32Form::EndModal() {
    for (HWND other : modalDisabled_)
        if (IsWindow(other)) EnableWindow(other, TRUE);
    modalDisabled_.clear();
}

void Win32Form::Unload() { Close(); }

bool Win32Form::Close() {
    if (!window_) return true;
    if (!RunUnloadHandler(toolkit_, events_)) return false;
    if (!window_) return true;
    EndModal();
    DestroyWindow(window_);
    return true;
}
