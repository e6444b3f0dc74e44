// Desktop driver for the end-to-end tests: finds windows by caption, lists
// their controls, clicks buttons, answers message boxes, closes, sizes and
// measures windows. Output is UTF-8, one fact per line, for grep and awk.
// Each command is a row of kCommands; run the driver without one for its
// usage. The commands themselves are in tools/driver/.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tools/driver/commands.h"
#include "tools/driver/console.h"
#include "tools/driver/request.h"

namespace {

using driver::Request;
using std::wstring;

struct Command {
    const wchar_t* name;
    const wchar_t* words;    // what must follow the name, one word each
    const wchar_t* options;  // the options of this command alone, shown in the usage
    const wchar_t* description;
    int (*run)(const Request&);
};

// clang-format off
const Command kCommands[] = {
    {L"list", L"", L"", L"visible top-level windows", driver::ListCommand},
    {L"find", L"CAPTION", L"", L"the window's handle and caption", driver::FindCommand},
    {L"wait", L"CAPTION", L"[--gone]", L"as find, once the window shows; --gone: once it has gone", driver::WaitCommand},
    {L"controls", L"CAPTION", L"", L"every descendant control, its own text", driver::ControlsCommand},
    {L"rect", L"CAPTION", L"", L"rectangles, state, owner, taskbar style, foreground", driver::RectCommand},
    {L"dpi", L"", L"", L"the screen's dots per inch", driver::DpiCommand},
    {L"click", L"CAPTION BUTTON", L"", L"BM_CLICK on an enabled button, named by its text, the text's start or its id",
     driver::ClickCommand},
    {L"mouseup", L"CAPTION TEXT BUTTON", L"", L"mouse button BUTTON (1 left, 2 right, 4 middle) released over control TEXT",
     driver::MouseUpCommand},
    {L"fonts", L"CAPTION", L"", L"each control's font (WM_GETFONT)", driver::FontsCommand},
    {L"ink", L"CAPTION", L"", L"each control's text colour, read off the screen", driver::InkCommand},
    {L"glyphs", L"CAPTION TEXT FACE CENTIPOINTS BOLD UNDERLINE CHARSET RRGGBB", L"",
     L"compares control TEXT's pixels with TEXT drawn here in that font and colour (FACE default: the toolkit's, "
     L"the system's message font's face at 9 pt)", driver::GlyphsCommand},
    {L"focus", L"CAPTION", L"", L"the control that has the input focus", driver::FocusCommand},
    {L"key", L"CAPTION escape|enter", L"", L"a key pressed and released on the focus", driver::KeyCommand},
    {L"msgbox", L"", L"[--title T] [--press BUTTON]", L"a message box's title, text, icon and buttons; --press clicks one",
     driver::MessageBoxCommand},
    {L"close", L"CAPTION", L"[--sent]",
     L"WM_CLOSE, posted; --sent: sent, printing handled once the window has handled it or no answer at the timeout",
     driver::CloseCommand},
    {L"endsession", L"CAPTION", L"",
     L"a log-off as Windows asks it (WM_QUERYENDSESSION, then WM_ENDSESSION with the answer); prints answer=1 (it may "
     L"go on) or answer=0 (refused)", driver::EndSessionCommand},
    {L"size", L"CAPTION WIDTH HEIGHT", L"", L"outer size in pixels", driver::SizeCommand},
    {L"show", L"CAPTION min|max|restore|front", L"", L"minimises, maximises, restores or brings the window forward",
     driver::ShowCommand},
    {L"scanfault", L"CAPTION", L"",
     L"every later window scan of the window's program fails (tools/hook/scan_fault_hook.cpp)",
     driver::ScanFaultCommand},
    {L"strictloader", L"CAPTION", L"",
     L"the program's LoadLibraryExW refuses LOAD_WITH_ALTERED_SEARCH_PATH, as Windows is reported to after "
     L"SetDefaultDllDirectories; its loads go to strict_loader.txt beside the driver "
     L"(tools/hook/strict_loader_hook.cpp)", driver::StrictLoaderCommand},
};
// clang-format on

const wchar_t* const kNotes[] = {
    L"CAPTION matches exactly, or as a prefix (--prefix), or anywhere (--contains).",
    L"--timeout MS (10000) bounds each wait: for the window, the box, its going or its answer.",
    L"Texts may be given as UTF-8 in the Japanese locale, with \\uXXXX escapes, or as @FILE holding UTF-8.",
    L"Exit status: 0 done, 1 not found or timed out, 2 bad usage, 3 the button is disabled.",
};

// The words of a row are written one space apart.
std::size_t WordCount(const wstring& words) {
    return words.empty() ? 0 : 1 + std::size_t(std::count(words.begin(), words.end(), L' '));
}

int Usage() {
    driver::Print(L"usage: driver COMMAND WORDS [OPTIONS]");
    const std::size_t column = 36;
    for (const Command& command : kCommands) {
        wstring line = L"  " + wstring(command.name);
        for (const wchar_t* part : {command.words, command.options})
            if (*part) line += wstring(L" ") + part;
        // A long command line gets its description on the next line.
        if (line.size() >= column) {
            driver::Print(line);
            line.clear();
        }
        driver::Print(line + wstring(column - line.size(), L' ') + command.description);
    }
    for (const wchar_t* note : kNotes) driver::Print(note);
    return 2;
}

// The row of the command named first, when the words after it are at least
// as many as it needs; more are ignored, as most commands always did.
const Command* Lookup(const std::vector<wstring>& words) {
    if (words.empty()) return nullptr;
    for (const Command& command : kCommands)
        if (words[0] == command.name) return words.size() - 1 >= WordCount(command.words) ? &command : nullptr;
    return nullptr;
}

Request Parse(int argc, wchar_t** argv) {
    Request request;
    for (int i = 1; i < argc; ++i) {
        const wstring arg = argv[i];
        if (arg == L"--prefix")
            request.prefix = true;
        else if (arg == L"--contains")
            request.contains = true;
        else if (arg == L"--gone")
            request.gone = true;
        else if (arg == L"--sent")
            request.sent = true;
        else if (arg == L"--timeout" && i + 1 < argc)
            request.timeout = DWORD(_wtoi(argv[++i]));
        else if (arg == L"--title" && i + 1 < argc)
            request.title = driver::Argument(argv[++i]);
        else if (arg == L"--press" && i + 1 < argc)
            request.press = driver::Argument(argv[++i]);
        else
            request.words.push_back(driver::Argument(arg));
    }
    return request;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // The program is DPI aware; a driver that is not would be shown (since
    // Wine 10, as on Windows) a DPI of 96 and window places scaled to it.
    SetProcessDPIAware();
    const Request request = Parse(argc, argv);
    const Command* command = Lookup(request.words);
    return command ? command->run(request) : Usage();
}
