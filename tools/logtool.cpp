// Writes and reads the download log of its own folder, as the program does:
//   logtool write start|normal|abnormal|cancel append|overwrite
//   logtool read      fills a real multi-line edit control with Read_Log and
//                     prints what it shows; the view's text goes to view.txt
//                     (UTF-8) beside the log.
//   logtool hold      keeps the log open, shared with no one, for 60 seconds.
//   logtool separators DATE TIME
//                     sets the user's date and time separators and prints
//                     the ones they replace, for the caller to put back.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "log/log_file.h"
#include "log/log_writer.h"
#include "log/read_log.h"
#include "platform/error.h"
#include "tools/console_platform.h"

namespace {

// The log view: an edit control like the main window's, made for real so that
// the scroll request lands on a real window.
class EditControl : public Control {
public:
    EditControl()
        : hwnd_(CreateWindowExW(0, L"EDIT", L"",
                                WS_POPUP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_READONLY, 0,
                                0, 400, 120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {
        SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
    }
    ~EditControl() override { DestroyWindow(hwnd_); }
    Text Caption() const override {
        std::wstring text(std::size_t(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
        text.resize(std::size_t(GetWindowTextW(hwnd_, text.data(), int(text.size()))));
        return {text.begin(), text.end()};
    }
    void SetCaption(const Text& caption) override {
        SetWindowTextW(hwnd_, reinterpret_cast<const wchar_t*>(caption.c_str()));
    }
    bool Enabled() const override { return IsWindowEnabled(hwnd_) != 0; }
    void SetEnabled(bool enabled) override { EnableWindow(hwnd_, enabled ? TRUE : FALSE); }
    bool Value() const override { return false; }
    void SetValue(bool /*value*/) override {}
    void Refresh() override { UpdateWindow(hwnd_); }
    WindowHandle hWnd() const override { return reinterpret_cast<WindowHandle>(hwnd_); }

private:
    HWND hwnd_;
};

const wchar_t* const kEventNames[] = {L"start", L"normal", L"abnormal", L"cancel"};

int Write(const wchar_t* eventName, const wchar_t* modeName) {
    for (std::size_t i = 0; i < kLogEventCount; ++i) {
        if (std::wcscmp(eventName, kEventNames[i]) != 0) continue;
        Write_Log(static_cast<LogEvent>(i),
                  std::wcscmp(modeName, L"overwrite") == 0 ? OpenMode::Overwrite : OpenMode::Append);
        return 0;
    }
    std::printf("unknown event\n");
    return 2;
}

int Read() {
    EditControl view;
    Text lastEvent;
    const bool ok = Read_Log(view, lastEvent);
    const char* last = "none";
    for (std::size_t i = 0; i < kLogEventCount; ++i) {
        if (lastEvent == kLogEventTexts[i])
            last = i == 0 ? "start" : i == 1 ? "normal" : i == 2 ? "abnormal" : "cancel";
    }
    const Text text = view.Caption();
    const HWND edit = reinterpret_cast<HWND>(view.hWnd());
    std::printf("ok=%d last=%s units=%u lines=%d first=%d\n", ok ? 1 : 0, last, unsigned(text.size()),
                int(SendMessageW(edit, EM_GETLINECOUNT, 0, 0)), int(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0)));
    Text viewPath = gLogFileName.substr(0, gLogFileName.rfind(u'\\') + 1) + u"view.txt";
    std::unique_ptr<File> out = gPlatform.files->Open(viewPath, OpenMode::Overwrite);
    out->Write(Utf8(text));
    out->Close();
    return ok ? 0 : 1;
}

int Hold() {
    const auto* path = reinterpret_cast<const wchar_t*>(gLogFileName.c_str());
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::printf("holding\n");
    std::fflush(stdout);
    Sleep(60000);
    CloseHandle(file);
    return 0;
}

int Separators(const wchar_t* date, const wchar_t* time) {
    wchar_t oldDate[8] = L"";
    wchar_t oldTime[8] = L"";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDATE, oldDate, 8);
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, oldTime, 8);
    if (!SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDATE, date) ||
        !SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, time))
        return std::printf("refused\n"), 1;
    std::printf("%s %s\n", Utf8(Text(oldDate, oldDate + std::wcslen(oldDate))).c_str(),
                Utf8(Text(oldTime, oldTime + std::wcslen(oldTime))).c_str());
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    UseConsolePlatform();
    try {
        Get_LogFileName();
        if (argc == 4 && std::wcscmp(argv[1], L"write") == 0) return Write(argv[2], argv[3]);
        if (argc == 2 && std::wcscmp(argv[1], L"read") == 0) return Read();
        if (argc == 2 && std::wcscmp(argv[1], L"hold") == 0) return Hold();
        if (argc == 4 && std::wcscmp(argv[1], L"separators") == 0) return Separators(argv[2], argv[3]);
    } catch (const RuntimeError& e) {
        std::printf("error %d\n", int(e.Number()));
        return 1;
    }
    std::printf(
        "usage: logtool write start|normal|abnormal|cancel append|overwrite | read | hold | separators DATE TIME\n");
    return 2;
}
