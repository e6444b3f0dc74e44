// The small forms toolkit the windows are written against: forms laid out
// from twip rectangles, command buttons, option buttons in a frame, labels,
// a multi-line text box, timers, modal message boxes, the program's end and
// the shell. platform/win32 makes real windows of it; platform/headless keeps
// every property readable for the native tests.
#pragma once
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include "platform/desktop.h"
#include "platform/text.h"

// Message-box styles and answers.
namespace mb {
constexpr std::int32_t OkOnly = 0;
constexpr std::int32_t Critical = 16;
constexpr std::int32_t Exclamation = 48;
constexpr std::int32_t YesNoQuestionDefaultNo = 292;  // Yes/No, question icon, No as default
constexpr std::int32_t IdNo = 7;
}  // namespace mb

// Twips: 1/1440 inch, 15 to the pixel at 96 dots per inch.
struct Twips {
    std::int32_t left, top, width, height;
};

constexpr std::uint32_t kDefaultColor = 0xFFFFFFFFu;
constexpr std::uint32_t Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return std::uint32_t(r) | (std::uint32_t(g) << 8) | (std::uint32_t(b) << 16);
}

enum class Charset : std::uint8_t { Ansi = 0, ShiftJis = 128 };

// A font other than the toolkit's default; `name` null means the default.
struct FontSpec {
    const char16_t* name;
    std::int32_t centiPoints;  // 1125 for 11.25 pt
    bool bold;
    bool underline;
    Charset charset;
};

// The toolkit's default font.
constexpr FontSpec kDefaultFont{nullptr, 0, false, false, Charset::Ansi};

enum class ControlKind { CommandButton, OptionButton, Frame, Label, TextBox };

struct ControlSpec {
    const char* name;  // "cmdStart", "optLog(0)": for traces and tests
    ControlKind kind;
    const char16_t* caption;
    Twips rect;  // relative to the container's client area
    std::int32_t tabIndex;
    std::int32_t container;  // index of the frame holding it, or -1 for the form
    std::uint32_t color;     // kDefaultColor or an Rgb()
    FontSpec font;           // name null for the default font
    bool selected;           // option buttons: selected when created
};

struct TimerSpec {
    const char* name;
    std::int32_t intervalMs;
};

enum class BorderStyle { Sizable, FixedDialog };

struct FormSpec {
    const char* name;
    const char16_t* caption;
    BorderStyle border;
    bool minButton;
    bool maxButton;
    bool showInTaskbar;
    std::int32_t clientWidth, clientHeight;  // twips
    const ControlSpec* controls;
    std::size_t controlCount;
    const TimerSpec* timers;
    std::size_t timerCount;
};

enum WindowState : std::int32_t { Normal = 0, Minimized = 1, Maximized = 2 };

class Control {
public:
    virtual ~Control() = default;
    virtual Text Caption() const = 0;  // a text box's text
    virtual void SetCaption(const Text& caption) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Value() const = 0;  // option buttons: selected
    virtual void SetValue(bool value) = 0;
    virtual void Refresh() = 0;
    virtual WindowHandle hWnd() const = 0;
};

class Timer {
public:
    virtual ~Timer() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual std::int32_t Interval() const = 0;
};

// What a form's owner handles. Every handler runs on the one UI thread, to its
// end, one at a time; an error escaping a handler is reported and ends the
// program.
class FormEvents {
public:
    virtual ~FormEvents() = default;
    virtual void Activate() {}
    virtual void Resize() {}
    // cancel is a 16-bit boolean, -1 for true: setting it refuses the close.
    virtual void Unload(std::int16_t& cancel) { (void)cancel; }
    // Whether Unload would put a question to the user now. Read, not run:
    // a close that comes while a box of ours is open is refused when it
    // would (see RunUnloadHandler).
    virtual bool UnloadAsks() { return false; }
    virtual void Click(std::size_t control) { (void)control; }
    // button: 1 left, 2 right, 4 middle.
    virtual void MouseUp(std::size_t control, std::int16_t button) {
        (void)control;
        (void)button;
    }
    virtual void Tick(std::size_t timer) { (void)timer; }
};

