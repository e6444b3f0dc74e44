// A toolkit probe: a main form whose button opens a modal dialog-style form
// with coloured labels in named fonts, the way the About window is made.
// Every event is printed as it arrives, so that the end-to-end tests can see
// what the real toolkit delivers. A second probe started while one runs
// prints "PrevInstance" and ends. With a number, the text box is filled with
// that many log lines and the lengths set and read back are printed.
#include "platform/platform.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "platform/win32/win32_toolkit.h"

namespace {

constexpr FontSpec kTitle{u"ＭＳ ゴシック", 1800, true, false, Charset::ShiftJis};
constexpr FontSpec kLink{u"ＭＳ Ｐゴシック", 900, false, true, Charset::ShiftJis};
constexpr FontSpec kButton{u"Times New Roman", 1200, true, false, Charset::Ansi};

const ControlSpec kMainControls[] = {
    {"cmdOpen", ControlKind::CommandButton, u"開く", {120, 120, 1215, 375}, 0, -1, kDefaultColor, kDefaultFont, false},
    {"txtLog", ControlKind::TextBox, u"", {120, 600, 2760, 800}, 1, -1, kDefaultColor, kDefaultFont, false},
};
const FormSpec kMain{"frmProbe", u"Probe", BorderStyle::Sizable, true, false,   true,
                     3000,       1500,     kMainControls,        2,    nullptr, 0};

const ControlSpec kModalControls[] = {
    {"Label1", ControlKind::Label, u"Pellory", {120, 120, 4215, 375}, 0, -1, Rgb(0, 0, 128), kTitle, false},
    {"CmdOk", ControlKind::CommandButton, u"OK", {3000, 1560, 1215, 495}, 1, -1, kDefaultColor, kButton, false},
    {"lblURL", ControlKind::Label, u"リンク", {360, 840, 2055, 255}, 2, -1, Rgb(0, 0, 255), kLink, false},
};
const FormSpec kModal{"frmModal", u"モーダル", BorderStyle::FixedDialog, false, false,   false,
                      4400,       2200,        kModalControls,           3,     nullptr, 0};

void Say(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

class ModalEvents : public FormEvents {
public:
    void Activate() override { Say("modal Activate"); }
    void Click(std::size_t control) override {
        std::printf("modal Click %d\n", int(control));
        std::fflush(stdout);
        if (control == 1) form->Unload();
    }
    void MouseUp(std::size_t control, std::int16_t button) override {
        std::printf("modal MouseUp %d %d\n", int(control), int(button));
        std::fflush(stdout);
    }
    void Unload(std::int16_t& /*cancel*/) override { Say("modal Unload"); }
    Form* form = nullptr;
};

class MainEvents : public FormEvents {
public:
    void Activate() override { Say("main Activate"); }
    void Click(std::size_t /*control*/) override {
        ModalEvents events;
        std::unique_ptr<Form> modal = gPlatform.toolkit->LoadForm(kModal, events);
        events.form = modal.get();
        Say("modal Show");
        modal->Show(true);
        Say("modal Show returned");
    }
    void Unload(std::int16_t& /*cancel*/) override { gPlatform.toolkit->End(); }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Win32Toolkit toolkit;
    gPlatform.toolkit = &toolkit;
    if (toolkit.PrevInstance()) {
        Say("PrevInstance");
        return 0;
    }
    MainEvents events;
    std::unique_ptr<Form> main = toolkit.LoadForm(kMain, events);
    main->Show(false);
    // "probe LINES": the text box takes that many log lines and gives them back whole.
    if (argc > 1) {
        const Text line = u"2026/12/07 12:00:00\u3000ダウンロード監視スタート\r\n";
        Text text;
        for (long i = std::wcstol(argv[1], nullptr, 10); i > 0; --i) text += line;
        main->control(1).SetCaption(text);
        std::printf("set=%zu read=%zu\n", text.size(), main->control(1).Caption().size());
        std::fflush(stdout);
    }
    return RunMessageLoop();
}
