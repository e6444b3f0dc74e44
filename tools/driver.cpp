// Desktop driver for the end-to-end tests: finds windows by caption, lists
// their controls, clicks buttons, answers message boxes, closes, sizes and
// measures windows. Output is UTF-8, one fact per line, for grep and awk.
//
//   driver list                                   visible top-level windows
//   driver find CAPTION [--prefix] [--timeout MS] handle and caption
//   driver wait CAPTION [--prefix] [--gone] [--timeout MS]
//   driver controls CAPTION [--prefix]            every descendant control, its own text
//   driver rect CAPTION [--prefix]                rectangles, state, owner, taskbar style, foreground
//   driver dpi
//   driver click CAPTION BUTTON [--prefix]        BM_CLICK on an enabled button
//   driver mouseup CAPTION TEXT BUTTON            a mouse button released over a control
//   driver fonts CAPTION [--prefix]               each control's font (WM_GETFONT)
//   driver ink CAPTION [--prefix]                 each control's text colour, read off the screen
//   driver glyphs CAPTION TEXT FACE CENTIPOINTS BOLD UNDERLINE CHARSET RRGGBB
//                                                 compares the control's text pixels with the text
//                                                 drawn here in that font (FACE "default": the
//                                                 toolkit's default, the system's message font's
//                                                 face at 9 pt) and colour
//   driver focus CAPTION [--prefix]               the control that has the input focus
//   driver key CAPTION escape|enter [--prefix]    a key pressed and released on the focus
//   driver msgbox [--title T] [--press BUTTON] [--timeout MS]
//   driver close CAPTION [--prefix] [--sent [--timeout MS]]
//                                                 WM_CLOSE, posted; sent: prints handled once the
//                                                 window has handled it, or no answer after MS
//   driver endsession CAPTION [--timeout MS]      a log-off, asked as Windows asks it: WM_QUERYENDSESSION,
//                                                 then WM_ENDSESSION with the answer; prints answer=1 (it
//                                                 may go on) or answer=0 (refused), waiting up to MS for it
//   driver size CAPTION WIDTH HEIGHT [--prefix]   outer size in pixels
//   driver show CAPTION min|max|restore|front [--prefix]
//   driver scanfault CAPTION [--prefix]           every later window scan of the window's
//                                                 program fails (tools/hook/scan_fault_hook.cpp)
//   driver strictloader CAPTION [--prefix]        the window's program's LoadLibraryExW refuses
//                                                 LOAD_WITH_ALTERED_SEARCH_PATH, as Windows is reported
//                                                 to after SetDefaultDllDirectories; its loads are
//                                                 written to strict_loader.txt beside the driver
//                                                 (tools/hook/strict_loader_hook.cpp)
//
// CAPTION matches exactly, or as a prefix (--prefix), or anywhere (--contains).
// Texts may be given as UTF-8 in the Japanese locale, with \uXXXX escapes,
// or as @FILE holding UTF-8. Exit status: 0 done, 1 not found or timed out,
// 2 bad usage, 3 the button is disabled.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "tools/hook/hook_thread.h"

namespace {

using std::wstring;

void Print(const wstring& line) {
    const wstring text = line + L"\n";
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(std::size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), &bytes[0], n, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), DWORD(bytes.size()), &written, nullptr);
}

wstring FromUtf8(const std::string& bytes) {
    int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    wstring text(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), &text[0], n);
    return text;
}

// "@file" reads UTF-8 from a file; "\uXXXX" stands for one UTF-16 unit.
wstring Argument(const wstring& arg) {
    if (arg.size() > 1 && arg[0] == L'@') {
        std::string bytes;
        if (FILE* f = _wfopen(arg.c_str() + 1, L"rb")) {
            char buffer[4096];
            for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
            fclose(f);
        }
        while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) bytes.pop_back();
        return FromUtf8(bytes);
    }
    wstring out;
    for (std::size_t i = 0; i < arg.size(); ++i) {
        if (arg[i] == L'\\' && i + 5 < arg.size() && arg[i + 1] == L'u') {
            out += wchar_t(std::wcstoul(arg.substr(i + 2, 4).c_str(), nullptr, 16));
            i += 5;
        } else {
            out += arg[i];
        }
    }
    return out;
}

