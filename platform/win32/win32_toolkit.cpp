#include "platform/win32/win32_toolkit.h"

#include <commctrl.h>

#include <cstddef>

#include "platform/error.h"
#include "platform/win32/dpi.h"
#include "platform/win32/files_win32.h"
#include "platform/win32/system_path.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_form.h"

// The layout's rectangles were drawn for this size of text. The user's
// message font gives the face; its own size can be larger (a larger text
// setting) without the DPI changing, and the controls would then clip it.
constexpr int kDefaultFontCentiPoints = 900;

Win32Toolkit::Win32Toolkit(int showCommand) : showCommand_(showCommand) {
    // The wait before a shutdown handles no message for 5 s: the window must
    // stay ours, with its shutdown caption, and not become a ghost.
    DisableProcessWindowsGhosting();
    // Common controls 6, which the manifest asks for, draws our buttons;
    // Windows XP wants it initialised before the first window.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The record as Windows XP knows it, ending with lfMessageFont, which
    // later versions accept too; XP refuses the longer one that goes on to
    // iPaddedBorderWidth.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof metrics.lfMessageFont;
    LOGFONTW face{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        face = metrics.lfMessageFont;
    else
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face);
    face.lfHeight = FontHeight(kDefaultFontCentiPoints);
    face.lfWidth = 0;
    font_ = CreateFontIndirectW(&face);
    if (!font_) font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

Win32Toolkit::~Win32Toolkit() {
    if (hiddenOwner_) DestroyWindow(hiddenOwner_);
    if (instanceMutex_) CloseHandle(instanceMutex_);
}

std::unique_ptr<Form> Win32Toolkit::LoadForm(const FormSpec& spec, FormEvents& events) {
    return std::make_unique<Win32Form>(*this, spec, events, spec.showInTaskbar ? nullptr : HiddenOwner(), font_);
}

// The first window comes up as the program was started: a shortcut's
// minimised or maximised run setting, say. Never hidden, though: nothing
// else could bring the window back.
int Win32Toolkit::NextShowCommand() {
    const int command = showCommand_ == SW_HIDE ? SW_SHOWNORMAL : showCommand_;
    showCommand_ = SW_SHOW;
    return command;
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

namespace {

// The program a command line names: its first word, or its first quoted part.
Text ProgramOf(const Text& line) {
    if (!line.empty() && line[0] == u'"') return line.substr(1, line.find(u'"', 1) - 1);
    return line.substr(0, line.find_first_of(u" \t"));
}

// A program named without a folder is taken from the Windows folder or the
// System folder only. Left to CreateProcessW it would be searched in the
// program's folder and the current folder first, where anyone may have left a
// file of that name (a download folder, say). Empty for a program named with
// its folder, which runs as named.
Text SystemProgram(const Text& name) {
    if (name.find_first_of(u"\\/:") != Text::npos) return {};
    const Text file = name.find(u'.') == Text::npos ? name + u".exe" : name;
    for (const Text& folder : {WindowsFolder(), SystemFolder()}) {
        Text path = InFolder(folder, file);
        const DWORD attributes = GetFileAttributesW(Wide(path));
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return path;
    }
    throw RuntimeError(err::FileNotFound);
}

}  // namespace

// The program starts in our program's folder, so that a file named without
// a folder on the command line (the help file) is found beside us.
double Win32Toolkit::Shell(const Text& commandLine, std::int32_t windowStyle) {
    Text line = commandLine;  // CreateProcessW may write into it
    const Text program = SystemProgram(ProgramOf(line));
    const Text folder = Win32FileSystem().AppPath();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = WORD(windowStyle);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.empty() ? nullptr : Wide(program), reinterpret_cast<wchar_t*>(line.data()), nullptr,
                        nullptr, FALSE, 0, nullptr, Wide(folder), &startup, &process))
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
        Text path = ModulePath();
        IgnoreErrors([&path] { path = LongPath(path); });
        CharUpperW(reinterpret_cast<wchar_t*>(path.data()));
        const Text name = u"PrevInstance:" + path.substr(path.find_last_of(u'\\') + 1);
        instanceMutex_ = CreateMutexW(nullptr, FALSE, Wide(name));
        // A mutex we may not open was made by an instance running with other
        // rights (as administrator, say): it is running all the same.
        const DWORD error = GetLastError();
        prevInstance_ = error == ERROR_ALREADY_EXISTS || (instanceMutex_ == nullptr && error == ERROR_ACCESS_DENIED);
    }
    return prevInstance_;
}

// A program waiting on a message we are handling (a session end asking
// whether it may go on) is answered yes before we go.
void Win32Toolkit::End() {
    if (InSendMessage()) ReplyMessage(TRUE);
    ExitProcess(0);
}
