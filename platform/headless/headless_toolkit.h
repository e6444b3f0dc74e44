// The toolkit for the native tests: forms that exist only as readable state,
// one ordered trace of every change the program makes ("fraLog.Enabled=False",
// "frmPellory.Refresh", ...), timers and user actions driven by the test,
// message boxes answered by a scripted responder, and End() thrown as
// ProgramEnded, which is no std::exception so that no error handler catches it.
#pragma once
#include <functional>
#include <string>
#include <vector>
#include "platform/toolkit.h"

// Thrown by End(): the program has ended; nothing after it may run.
struct ProgramEnded {};

struct MsgBoxCall {
    Text prompt;
    std::int32_t style;
    Text title;  // as shown: the project title when none was given
};

struct ShellCall {
    Text commandLine;
    std::int32_t windowStyle;
};

class HeadlessForm;

class HeadlessToolkit : public Toolkit {
public:
    std::unique_ptr<Form> LoadForm(const FormSpec& spec, FormEvents& events) override;
    double Shell(const Text& commandLine, std::int32_t windowStyle) override;
    bool PrevInstance() override { return prevInstance; }
    [[noreturn]] void End() override;

    // Everything the program did, in order.
    std::vector<std::string> trace;
    // The message boxes shown; each is answered by `responder` (OK when unset),
    // which stands for the user while the box is open: a tick it drives is
    // dropped.
    std::vector<MsgBoxCall> boxes;
    std::function<std::int32_t(const MsgBoxCall&)> responder;
    // Shell calls; when `shellError` is not 0 each one raises that error.
    std::vector<ShellCall> shells;
    std::int32_t shellError = 0;
    bool prevInstance = false;
    bool ended = false;
    // Runs inside a modal Show, standing in for the user of the modal form.
    std::function<void(HeadlessForm&)> modalHook;

    // Runs what the toolkit posted to run after the handler at work (a shown
    // form's Activate), in order, as the message loop would next.
    void DeliverPosted();

    // The trace entries recorded since `mark` (a former trace.size()).
    std::vector<std::string> TraceSince(std::size_t mark) const;
    void Record(const std::string& target, const std::string& operation);

protected:
    std::int32_t ShowMsgBox(const Text& prompt, std::int32_t style, const Text& title) override;

private:
    friend class HeadlessForm;
    std::vector<HeadlessForm*> posted_;  // forms whose Activate is due
};

// Event dispatch and the user's actions. Every event runs its handler the way
// the real toolkit does: an error escaping it goes to ReportUncaughtError.
class HeadlessForm : public Form {
public:
    HeadlessForm(HeadlessToolkit& toolkit, const FormSpec& spec, FormEvents& events, WindowHandle handle);
    ~HeadlessForm() override;

    Control& control(std::size_t index) override;
    Timer& timer(std::size_t index) override;
    Text Caption() const override { return caption_; }
    void SetCaption(const Text& caption) override;
    void Refresh() override;
    std::int32_t GetWindowState() const override { return state_; }
    void SetWindowState(std::int32_t state) override;
    void SetFocus() override;
    double Width() const override { return width_; }
    double Height() const override { return height_; }
    void SetWidth(double twips) override;
    void SetHeight(double twips) override;
    void Show(bool modal) override;
    void Unload() override;
    WindowHandle hWnd() const override { return handle_; }

    bool Visible() const { return visible_; }
    bool Loaded() const { return loaded_; }
    const FormSpec& Spec() const { return spec_; }
    // The control's own enabled state and its frame's: what a click needs.
    bool Usable(std::size_t index) const;

    // What the system delivers. A click on a control that is not usable, a
    // tick of a disabled timer and a tick while a message box is open do
    // nothing and return false; a click on an option button selects it first.
    bool Click(std::size_t index);
    bool MouseUp(std::size_t index, std::int16_t button);
    bool Tick(std::size_t index);
    // The system activates the window (a click on it, a return from another
    // program): Activate runs only when another form of ours was the active one.
    void Activate();
    // The user drags a border, or minimises, maximises or restores the window.
    void UserResize(double width, double height);
    void UserSetWindowState(std::int32_t state);
    // The close box: Unload with the cancel flag, then gone unless refused.
    void Close();

    // Outer size for a client area, by border style, as a frame would add.
    static constexpr double kSizableFrameWidth = 240, kSizableFrameHeight = 690;
    static constexpr double kFixedFrameWidth = 90, kFixedFrameHeight = 465;

private:
    class HeadlessControl;
    class HeadlessTimer;
    void Record(const std::string& operation) { toolkit_.Record(spec_.name, operation); }
    void RunActivate();
    friend class HeadlessToolkit;  // delivers the posted Activate

    HeadlessToolkit& toolkit_;
    const FormSpec& spec_;
    FormEvents& events_;
    WindowHandle handle_;
    std::vector<std::unique_ptr<HeadlessControl>> controls_;
    std::vector<std::unique_ptr<HeadlessTimer>> timers_;
    Text caption_;
    std::int32_t state_ = Normal;
    double width_, height_;
    bool visible_ = false;
    bool loaded_ = true;
};
