#include "platform/win32/dpi.h"

#include <windows.h>

int ScreenDpi() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int value = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return dpi;
}

int TwipsToPixels(int twips) { return MulDiv(twips, ScreenDpi(), 1440); }

double PixelsToTwips(int pixels) { return pixels * 1440.0 / ScreenDpi(); }

int FontHeight(int centiPoints) { return -MulDiv(centiPoints, ScreenDpi(), 7200); }
