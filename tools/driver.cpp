// Desktop driver for the end-to-end tests: finds windows by caption, lists
// their controls, clicks buttons, answers message boxes, closes, sizes and
// measures windows. Output is UTF-8, one fact per line, for grep and awk.
//
//   driver list                                   visible top-level windows
//   driver find CAPTION [--prefix] [--timeout MS] handle and caption
//   driver wait CAPTION [--prefix] [--gone] [--timeout MS]
//   driver controls CAPTION [--prefix]            every descendant control
//   driver rect CAPTION [--prefix]                outer and client rectangles
//   driver dpi
//   driver click CAPTION BUTTON [--prefix]        BM_CLICK on an enabled button
//   driver msgbox [--title T] [--press BUTTON] [--timeout MS]
//   driver close CAPTION [--prefix]               WM_CLOSE
//   driver size CAPTION WIDTH HEIGHT [--prefix]   outer size in pixels
//   driver show CAPTION min|max|restore [--prefix]
//
// CAPTION matches exactly, or as a prefix (--prefix), or anywhere (--contains).
// Texts may be given as UTF-8 in the Japanese locale, with \uXXXX escapes,
// or as @FILE holding UTF-8. Exit status: 0 done, 1 not found or timed out,
// 2 bad usage, 3 the button is disabled.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

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
    bool prefix = false, contains = false, gone = false;
    DWORD timeout = 10000;
    wstring title, press;
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

// Enabled as the user sees it: the control and every window it sits in.
bool Usable(HWND window) {
    for (HWND w = window; w; w = GetParent(w))
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

void ListControls(HWND top) {
    for (HWND child : Descendants(top)) {
        HWND parent = GetParent(child);
        Print(L"id=" + Number(GetDlgCtrlID(child)) + L" class=" + ClassOf(child) +
              L" parent=" + (parent == top ? wstring(L"form") : ClassOf(parent) + L":" + Number(GetDlgCtrlID(parent))) +
              L" enabled=" + Number(IsWindowEnabled(child) ? 1 : 0) +
              L" checked=" + Number(IsCheckable(child) && SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED) +
              L" visible=" + Number(IsWindowVisible(child) ? 1 : 0) + L" rect=" + RectText(ClientRelative(top, child)) +
              L" text=" + Text(child));
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

// Which standard icon a message box shows, told by drawing each candidate
// over the box's own icon pixels and keeping the one that matches.
wstring IconKind(HWND box) {
    HWND icon = nullptr;
    for (HWND child : Descendants(box))
        if (ClassOf(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            IsWindowVisible(child))
            icon = child;
    if (!icon) return L"none";
    RECT r{};
    GetWindowRect(icon, &r);
    const int size = GetSystemMetrics(SM_CXICON);
    HDC screen = GetDC(nullptr);
    HDC shot = CreateCompatibleDC(screen), draw = CreateCompatibleDC(screen);
    HBITMAP shotBitmap = CreateCompatibleBitmap(screen, size, size), drawBitmap = CreateCompatibleBitmap(screen, size, size);
    SelectObject(shot, shotBitmap);
    SelectObject(draw, drawBitmap);
    BitBlt(shot, 0, 0, size, size, screen, r.left, r.top, SRCCOPY);
    const COLORREF background = GetPixel(shot, 0, 0);
    bool blank = true;
    for (int y = 0; y < size && blank; ++y)
        for (int x = 0; x < size && blank; ++x) blank = GetPixel(shot, x, y) == background;
    if (blank) {
        DeleteDC(shot);
        DeleteDC(draw);
        DeleteObject(shotBitmap);
        DeleteObject(drawBitmap);
        ReleaseDC(nullptr, screen);
        return L"none";
    }
    struct Candidate {
        const wchar_t* name;
        LPCWSTR id;
    };
    const Candidate candidates[] = {{L"critical", IDI_HAND}, {L"question", IDI_QUESTION},
                                    {L"warning", IDI_EXCLAMATION}, {L"information", IDI_ASTERISK}};
    wstring best = L"unknown";
    int bestMismatch = size * size / 10;  // more than a tenth of the pixels off is no match
    for (const Candidate& c : candidates) {
        HBRUSH brush = CreateSolidBrush(background);
        RECT all{0, 0, size, size};
        FillRect(draw, &all, brush);
        DeleteObject(brush);
        DrawIconEx(draw, 0, 0, LoadIconW(nullptr, c.id), size, size, 0, nullptr, DI_NORMAL);
        int mismatch = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) mismatch += GetPixel(draw, x, y) != GetPixel(shot, x, y);
        if (mismatch < bestMismatch) {
            bestMismatch = mismatch;
            best = c.name;
        }
    }
    DeleteDC(shot);
    DeleteDC(draw);
    DeleteObject(shotBitmap);
    DeleteObject(drawBitmap);
    ReleaseDC(nullptr, screen);
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
    Sleep(300);  // let it paint before its icon is read
    wstring text, buttons;
    for (HWND child : Descendants(box)) {
        const wstring cls = ClassOf(child);
        if (cls == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON && !Text(child).empty())
            text = Text(child);
        if (cls == L"Button" && IsWindowVisible(child))
            buttons += (buttons.empty() ? L"" : L"|") + WithoutAmpersands(Text(child)) + L"=" + Number(GetDlgCtrlID(child));
    }
    Print(L"title=" + Text(box));
    Print(L"text=" + text);
    Print(L"icon=" + IconKind(box));
    Print(L"buttons=" + buttons);
    return options.press.empty() ? 0 : Click(box, options.press);
}

int Usage() {
    Print(L"usage: driver list|find|wait|controls|rect|dpi|click|msgbox|close|size|show ... (see tools/driver.cpp)");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const wstring arg = argv[i];
        if (arg == L"--prefix") options.prefix = true;
        else if (arg == L"--contains") options.contains = true;
        else if (arg == L"--gone") options.gone = true;
        else if (arg == L"--timeout" && i + 1 < argc) options.timeout = DWORD(_wtoi(argv[++i]));
        else if (arg == L"--title" && i + 1 < argc) options.title = Argument(argv[++i]);
        else if (arg == L"--press" && i + 1 < argc) options.press = Argument(argv[++i]);
        else options.words.push_back(Argument(arg));
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
        Print(L"state=" + wstring(IsIconic(top) ? L"minimized" : IsZoomed(top) ? L"maximized" : L"normal"));
        return 0;
    }
    if (command == L"click" && n == 3) return Click(top, w[2]);
    if (command == L"close") {
        PostMessageW(top, WM_CLOSE, 0, 0);
        Print(L"closing: " + Text(top));
        return 0;
    }
    if (command == L"size" && n == 4) {
        // As a drag of the border would: the window gets WM_SIZE and may answer it.
        SetWindowPos(top, nullptr, 0, 0, _wtoi(w[2].c_str()), _wtoi(w[3].c_str()), SWP_NOMOVE | SWP_NOZORDER);
        return 0;
    }
    if (command == L"show" && n == 3) {
        const int show = w[2] == L"min" ? SW_MINIMIZE : w[2] == L"max" ? SW_MAXIMIZE : SW_RESTORE;
        ShowWindow(top, show);
        return 0;
    }
    return Usage();
}