class Form {
public:
    virtual ~Form() = default;
    virtual Control& control(std::size_t index) = 0;
    virtual Timer& timer(std::size_t index) = 0;
    virtual Text Caption() const = 0;
    virtual void SetCaption(const Text& caption) = 0;
    virtual void Refresh() = 0;
    virtual std::int32_t GetWindowState() const = 0;
    virtual void SetWindowState(std::int32_t state) = 0;
    virtual void SetFocus() = 0;
    // Outer size, border and caption included, in twips.
    virtual double Width() const = 0;
    virtual double Height() const = 0;
    virtual void SetWidth(double twips) = 0;
    virtual void SetHeight(double twips) = 0;
    // Modeless, or modal: then returns when the form has been unloaded, and
    // the program's other windows take no input meanwhile.
    // Showing a form makes it the program's active form; its Activate then
    // runs once, after the handler that showed it, whether or not the system
    // activates the window (a start minimised without activation, say).
    virtual void Show(bool modal) = 0;
    virtual void Unload() = 0;
    virtual WindowHandle hWnd() const = 0;
};

class Toolkit {
public:
    virtual ~Toolkit() = default;
    // Creates the form hidden, at the centre of the screen.
    virtual std::unique_ptr<Form> LoadForm(const FormSpec& spec, FormEvents& events) = 0;
    // A modal box; an empty title shows the project title "PelloryV2_0".
    // While one is open, timer ticks are dropped (see RunTickHandler).
    std::int32_t MsgBox(const Text& prompt, std::int32_t style, const Text& title);
    bool BoxOpen() const { return openBoxes_ > 0; }
    // Runs a command line with a window style; raises when it cannot be run.
    virtual double Shell(const Text& commandLine, std::int32_t windowStyle) = 0;
    // True when another instance of this program is already running.
    virtual bool PrevInstance() = 0;
    // Ends the whole program at once: nothing after it runs and no form's
    // Unload is called.
    [[noreturn]] virtual void End() = 0;

    // For the toolkits' forms: which form is the program's active one. A form
    // becomes it when shown or when the system activates its window; true
    // when it was not the active form already, and its Activate is due. So
    // coming back from another program, which leaves it, runs no Activate.
    bool MakeActiveForm(const Form& form);
    // A form gone is the active one no longer: the next form of ours to be
    // activated runs its Activate.
    void FormGone(const Form& form);

protected:
    // Shows the box and returns the answer.
    virtual std::int32_t ShowMsgBox(const Text& prompt, std::int32_t style, const Text& title) = 0;

private:
    int openBoxes_ = 0;
    const Form* activeForm_ = nullptr;
};

constexpr const char16_t* kProjectTitle = u"PelloryV2_0";

// The error box: "number:description" of the error being handled, critical
// icon, OK only, titled `title` (the project title when empty). Call only
// from inside a `catch (const std::exception&)`.
void ShowErrorBox(Toolkit& toolkit, const Text& title);

// Runs the body of a procedure that catches every error raised in it or in
// what it calls: an error ends the body and shows the error box titled with
// the procedure's name; what was done before it stays done. The program's
// end is no std::exception and passes. True when the body ran to its end.
template <class Body>
bool WithErrorBox(Toolkit& toolkit, const Text& title, Body body) {
    try {
        body();
        return true;
    } catch (const std::exception&) {
        ShowErrorBox(toolkit, title);
        return false;
    }
}

// The platform's handling of an error that escaped an event handler: shows
// the error box under the project title and ends the program. Call only from
// inside a `catch (const std::exception&)`.
[[noreturn]] void ReportUncaughtError(Toolkit& toolkit);

// Runs an event handler the way every toolkit does: to its end, or with an
// escaping error reported and the program ended.
template <class Handler>
void RunEventHandler(Toolkit& toolkit, Handler handler) {
    try {
        handler();
    } catch (const std::exception&) {
        ReportUncaughtError(toolkit);
    }
}

// Runs a form's Unload for a close request (its close box, a close from
// another program, a log-off or shutdown, the program's own unload); true
// when the form may go. While a box of ours is open, an Unload that would
// ask is not run and the close is refused: its question would open inside
// the handler that asked first, and the user answers that one first. One
// that would not ask runs even then: it ends the program (or lets a form
// go), and nothing of the handler under the box runs after it.
bool RunUnloadHandler(Toolkit& toolkit, FormEvents& events);

// Runs a timer's tick handler as an event handler, unless a message box is
// open: a box's own message loop would otherwise run the tick inside the
// handler that asked, before its answer is read (a watch ending under its
// cancel question, a failing tick nesting error boxes). Such a tick is
// dropped, not kept for later; the timer runs on. True when it ran.
template <class Handler>
bool RunTickHandler(Toolkit& toolkit, Handler handler) {
    if (toolkit.BoxOpen()) return false;
    RunEventHandler(toolkit, handler);
    return true;
}
