#include "platform/win32/win32_toolkit.h"

#include <cwchar>

#include "platform/error.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_form.h"

Win32Toolkit::Win32Toolkit() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    font_ = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)
                ? CreateFontIndirectW(&metrics.lfMessageFont)
                : nullptr;
    if (!font_) font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

Win32Toolkit::~Win32Toolkit() {
    if (hiddenOwner_) DestroyWindow(hiddenOwner_);
    if (instanceMutex_) CloseHandle(instanceMutex_);
}

std::unique_ptr<Form> Win32Toolkit::LoadForm(const FormSpec& spec, FormEvents& events) {
    return std::make_unique<Win32Form>(*this, spec, events, spec.showInTaskbar ? nullptr : HiddenOwner(), font_);
}

// An owned window stays out of the taskbar; the owner itself is never shown.
HWND Win32Toolkit::HiddenOwner() {
    if (!hiddenOwner_)
        hiddenOwner_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    return hiddenOwner_;
}

std::int32_t Win32Toolkit::ShowMsgBox(const Text& prompt, std::int32_t style, const Text& title) {
    // Modal to the program: over its active window, or over all of its windows.
    HWND owner = GetActiveWindow();
    UINT flags = UINT(style) | (owner ? 0 : MB_TASKMODAL);
    return MessageBoxW(owner, Wide(prompt), Wide(title.empty() ? Text(kProjectTitle) : title), flags);
}

double Win32Toolkit::Shell(const Text& commandLine, std::int32_t windowStyle) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = WORD(windowStyle);
    PROCESS_INFORMATION process{};
    Text line = commandLine;  // CreateProcessW may write into it
    if (!CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(&line[0]), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        throw RuntimeError(err::FileNotFound);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return double(process.dwProcessId);
}

bool Win32Toolkit::PrevInstance() {
    // The first instance holds a mutex named after its program file for its
    // whole life; another program file is another program. The name is taken
    // in its long form and upper case, so a start by the short (8.3) name or
    // in other letters' case finds the same mutex.
    if (!instanceMutex_) {
        wchar_t path[MAX_PATH] = L"";
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        wchar_t longPath[MAX_PATH] = L"";
        const DWORD n = GetLongPathNameW(path, longPath, MAX_PATH);
        if (n > 0 && n < MAX_PATH) wcscpy(path, longPath);
        CharUpperW(path);
        const wchar_t* file = wcsrchr(path, L'\\');
        wchar_t name[MAX_PATH + 16] = L"PrevInstance:";
        wcscat(name, file ? file + 1 : path);
        instanceMutex_ = CreateMutexW(nullptr, FALSE, name);
        // A mutex we may not open was made by an instance running with other
        // rights (as administrator, say): it is running all the same.
        const DWORD error = GetLastError();
        prevInstance_ = error == ERROR_ALREADY_EXISTS || (!instanceMutex_ && error == ERROR_ACCESS_DENIED);
    }
    return prevInstance_;
}

void Win32Toolkit::End() { ExitProcess(0); }
