// Loads the About window with the real toolkit, without showing it, and
// prints the font each control was given (face, height, weight, underline,
// character set), read back from the control with WM_GETFONT. Fonts are
// objects of the process that made them, so this is read in-process; the
// driver's glyph comparison checks the same fonts on the running program.
#include "platform/platform.h"

#include <windows.h>

#include "platform/win32/win32_toolkit.h"
#include "tools/utf8.h"
#include "ui/FrmVer.h"

int wmain() {
    Win32Toolkit toolkit;
    gPlatform.toolkit = &toolkit;
    FrmVer about;
    for (std::size_t i = 0; i < FrmVer::kControlCount; ++i) {
        HWND control = reinterpret_cast<HWND>(about.form().control(i).hWnd());
        LOGFONTW lf{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof lf, &lf);
        std::printf("%s face=%s height=%ld weight=%ld underline=%d charset=%d\n", kFrmVerLayout.controls[i].name,
                    Utf8(reinterpret_cast<const char16_t*>(lf.lfFaceName)).c_str(), long(lf.lfHeight),
                    long(lf.lfWeight), lf.lfUnderline ? 1 : 0, int(lf.lfCharSet));
    }
    return 0;
}
