#include "platform/headless/headless_toolkit.h"

#include <algorithm>

#include "platform/headless/utf8.h"

namespace {
std::string Flag(bool value) { return value ? "True" : "False"; }
}  // namespace

class HeadlessForm::HeadlessControl : public Control {
public:
    HeadlessControl(HeadlessForm& form, const ControlSpec& spec, WindowHandle handle)
        : form_(form),
          spec_(spec),
          caption_(spec.caption ? spec.caption : u""),
          value_(spec.selected),
          handle_(handle) {}
    Text Caption() const override { return caption_; }
    void SetCaption(const Text& caption) override {
        caption_ = caption;
        Record("Caption=" + ToUtf8(caption));
    }
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override {
        enabled_ = enabled;
        Record("Enabled=" + Flag(enabled));
    }
    bool Value() const override { return value_; }
    void SetValue(bool value) override {
        Record("Value=" + Flag(value));
        Select(value);
    }
    // An option button being selected clears the others of its container.
    void Select(bool value) {
        if (value && spec_.kind == ControlKind::OptionButton) {
            for (auto& other : form_.controls_)
                if (other.get() != this && other->spec_.kind == ControlKind::OptionButton &&
                    other->spec_.container == spec_.container)
                    other->value_ = false;
        }
        value_ = value;
    }
    void Refresh() override { Record("Refresh"); }
    WindowHandle hWnd() const override { return handle_; }
    const ControlSpec& Spec() const { return spec_; }

private:
    void Record(const std::string& operation) { form_.toolkit_.Record(spec_.name, operation); }

    HeadlessForm& form_;
    const ControlSpec& spec_;
    Text caption_;
    bool enabled_ = true;
    bool value_;
    WindowHandle handle_;
};

class HeadlessForm::HeadlessTimer : public Timer {
public:
    HeadlessTimer(HeadlessToolkit& toolkit, const TimerSpec& spec) : toolkit_(toolkit), spec_(spec) {}
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override {
        enabled_ = enabled;
        toolkit_.Record(spec_.name, "Enabled=" + Flag(enabled));
    }
    std::int32_t Interval() const override { return spec_.intervalMs; }

private:
    HeadlessToolkit& toolkit_;
    const TimerSpec& spec_;
    bool enabled_ = false;
};

HeadlessForm::HeadlessForm(HeadlessToolkit& toolkit, const FormSpec& spec, FormEvents& events, WindowHandle handle)
    : toolkit_(toolkit), spec_(spec), events_(events), handle_(handle), caption_(spec.caption) {
    const bool sizable = spec.border == BorderStyle::Sizable;
    width_ = spec.clientWidth + (sizable ? kSizableFrameWidth : kFixedFrameWidth);
    height_ = spec.clientHeight + (sizable ? kSizableFrameHeight : kFixedFrameHeight);
    for (std::size_t i = 0; i < spec.controlCount; ++i)
        controls_.push_back(std::make_unique<HeadlessControl>(*this, spec.controls[i], handle + 1 + WindowHandle(i)));
    for (std::size_t i = 0; i < spec.timerCount; ++i)
        timers_.push_back(std::make_unique<HeadlessTimer>(toolkit, spec.timers[i]));
}

HeadlessForm::~HeadlessForm() {
    toolkit_.FormGone(*this);
    auto& posted = toolkit_.posted_;
    posted.erase(std::remove(posted.begin(), posted.end(), this), posted.end());
}

Control& HeadlessForm::control(std::size_t index) { return *controls_.at(index); }
Timer& HeadlessForm::timer(std::size_t index) { return *timers_.at(index); }

void HeadlessForm::SetCaption(const Text& caption) {
    caption_ = caption;
    Record("Caption=" + ToUtf8(caption));
}

void HeadlessForm::Refresh() { Record("Refresh"); }

void HeadlessForm::SetWindowState(std::int32_t state) {
    Record("WindowState=" + std::to_string(state));
    UserSetWindowState(state);
}

void HeadlessForm::SetFocus() { Record("SetFocus"); }

void HeadlessForm::SetWidth(double twips) {
    Record("Width=" + std::to_string(std::int64_t(twips)));
    const bool changed = twips != width_;
    width_ = twips;
    if (changed && visible_) RunEventHandler(toolkit_, [this] { events_.Resize(); });
}

void HeadlessForm::SetHeight(double twips) {
    Record("Height=" + std::to_string(std::int64_t(twips)));
    const bool changed = twips != height_;
    height_ = twips;
    if (changed && visible_) RunEventHandler(toolkit_, [this] { events_.Resize(); });
}

void HeadlessForm::Show(bool modal) {
    Record(modal ? "Show(modal)" : "Show");
    visible_ = true;
    if (toolkit_.MakeActiveForm(*this)) toolkit_.posted_.push_back(this);
    if (!modal) return;
    toolkit_.DeliverPosted();  // the modal form's own loop, before the user acts
    if (toolkit_.modalHook) toolkit_.modalHook(*this);
}

void HeadlessForm::Unload() {
    Record("Unload");
    Close();
}

bool HeadlessForm::Usable(std::size_t index) const {
    const ControlSpec& spec = controls_.at(index)->Spec();
    if (!loaded_ || !controls_[index]->Enabled()) return false;
    return spec.container < 0 || controls_.at(std::size_t(spec.container))->Enabled();
}

bool HeadlessForm::Click(std::size_t index) {
    if (!Usable(index)) return false;
    if (controls_[index]->Spec().kind == ControlKind::OptionButton) controls_[index]->Select(true);
    RunEventHandler(toolkit_, [&] { events_.Click(index); });
    return true;
}

bool HeadlessForm::MouseUp(std::size_t index, std::int16_t button) {
    if (!Usable(index)) return false;
    RunEventHandler(toolkit_, [&] { events_.MouseUp(index, button); });
    return true;
}

bool HeadlessForm::Tick(std::size_t index) {
    if (!loaded_ || !timers_.at(index)->Enabled()) return false;
    return RunTickHandler(toolkit_, [&] { events_.Tick(index); });
}

void HeadlessForm::Activate() {
    if (toolkit_.MakeActiveForm(*this)) RunActivate();
}

void HeadlessForm::RunActivate() {
    if (loaded_) RunEventHandler(toolkit_, [this] { events_.Activate(); });
}

void HeadlessForm::UserResize(double width, double height) {
    width_ = width;
    height_ = height;
    RunEventHandler(toolkit_, [this] { events_.Resize(); });
}

void HeadlessForm::UserSetWindowState(std::int32_t state) {
    if (state == state_) return;
    state_ = state;
    RunEventHandler(toolkit_, [this] { events_.Resize(); });
}

void HeadlessForm::Close() {
    if (RunUnloadHandler(toolkit_, events_)) {
        visible_ = false;
        loaded_ = false;
        toolkit_.FormGone(*this);
    }
}
