// A form as a real top-level window with real child controls.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "platform/toolkit.h"

class Win32Toolkit;

// Control identifiers start here, clear of IDOK and IDCANCEL, which the
// dialog keys send to the form and which no control of ours stands for.
constexpr int kFirstControlId = 100;
// Sent by a label to its form: wParam the control index, lParam the button.
constexpr UINT kMouseUpMessage = WM_APP + 1;

class Win32Control : public Control {
public:
    // Creates the child window inside `parent` (the form or a frame).
    Win32Control(const ControlSpec& spec, std::size_t index, HWND parent, HFONT defaultFont);
    ~Win32Control() override;
    Text Caption() const override;
    void SetCaption(const Text& caption) override;
    bool Enabled() const override;
    void SetEnabled(bool enabled) override;
    bool Value() const override;
    void SetValue(bool value) override;
    void Refresh() override;
    WindowHandle hWnd() const override { return WindowHandle(window_); }

    HWND Window() const { return window_; }
    const ControlSpec& Spec() const { return spec_; }
    // Colours the control's text and background; null for the default look.
    HBRUSH Paint(HDC dc) const;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    const ControlSpec& spec_;
    std::size_t index_;
    HWND window_;
    HFONT font_ = nullptr;  // owned; null when the default font is used
    WNDPROC original_ = nullptr;
};

class Win32Timer : public Timer {
public:
    Win32Timer(HWND window, UINT_PTR id, std::int32_t interval) : window_(window), id_(id), interval_(interval) {}
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override;
    std::int32_t Interval() const override { return interval_; }

private:
    HWND window_;
    UINT_PTR id_;
    std::int32_t interval_;
    bool enabled_ = false;
};

class Win32Form : public Form {
public:
    Win32Form(Win32Toolkit& toolkit, const FormSpec& spec, FormEvents& events, HWND owner, HFONT defaultFont);
    ~Win32Form() override;

    Control& control(std::size_t index) override { return *controls_.at(index); }
    Timer& timer(std::size_t index) override { return *timers_.at(index); }
    Text Caption() const override;
    void SetCaption(const Text& caption) override;
    void Refresh() override;
    std::int32_t GetWindowState() const override;
    void SetWindowState(std::int32_t state) override;
    void SetFocus() override;
    double Width() const override;
    double Height() const override;
    void SetWidth(double twips) override;
    void SetHeight(double twips) override;
    void Show(bool modal) override;
    void Unload() override;
    WindowHandle hWnd() const override { return WindowHandle(window_); }

    // True for the top-level windows of our forms, for the message loop.
    static bool IsForm(HWND window);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Activated(WPARAM wParam);  // WM_ACTIVATE
    void Command(WPARAM wParam);    // WM_COMMAND
    void CreateControls(HFONT defaultFont);
    void SetOuterSize(int width, int height);
    // Makes this the active form; its Activate is posted when it was not.
    void BecomeActive();
    void FocusFirstControl();
    void ShowNow();
    void EndModal();
    // Runs the Unload handler; unless it refused, the form goes. True when gone.
    bool Close();

    Win32Toolkit& toolkit_;
    const FormSpec& spec_;
    FormEvents& events_;
    HWND window_ = nullptr;
    std::vector<std::unique_ptr<Win32Control>> controls_;
    std::vector<std::unique_ptr<Win32Timer>> timers_;
    HWND focus_ = nullptr;             // the control to give the focus back to on activation
    bool shown_ = false;               // Resize is reported from the first show on
    bool modal_ = false;               // shown modally: a session end is not its to answer
    std::vector<HWND> modalDisabled_;  // windows a modal show disabled
};
