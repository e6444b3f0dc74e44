// Times how a multi-line edit control like the log view takes a long text:
//   edit_timing log|ascii|long|cr|lf|nul UNITS wrap|nowrap[,owndc]
// log: lines of the download log (34 units each); ascii: lines of ASCII text
// alone; long: lines of 100,000 letters; cr/lf/nul: that one character only.
// wrap is a view that wraps long lines (no ES_AUTOHSCROLL), nowrap one with
// ES_AUTOHSCROLL, as the main window's; owndc gives the control a class of
// its own with a DC of its own (CS_OWNDC), which spares it a GetDC per line. Prints the
// seconds taken by WM_SETTEXT, by the scroll to the end and by a repaint,
// the view's line count and the process's peak working set.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::wstring Sample(const wchar_t* kind, std::size_t units) {
    std::wstring text;
    text.reserve(units + 100010);
    if (std::wcscmp(kind, L"log") == 0) {
        const wchar_t* line =
            L"2004/01/09 08:03:07\u3000\u30C0\u30A6\u30F3\u30ED\u30FC\u30C9\u76E3\u8996"
            L"\u30B9\u30BF\u30FC\u30C8\r\n";
        while (text.size() < units) text += line;
    } else if (std::wcscmp(kind, L"ascii") == 0) {
        while (text.size() < units) text += L"2004/01/09 08:03:07 download watch start\r\n";
    } else if (std::wcscmp(kind, L"long") == 0) {
        while (text.size() < units) text.append(100000, L'x').append(L"\r\n");
    } else {
        const wchar_t c = std::wcscmp(kind, L"cr") == 0 ? L'\r' : std::wcscmp(kind, L"lf") == 0 ? L'\n' : L'\0';
        text.assign(units, c);
        if (c == L'\0') text.assign(units, L'\x30FB');  // a zero unit would end the text: the reader's replacement
    }
    text.resize(units);
    return text;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(to.QuadPart - from.QuadPart) / double(f.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::printf("usage: edit_timing log|long|cr|lf|nul UNITS wrap|nowrap\n");
        return 2;
    }
    const std::wstring text = Sample(argv[1], std::wcstoul(argv[2], nullptr, 10));
    const DWORD wrap = std::wcsstr(argv[3], L"nowrap") ? ES_AUTOHSCROLL : 0;
    const wchar_t* editClass = L"EDIT";
    if (std::wcsstr(argv[3], L"owndc")) {
        WNDCLASSEXW own{};
        own.cbSize = sizeof own;
        GetClassInfoExW(nullptr, L"EDIT", &own);
        own.style |= CS_OWNDC;
        own.hInstance = GetModuleHandleW(nullptr);
        own.lpszClassName = editClass = L"OwnDcEdit";
        RegisterClassExW(&own);
    }
    HWND frame = CreateWindowExW(0, L"STATIC", L"edit timing", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 360, 260,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, editClass, L"",
                                WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL | wrap,
                                8, 8, 321, 145, frame, nullptr, GetModuleHandleW(nullptr), nullptr);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    SendMessageW(edit, WM_SETFONT, WPARAM(CreateFontIndirectW(&metrics.lfMessageFont)), FALSE);
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    UpdateWindow(frame);
    const bool hidden = argc > 4;
    if (hidden) SendMessageW(edit, WM_SETREDRAW, FALSE, 0);
    LARGE_INTEGER t0;
    LARGE_INTEGER t1;
    LARGE_INTEGER t2;
    LARGE_INTEGER t3;
    QueryPerformanceCounter(&t0);
    SetWindowTextW(edit, text.c_str());
    QueryPerformanceCounter(&t1);
    SendMessageW(edit, EM_LINESCROLL, 0, LPARAM(text.size()));
    QueryPerformanceCounter(&t2);
    if (hidden) SendMessageW(edit, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    QueryPerformanceCounter(&t3);
    const double set = Seconds(t0, t1);
    std::printf("kind=%ls units=%u style=%ls settext=%.3f scroll=%.3f paint=%.3f lines=%d chars_per_s=%.0f\n", argv[1],
                unsigned(text.size()), argv[3], set, Seconds(t1, t2), Seconds(t2, t3),
                int(SendMessageW(edit, EM_GETLINECOUNT, 0, 0)),
                double(text.size()) / (Seconds(t0, t3) > 0 ? Seconds(t0, t3) : 1e-9));
    PROCESS_MEMORY_COUNTERS memory{};
    K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("peak_mb=%u\n", unsigned(memory.PeakWorkingSetSize >> 20));
    DestroyWindow(frame);
    return 0;
}