wstring Text(HWND window) {
    wstring text(std::size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(window, &text[0], int(text.size()))));
    return text;
}

wstring ClassOf(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

wstring Hex(HWND window) {
    wchar_t buffer[32];
    swprintf(buffer, 32, L"0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return buffer;
}

wstring Number(long long value) { return std::to_wstring(value); }

// Button texts are compared without their access-key ampersands.
wstring WithoutAmpersands(const wstring& text) {
    wstring out;
    for (wchar_t c : text)
        if (c != L'&') out += c;
    return out;
}

struct Options {
    std::vector<wstring> words;
    bool prefix = false, contains = false, gone = false, sent = false;
    DWORD timeout = 10000;
    wstring title, press;
};

// Libraries of tools/hook/ hooked onto the thread of the window's program.
struct HookCommand {
    const wchar_t* command;
    const wchar_t* library;
    const char* procedure;
    const wchar_t* done;
};
const HookCommand kHookCommands[] = {
    {L"scanfault", L"scan_fault_hook.dll", "ScanFaultHook", L"scans fail from now on: "},
    {L"strictloader", L"strict_loader_hook.dll", "StrictLoaderHook", L"the loader is strict from now on: "},
};

struct Search {
    const Options* options;
    const wstring* caption;
    const wchar_t* className;
    std::vector<HWND> found;
};

bool Matches(const Options& options, const wstring& text, const wstring& wanted) {
    if (options.contains) return text.find(wanted) != wstring::npos;
    return options.prefix ? text.compare(0, wanted.size(), wanted) == 0 : text == wanted;
}

BOOL CALLBACK Collect(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (!IsWindowVisible(window)) return TRUE;
    if (search->className && ClassOf(window) != search->className) return TRUE;
    if (search->caption && !Matches(*search->options, Text(window), *search->caption)) return TRUE;
    search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> TopWindows(const Options& options, const wstring* caption, const wchar_t* className) {
    Search search{&options, caption, className, {}};
    EnumWindows(&Collect, LPARAM(&search));
    return search.found;
}

// The first visible top-level window with the caption, waiting up to the timeout.
HWND WaitFor(const Options& options, const wstring& caption, const wchar_t* className = nullptr) {
    const DWORD start = GetTickCount();
    for (;;) {
        std::vector<HWND> found = TopWindows(options, caption.empty() ? nullptr : &caption, className);
        if (!found.empty()) return found.front();
        if (GetTickCount() - start >= options.timeout) return nullptr;
        Sleep(100);
    }
}

HWND Require(const Options& options, const wstring& caption) {
    HWND window = WaitFor(options, caption);
    if (!window) {
        Print(L"not found: " + caption);
        std::exit(1);
    }
    return window;
}

RECT ClientRelative(HWND top, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

wstring RectText(const RECT& r) {
    return Number(r.left) + L"," + Number(r.top) + L"," + Number(r.right - r.left) + L"," + Number(r.bottom - r.top);
}

bool IsCheckable(HWND window) {
    if (ClassOf(window) != L"Button") return false;
    const LONG type = GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON || type == BS_CHECKBOX || type == BS_AUTOCHECKBOX;
}

// Enabled as the user sees it: the control and every window it sits in, up
// to its top-level window (whose owner, disabled under a modal box, does not count).
bool Usable(HWND window) {
    for (HWND w = window; w; w = (GetWindowLongW(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr)
        if (!IsWindowEnabled(w)) return false;
    return true;
}

struct Children {
    HWND top;
    std::vector<HWND> list;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    reinterpret_cast<Children*>(param)->list.push_back(window);
    return TRUE;
}

std::vector<HWND> Descendants(HWND top) {
    Children children{top, {}};
    EnumChildWindows(top, &CollectChild, LPARAM(&children));
    return children.list;
}

// A control's text as the control itself holds it: GetWindowText does not
// ask a control of another process (an edit control keeps its own text).
// Line ends are shown as \r and \n, so that each control stays on one line.
wstring ControlText(HWND control) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return Text(control);
    wstring text(std::size_t(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, WPARAM(text.size()), LPARAM(&text[0]), SMTO_ABORTIFHUNG, 2000, &copied);
    text.resize(std::size_t(copied));
    wstring shown;
    for (wchar_t c : text) shown += c == L'\r' ? wstring(L"\\r") : c == L'\n' ? wstring(L"\\n") : wstring(1, c);
    return shown;
}

void ListControls(HWND top) {
    for (HWND child : Descendants(top)) {
        HWND parent = GetParent(child);
        Print(L"id=" + Number(GetDlgCtrlID(child)) + L" class=" + ClassOf(child) + L" parent=" +
              (parent == top ? wstring(L"form") : ClassOf(parent) + L":" + Number(GetDlgCtrlID(parent))) +
              L" enabled=" + Number(IsWindowEnabled(child) ? 1 : 0) + L" checked=" +
              Number(IsCheckable(child) && SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED) + L" visible=" +
              Number(IsWindowVisible(child) ? 1 : 0) + L" rect=" + RectText(ClientRelative(top, child)) + L" text=" +
              ControlText(child));
    }
}

HWND FindButton(HWND top, const wstring& text) {
    const wstring wanted = WithoutAmpersands(text);
    for (HWND child : Descendants(top)) {
        if (ClassOf(child) != L"Button") continue;
        const wstring shown = WithoutAmpersands(Text(child));
        if (shown == wanted || (!wanted.empty() && shown.compare(0, wanted.size(), wanted) == 0)) return child;
        if (!wanted.empty() && iswdigit(wanted[0]) && GetDlgCtrlID(child) == _wtoi(wanted.c_str())) return child;
    }
    return nullptr;
}

int Click(HWND top, const wstring& text) {
    HWND button = FindButton(top, text);
    if (!button) {
        Print(L"no button: " + text);
        return 1;
    }
    if (!Usable(button)) {
        Print(L"disabled: " + text);
        return 3;
    }
    // Posted: the click's handler may open a modal box and not return for a while.
    PostMessageW(button, BM_CLICK, 0, 0);
    Print(L"clicked: " + Text(button));
    return 0;
}

// A square memory picture to draw on and read pixels from.
class Picture {
public:
    explicit Picture(int size) : size_(size) {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, size, size);
        ReleaseDC(nullptr, screen);
        SelectObject(dc_, bitmap_);
    }
    ~Picture() {
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    int Differences(const Picture& other) const {
        int count = 0;
        for (int y = 0; y < size_; ++y)
            for (int x = 0; x < size_; ++x) count += At(x, y) != other.At(x, y);
        return count;
    }

private:
    int size_;
    HDC dc_;
    HBITMAP bitmap_;
};

// Which standard icon a message box shows, told by drawing each candidate
// over the box's background and keeping the one that matches the screen.
// The box must not be covered by another window.
wstring IconKind(HWND box) {
    HWND icon = nullptr;
    for (HWND child : Descendants(box))
        if (ClassOf(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            IsWindowVisible(child) && SendMessageW(child, STM_GETICON, 0, 0) != 0)
            icon = child;
    if (!icon) return L"none";
    RECT r{};
    GetWindowRect(icon, &r);
    const int size = GetSystemMetrics(SM_CXICON);
    Picture shot(size);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.dc(), 0, 0, size, size, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    HBRUSH background = CreateSolidBrush(shot.At(0, 0));
    const RECT all{0, 0, size, size};
    struct Candidate {
        const wchar_t* name;
        LPCWSTR id;
    };
    const Candidate candidates[] = {{L"critical", IDI_HAND},
                                    {L"question", IDI_QUESTION},
                                    {L"warning", IDI_EXCLAMATION},
                                    {L"information", IDI_ASTERISK}};
    wstring best = L"unknown";
    int bestDifferences = size * size / 10;  // more than a tenth of the pixels off is no match
    for (const Candidate& c : candidates) {
        Picture drawn(size);
        FillRect(drawn.dc(), &all, background);
        DrawIconEx(drawn.dc(), 0, 0, LoadIconW(nullptr, c.id), size, size, 0, nullptr, DI_NORMAL);
        const int differences = drawn.Differences(shot);
        if (differences < bestDifferences) {
            bestDifferences = differences;
            best = c.name;
        }
    }
    DeleteObject(background);
    return best;
}

int MessageBoxCommand(const Options& options) {
    Options byClass = options;
    byClass.prefix = byClass.contains = false;
    HWND box = WaitFor(byClass, options.title, L"#32770");
    if (!box) {
        Print(L"no message box");
        return 1;
    }
    // The box paints its icon a moment after it shows, later on a busy
    // machine: the icon is read again until it is one of the kinds, for up
    // to 10 s, rather than after a fixed pause.
    wstring icon = IconKind(box);
    for (const DWORD start = GetTickCount(); icon == L"unknown" && GetTickCount() - start < 10000; icon = IconKind(box))
        Sleep(100);
    wstring text, buttons;
    for (HWND child : Descendants(box)) {
        const wstring cls = ClassOf(child);
        if (cls == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON && !Text(child).empty())
            text = Text(child);
        if (cls == L"Button" && IsWindowVisible(child))
            buttons +=
                (buttons.empty() ? L"" : L"|") + WithoutAmpersands(Text(child)) + L"=" + Number(GetDlgCtrlID(child));
    }
    Print(L"title=" + Text(box));
    Print(L"text=" + text);
    Print(L"icon=" + icon);
    Print(L"buttons=" + buttons);
    return options.press.empty() ? 0 : Click(box, options.press);
}

wstring Hex6(COLORREF color) {
    wchar_t buffer[16];
    swprintf(buffer, 16, L"%02x%02x%02x", GetRValue(color), GetGValue(color), GetBValue(color));
    return buffer;
}

// The font a control draws with: face, height, weight, underline, charset.
void ListFonts(HWND top) {
    for (HWND child : Descendants(top)) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
        LOGFONTW lf{};
        if (!font || !GetObjectW(font, sizeof lf, &lf)) {
            Print(L"font=none text=" + Text(child));
            continue;
        }
        Print(L"face=" + wstring(lf.lfFaceName) + L" height=" + Number(lf.lfHeight) + L" weight=" +
              Number(lf.lfWeight) + L" underline=" + Number(lf.lfUnderline ? 1 : 0) + L" charset=" +
              Number(lf.lfCharSet) + L" text=" + Text(child));
    }
}

// A control's pixels as the screen shows them, row by row.
std::vector<COLORREF> Capture(HWND control, int& width, int& height) {
    RECT r{};
    GetWindowRect(control, &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
    std::vector<COLORREF> pixels;
    HDC screen = GetDC(nullptr);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) pixels.push_back(GetPixel(screen, x, y));
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The colours of a picture, most frequent first.
std::vector<std::pair<COLORREF, int>> Histogram(const std::vector<COLORREF>& pixels) {
    std::vector<std::pair<COLORREF, int>> counts;
    for (COLORREF pixel : pixels) {
        auto it = counts.begin();
        while (it != counts.end() && it->first != pixel) ++it;
        if (it == counts.end())
            counts.push_back({pixel, 1});
        else
            ++it->second;
    }
    std::stable_sort(counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    return counts;
}

// The most frequent colour of a label is its background, the next its text.
void ListInk(HWND top) {
    for (HWND child : Descendants(top)) {
        int width = 0, height = 0;
        const auto counts = Histogram(Capture(child, width, height));
        const wstring background = counts.empty() ? L"none" : Hex6(counts[0].first);
        const wstring ink = counts.size() < 2 ? L"none" : Hex6(counts[1].first);
        Print(L"ink=" + ink + L" background=" + background + L" text=" + Text(child));
    }
}

// Which pixels of a picture have exactly the colour `ink`, cut to the
// smallest rectangle that holds them all, as rows of 0 and 1.
std::vector<wstring> InkMask(const std::vector<COLORREF>& pixels, int width, int height, COLORREF ink) {
    int left = width, right = -1, top = height, bottom = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (pixels[std::size_t(y * width + x)] == ink) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    std::vector<wstring> rows;
    for (int y = top; y <= bottom; ++y) {
        wstring row;
        for (int x = left; x <= right; ++x) row += pixels[std::size_t(y * width + x)] == ink ? L'1' : L'0';
        rows.push_back(row);
    }
    return rows;
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

// The control of the window whose text is exactly `text`; ends the driver
// with status 1 when there is none.
HWND ControlWithText(HWND top, const wstring& text) {
    for (HWND child : Descendants(top))
        if (Text(child) == text) return child;
    Print(L"no control: " + text);
    std::exit(1);
}

int Glyphs(HWND top, const std::vector<wstring>& w) {
    HWND control = ControlWithText(top, w[2]);
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
        lf.lfUnderline = w[6] == L"1";
        lf.lfCharSet = BYTE(_wtoi(w[7].c_str()));
        wcsncpy(lf.lfFaceName, w[3].c_str(), LF_FACESIZE - 1);
    }
    HDC screen = GetDC(nullptr);
    lf.lfHeight = -MulDiv(centiPoints, GetDeviceCaps(screen, LOGPIXELSY), 7200);
    ReleaseDC(nullptr, screen);
    const COLORREF ink =
        RGB(std::wcstoul(w[8].substr(0, 2).c_str(), nullptr, 16), std::wcstoul(w[8].substr(2, 2).c_str(), nullptr, 16),
            std::wcstoul(w[8].substr(4, 2).c_str(), nullptr, 16));
    int width = 0, height = 0;
    const std::vector<COLORREF> live = Capture(control, width, height);
    const auto counts = Histogram(live);
    HFONT font = CreateFontIndirectW(&lf);
    // The live pixels widened with background to the reference's width.
    const int pictureWidth = width + 200;
    std::vector<COLORREF> shown(std::size_t(pictureWidth * height), counts.at(0).first);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) shown[std::size_t(y * pictureWidth + x)] = live[std::size_t(y * width + x)];
    RECT text{};
    std::vector<COLORREF> drawn = Reference(control, width, height, font, ink, counts.at(0).first, pictureWidth, text);
    DeleteObject(font);
    // A button's frame and focus mark may share the text's colour: only the
    // pixels of its text count.
    if (ClassOf(control) == L"Button") {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < pictureWidth; ++x)
                if (!PtInRect(&text, POINT{x, y}))
                    shown[std::size_t(y * pictureWidth + x)] = drawn[std::size_t(y * pictureWidth + x)] = CLR_INVALID;
    }
    const std::vector<wstring> a = InkMask(shown, pictureWidth, height, ink),
                               b = InkMask(drawn, pictureWidth, height, ink);
    long inkLive = 0, inkDrawn = 0, differences = 0;
    for (const wstring& row : a) inkLive += long(std::count(row.begin(), row.end(), L'1'));
    for (const wstring& row : b) inkDrawn += long(std::count(row.begin(), row.end(), L'1'));
    if (a.size() != b.size() || (!a.empty() && a[0].size() != b[0].size())) {
        differences = -1;  // the text covers a rectangle of another size
    } else {
        for (std::size_t y = 0; y < a.size(); ++y)
            for (std::size_t x = 0; x < a[y].size(); ++x) differences += a[y][x] != b[y][x];
    }
    Print(L"live=" + Number(inkLive) + L" drawn=" + Number(inkDrawn) + L" differences=" + Number(differences) +
          L" box=" + Number(a.empty() ? 0 : long(a[0].size())) + L"x" + Number(long(a.size())) + L" text=" + w[2]);
    return 0;
}

HWND FocusOf(HWND top) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info) ? info.hwndFocus : nullptr;
}

int Usage() {
    Print(
        L"usage: driver "
        L"list|find|wait|controls|rect|dpi|click|mouseup|fonts|ink|focus|key|msgbox|close|endsession|size|show|"
        L"scanfault|strictloader ... (see tools/driver.cpp)");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // The program is DPI aware; a driver that is not would be shown (since
    // Wine 10, as on Windows) a DPI of 96 and window places scaled to it.
    SetProcessDPIAware();
    Options options;
    for (int i = 1; i < argc; ++i) {
        const wstring arg = argv[i];
        if (arg == L"--prefix")
            options.prefix = true;
        else if (arg == L"--contains")
            options.contains = true;
        else if (arg == L"--gone")
            options.gone = true;
        else if (arg == L"--sent")
            options.sent = true;
        else if (arg == L"--timeout" && i + 1 < argc)
            options.timeout = DWORD(_wtoi(argv[++i]));
        else if (arg == L"--title" && i + 1 < argc)
            options.title = Argument(argv[++i]);
        else if (arg == L"--press" && i + 1 < argc)
            options.press = Argument(argv[++i]);
        else
            options.words.push_back(Argument(arg));
    }
    const std::vector<wstring>& w = options.words;
    if (w.empty()) return Usage();
    const wstring& command = w[0];
    const std::size_t n = w.size();

    if (command == L"list") {
        for (HWND window : TopWindows(options, nullptr, nullptr))
            Print(Hex(window) + L" class=" + ClassOf(window) + L" text=" + Text(window));
        return 0;
    }
    if (command == L"dpi") {
        HDC screen = GetDC(nullptr);
        Print(L"dpi=" + Number(GetDeviceCaps(screen, LOGPIXELSX)));
        ReleaseDC(nullptr, screen);
        return 0;
    }
    if (command == L"msgbox") return MessageBoxCommand(options);
    if (n < 2) return Usage();
    const wstring& caption = w[1];

    if (command == L"wait" && options.gone) {
        const DWORD start = GetTickCount();
        while (!TopWindows(options, &caption, nullptr).empty()) {
            if (GetTickCount() - start >= options.timeout) {
                Print(L"still there: " + caption);
                return 1;
            }
            Sleep(100);
        }
        Print(L"gone: " + caption);
        return 0;
    }
    HWND top = Require(options, caption);
    if (command == L"find" || command == L"wait") {
        Print(Hex(top) + L" text=" + Text(top));
        return 0;
    }
    if (command == L"controls") {
        ListControls(top);
        return 0;
    }
    if (command == L"rect") {
        RECT outer{}, client{};
        GetWindowRect(top, &outer);
        GetClientRect(top, &client);
        Print(L"window=" + RectText(outer));
        Print(L"client=" + Number(client.right) + L"," + Number(client.bottom));
        // The screen in the same pixels: Wine 10 at 120 dpi scales the X screen by 1.25.
        Print(L"screen=" + Number(GetSystemMetrics(SM_CXSCREEN)) + L"," + Number(GetSystemMetrics(SM_CYSCREEN)));
        Print(L"state=" + wstring(IsIconic(top) ? L"minimized" : IsZoomed(top) ? L"maximized" : L"normal"));
        Print(L"enabled=" + Number(IsWindowEnabled(top) ? 1 : 0));
        Print(L"foreground=" + Number(GetForegroundWindow() == top ? 1 : 0));
        HWND owner = GetWindow(top, GW_OWNER);
        Print(L"owner=" + (owner ? Hex(owner) : wstring(L"0")));
        Print(L"appwindow=" + Number((GetWindowLongW(top, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0));
        const LONG style = GetWindowLongW(top, GWL_STYLE);
        Print(L"minbox=" + Number((style & WS_MINIMIZEBOX) != 0) + L" maxbox=" + Number((style & WS_MAXIMIZEBOX) != 0) +
              L" sizable=" + Number((style & WS_THICKFRAME) != 0) + L" sysmenu=" + Number((style & WS_SYSMENU) != 0));
        return 0;
    }
    if (command == L"mouseup" && n == 4) {
        // The release of a mouse button (1 left, 2 right, 4 middle) over a control.
        HWND control = ControlWithText(top, w[2]);
        const int button = _wtoi(w[3].c_str());
        const UINT message = button == 2 ? WM_RBUTTONUP : button == 4 ? WM_MBUTTONUP : WM_LBUTTONUP;
        PostMessageW(control, message, 0, MAKELPARAM(2, 2));
        Print(L"released " + Number(button) + L" over " + w[2]);
        return 0;
    }
    if (command == L"fonts") {
        ListFonts(top);
        return 0;
    }
    if (command == L"glyphs" && n == 9) return Glyphs(top, w);
    if (command == L"ink") {
        ListInk(top);
        return 0;
    }
    if (command == L"focus") {
        HWND focus = FocusOf(top);
        Print(L"focus=" + (focus ? ClassOf(focus) + L" text=" + Text(focus) : wstring(L"none")));
        return 0;
    }
    if (command == L"key" && n == 3) {
        // Posted to the focus, as the keyboard would deliver it, so that the
        // program's own message loop sees it.
        const WPARAM key = w[2] == L"escape" ? VK_ESCAPE : VK_RETURN;
        HWND focus = FocusOf(top);
        HWND target = focus ? focus : top;
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, LPARAM(0xC0000001u));
        Print(L"pressed " + w[2] + L" on " + Text(target));
        return 0;
    }
    if (command == L"click" && n == 3) return Click(top, w[2]);
    if (command == L"close" && options.sent) {
        // Returns once the window has handled it: a question it opens keeps it waiting.
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutW(top, WM_CLOSE, 0, 0, SMTO_NORMAL, options.timeout, &ignored)) {
            Print(IsWindow(top) ? L"no answer" : L"gone without an answer");
            return 1;
        }
        Print(L"handled: " + (IsWindow(top) ? Text(top) : wstring(L"gone")));
        return 0;
    }
    if (command == L"close") {
        PostMessageW(top, WM_CLOSE, 0, 0);
        Print(L"closing: " + Text(top));
        return 0;
    }
    if (command == L"endsession") {
        // The answer may wait on a question the program puts to its user.
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(top, WM_QUERYENDSESSION, 0, LPARAM(ENDSESSION_LOGOFF), SMTO_NORMAL, options.timeout,
                                 &answer)) {
            Print(IsWindow(top) ? L"no answer" : L"gone without an answer");
            return 1;
        }
        SendMessageTimeoutW(top, WM_ENDSESSION, answer ? TRUE : FALSE, LPARAM(ENDSESSION_LOGOFF), SMTO_NORMAL, 5000,
                            nullptr);
        Print(L"answer=" + Number(answer ? 1 : 0));
        return 0;
    }
    if (command == L"size" && n == 4) {
        // As a drag of the border would: the window gets WM_SIZE and may answer it.
        SetWindowPos(top, nullptr, 0, 0, _wtoi(w[2].c_str()), _wtoi(w[3].c_str()), SWP_NOMOVE | SWP_NOZORDER);
        return 0;
    }
    for (const HookCommand& hook : kHookCommands) {
        if (command != hook.command) continue;
        if (!SendThroughHook(top, hook.library, hook.procedure, WM_NULL, 0)) {
            Print(wstring(L"cannot hook ") + hook.library + L" onto the window's thread");
            return 1;
        }
        Print(hook.done + Text(top));
        return 0;
    }
    if (command == L"show" && n == 3 && w[2] == L"front") {
        SetForegroundWindow(top);
        return 0;
    }
    if (command == L"show" && n == 3) {
        const int show = w[2] == L"min" ? SW_MINIMIZE : w[2] == L"max" ? SW_MAXIMIZE : SW_RESTORE;
        ShowWindow(top, show);
        return 0;
    }
    return Usage();
}
