// Stand-ins for the one control and the message box that the log and the
// shutdown use, for native tests and benchmarks.
#pragma once
#include <cstdlib>
#include <vector>
#include "platform/toolkit.h"

// A text box: keeps its text and counts how often it was set.
class TextBoxStub : public Control {
public:
    explicit TextBoxStub(WindowHandle handle = 0x5150) : handle_(handle) {}
    Text Caption() const override { return text_; }
    void SetCaption(const Text& caption) override {
        text_ = caption;
        ++sets_;
    }
    bool Enabled() const override { return true; }
    void SetEnabled(bool /*enabled*/) override {}
    bool Value() const override { return false; }
    void SetValue(bool /*value*/) override {}
    void Refresh() override {}
    WindowHandle hWnd() const override { return handle_; }
    int Sets() const { return sets_; }

private:
    WindowHandle handle_;
    Text text_;
    int sets_ = 0;
};

struct ShownBox {
    Text prompt;
    std::int32_t style;
    Text title;
};

// Records the message boxes; forms, the shell and the program's end are not
// needed here.
class MsgBoxRecorder : public Toolkit {
public:
    std::vector<ShownBox> boxes;
    std::unique_ptr<Form> LoadForm(const FormSpec& /*spec*/, FormEvents& /*events*/) override { return nullptr; }
    std::int32_t ShowMsgBox(const Text& prompt, std::int32_t style, const Text& title) override {
        boxes.push_back({prompt, style, title});
        return 1;
    }
    double Shell(const Text& /*commandLine*/, std::int32_t /*windowStyle*/) override { return 0; }
    bool PrevInstance() override { return false; }
    [[noreturn]] void End() override { std::abort(); }
};
