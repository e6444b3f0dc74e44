// Loads the About window with the real toolkit, without showing it, and
// prints the font each control was given (face, height, weight, underline,
// character set), read back from the control with WM_GETFONT. Fonts are
// objects of the process that made them, so this is read in-process; the
// driver's glyph comparison checks the same fonts on the running program.
//
// With the argument "fit" it loads the main window as well and prints, for
// each control in the toolkit's default font, that font and whether the
// control's caption as shown fits inside it on one line:
//   FORM.NAME face=F height=H text=WxH room=WxH fits=0|1
#include "platform/platform.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "platform/win32/win32_toolkit.h"
#include "tools/utf8.h"
#include "ui/FrmVer.h"
#include "ui/frmPellory.h"

namespace {

LOGFONTW FontOf(HWND control) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf;
}

// The room a control leaves its caption: a push button its edges, an option
// button what its mark does not take, a frame what its corners leave of the
// top line; a label all of it.
SIZE Room(HWND control, ControlKind kind) {
    RECT r{};
    GetClientRect(control, &r);
    SIZE room{r.right, r.bottom};
    const int edgeX = GetSystemMetrics(SM_CXEDGE);
    const int edgeY = GetSystemMetrics(SM_CYEDGE);
    if (kind == ControlKind::CommandButton) room = {room.cx - 2 * edgeX, room.cy - 2 * edgeY};
    if (kind == ControlKind::OptionButton) room.cx -= GetSystemMetrics(SM_CXMENUCHECK) + edgeX;
    if (kind == ControlKind::Frame) room.cx -= 4 * edgeX;
    return room;
}

void PrintFits(const char* formName, const FormSpec& spec, Form& form) {
    for (std::size_t i = 0; i < spec.controlCount; ++i) {
        const ControlSpec& control = spec.controls[i];
        const Text caption = form.control(i).Caption();
        if (control.font.name || caption.empty()) continue;
        HWND window = reinterpret_cast<HWND>(form.control(i).hWnd());
        const LOGFONTW lf = FontOf(window);
        HDC dc = GetDC(window);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
        RECT text{0, 0, 0, 0};
        DrawTextW(dc, reinterpret_cast<const wchar_t*>(caption.c_str()), -1, &text, DT_CALCRECT | DT_SINGLELINE);
        SelectObject(dc, old);
        ReleaseDC(window, dc);
        const SIZE room = Room(window, control.kind);
        const bool fits = text.right <= room.cx && text.bottom <= room.cy;
        std::printf("%s.%s face=%s height=%ld text=%ldx%ld room=%ldx%ld fits=%d\n", formName, control.name,
                    Utf8(reinterpret_cast<const char16_t*>(lf.lfFaceName)).c_str(), long(lf.lfHeight), long(text.right),
                    long(text.bottom), long(room.cx), long(room.cy), fits ? 1 : 0);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Win32Toolkit toolkit;
    gPlatform.toolkit = &toolkit;
    FrmVer about;
    if (argc > 1 && std::wcscmp(argv[1], L"fit") == 0) {
        frmPelloryEvents events;
        frmPellory main(events);
        PrintFits("frmPellory", kFrmPelloryLayout, main.form());
        PrintFits("FrmVer", kFrmVerLayout, about.form());
        return 0;
    }
    for (std::size_t i = 0; i < FrmVer::kControlCount; ++i) {
        const LOGFONTW lf = FontOf(reinterpret_cast<HWND>(about.form().control(i).hWnd()));
        std::printf("%s face=%s height=%ld weight=%ld underline=%d charset=%d\n", kFrmVerLayout.controls[i].name,
                    Utf8(reinterpret_cast<const char16_t*>(lf.lfFaceName)).c_str(), long(lf.lfHeight),
                    long(lf.lfWeight), lf.lfUnderline ? 1 : 0, int(lf.lfCharSet));
    }
    return 0;
}
