// Fonts: the font each control draws with, and whether its text's pixels
// are that text drawn here in a given font and colour.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "tools/driver/commands.h"
#include "tools/driver/console.h"
#include "tools/driver/pixels.h"
#include "tools/driver/window_queries.h"

namespace driver {

using std::wstring;

namespace {

// The index of pixel (x, y) in a picture `width` pixels wide, row by row.
std::size_t PixelAt(int x, int y, int width) { return std::size_t(y) * std::size_t(width) + std::size_t(x); }

// Which pixels of a picture have exactly the colour `ink`, cut to the
// smallest rectangle that holds them all, as rows of 0 and 1.
std::vector<wstring> InkMask(const std::vector<COLORREF>& pixels, int width, int height, COLORREF ink) {
    int left = width;
    int right = -1;
    int top = height;
    int bottom = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (pixels[PixelAt(x, y, width)] == ink) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    std::vector<wstring> rows;
    for (int y = top; y <= bottom; ++y) {
        wstring row;
        for (int x = left; x <= right; ++x) row += pixels[PixelAt(x, y, width)] == ink ? L'1' : L'0';
        rows.push_back(row);
    }
    return rows;
}

// The pixels that differ between two masks, or -1 when the text covers a
// rectangle of another size.
long MaskDifferences(const std::vector<wstring>& a, const std::vector<wstring>& b) {
    if (a.size() != b.size() || (!a.empty() && a[0].size() != b[0].size())) return -1;
    long differences = 0;
    for (std::size_t y = 0; y < a.size(); ++y)
        for (std::size_t x = 0; x < a[y].size(); ++x)
            if (a[y][x] != b[y][x]) ++differences;
    return differences;
}

long InkCount(const std::vector<wstring>& mask) {
    long count = 0;
    for (const wstring& row : mask) count += long(std::count(row.begin(), row.end(), L'1'));
    return count;
}

// The control's text drawn here on one line, as a label or a button draws
// it, in the given font and colour on the control's own background colour.
// A label's text is not cut at the control's right edge, so that a label too
// narrow for its text, which wraps or cuts it, shows different pixels.
// `text` gets the rectangle a button's centred text takes.
std::vector<COLORREF> Reference(HWND control, int width, int height, HFONT font, COLORREF ink, COLORREF background,
                                int pictureWidth, RECT& text) {
    Picture picture(std::max(pictureWidth, height));
    const RECT all{0, 0, pictureWidth, height};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(picture.dc(), &all, brush);
    DeleteObject(brush);
    HGDIOBJ old = SelectObject(picture.dc(), font);
    SetTextColor(picture.dc(), ink);
    SetBkMode(picture.dc(), TRANSPARENT);
    const wstring caption = Text(control);
    const bool button = ClassOf(control) == L"Button";
    RECT box{0, 0, button ? width : pictureWidth, height};
    const UINT format = DT_SINGLELINE | DT_EXPANDTABS | (button ? DT_CENTER | DT_VCENTER : DT_LEFT);
    DrawTextW(picture.dc(), caption.c_str(), -1, &box, format);
    text = box;
    DrawTextW(picture.dc(), caption.c_str(), -1, &text, format | DT_CALCRECT);
    OffsetRect(&text, (width - text.right) / 2, (height - text.bottom) / 2);
    SelectObject(picture.dc(), old);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < pictureWidth; ++x) pixels.push_back(picture.At(x, y));
    return pixels;
}

}  // namespace

// The font a control draws with: face, height, weight, underline, charset.
int FontsCommand(const Request& request) {
    for (HWND child : Descendants(Window(request))) {
        auto* font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
        LOGFONTW lf{};
        if (!font || !GetObjectW(font, sizeof lf, &lf)) {
            Print(L"font=none text=" + Text(child));
            continue;
        }
        Print(L"face=" + wstring(lf.lfFaceName) + L" height=" + Number(lf.lfHeight) + L" weight=" +
              Number(lf.lfWeight) + L" underline=" + Number(lf.lfUnderline ? 1 : 0) + L" charset=" +
              Number(lf.lfCharSet) + L" text=" + Text(child));
    }
    return 0;
}

int GlyphsCommand(const Request& request) {
    const std::vector<wstring>& w = request.words;
    HWND control = ControlWithText(Window(request), w[2]);
    LOGFONTW lf{};
    int centiPoints = _wtoi(w[4].c_str());
    if (w[3] == L"default") {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
        lf = metrics.lfMessageFont;
        lf.lfWidth = 0;
        centiPoints = 900;
    } else {
        lf.lfWeight = w[5] == L"1" ? FW_BOLD : FW_NORMAL;
        lf.lfUnderline = w[6] == L"1" ? TRUE : FALSE;
        lf.lfCharSet = BYTE(_wtoi(w[7].c_str()));
        wcsncpy(lf.lfFaceName, w[3].c_str(), LF_FACESIZE - 1);
    }
    HDC screen = GetDC(nullptr);
    lf.lfHeight = -MulDiv(centiPoints, GetDeviceCaps(screen, LOGPIXELSY), 7200);
    ReleaseDC(nullptr, screen);
    const COLORREF ink =
        RGB(std::wcstoul(w[8].substr(0, 2).c_str(), nullptr, 16), std::wcstoul(w[8].substr(2, 2).c_str(), nullptr, 16),
            std::wcstoul(w[8].substr(4, 2).c_str(), nullptr, 16));
    int width = 0;
    int height = 0;
    const std::vector<COLORREF> live = Capture(control, width, height);
    const auto counts = Histogram(live);
    HFONT font = CreateFontIndirectW(&lf);
    // The live pixels widened with background to the reference's width.
    const int pictureWidth = width + 200;
    std::vector<COLORREF> shown(PixelAt(0, height, pictureWidth), counts.at(0).first);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) shown[PixelAt(x, y, pictureWidth)] = live[PixelAt(x, y, width)];
    RECT text{};
    std::vector<COLORREF> drawn = Reference(control, width, height, font, ink, counts.at(0).first, pictureWidth, text);
    DeleteObject(font);
    // A button's frame and focus mark may share the text's colour: only the
    // pixels of its text count.
    if (ClassOf(control) == L"Button") {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < pictureWidth; ++x)
                if (!PtInRect(&text, POINT{x, y}))
                    shown[PixelAt(x, y, pictureWidth)] = drawn[PixelAt(x, y, pictureWidth)] = CLR_INVALID;
    }
    const std::vector<wstring> a = InkMask(shown, pictureWidth, height, ink);
    const std::vector<wstring> b = InkMask(drawn, pictureWidth, height, ink);
    Print(L"live=" + Number(InkCount(a)) + L" drawn=" + Number(InkCount(b)) + L" differences=" +
          Number(MaskDifferences(a, b)) + L" box=" + Number(a.empty() ? 0 : long(a[0].size())) + L"x" +
          Number(long(a.size())) + L" text=" + w[2]);
    return 0;
}

}  // namespace driver
