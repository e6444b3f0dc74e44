// Puts up windows that look to a scan like the browser's download dialogs and
// error boxes, and changes them over time, as a script says.
//
//   imitation_dialogs.exe SCRIPT EVENTS
//
// SCRIPT is a UTF-8 file (so Japanese text never crosses a command line), one
// command a line; a line may start with "at SECONDS" to run it that long after
// start, otherwise it runs before readiness. "#" starts a comment line.
//   window NAME TEXT              a visible top-level window captioned TEXT
//   hidden NAME TEXT              the same, never shown
//   child NAME PARENT CLASS TEXT  a control of a system class (STATIC, BUTTON,
//                                 EDIT) or PANEL (a plain container) inside
//                                 PARENT, which is a window or another child
//   title NAME TEXT               sets the text
//   hextitle NAME HEX             sets the text as raw ANSI bytes, e.g. 8374ff
//   close NAME                    destroys it with everything inside
//   churn SEED STEPS MS           every MS milliseconds one random step
//                                 (create, retitle, add a label, close) on up
//                                 to 40 hidden windows of its own (Wine's X11
//                                 driver takes long to map and unmap shown
//                                 ones), whose texts mix the markers; the
//                                 same SEED gives the same steps
//   decoys SEED STEPS MS MAX      every MS milliseconds one random step on up
//                                 to MAX hidden windows and labels alive at
//                                 once, whose texts a scan must count as
//                                 nothing (see decoy_churn.h); announces
//                                 "decoys full" when MAX are first alive,
//                                 and "decoys done peak=P made=M" at its
//                                 end, or just before "stopped"
//   exit                          ends the program
// EVENTS gets the line "ready" once the untimed commands are done, then one
// line per timed command as it is done ("2.5 close dl", "churn done"). The
// program runs until "exit", until a file named EVENTS.stop appears (it then
// announces "stopped"), or until killed.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tools/decoy_churn.h"

namespace {

constexpr wchar_t kTopClass[] = L"ImitationDialog";
constexpr wchar_t kPanelClass[] = L"ImitationPanel";
constexpr int kChurnMaxWindows = 40;

struct Command {
    double at;  // seconds after start; 0 for an untimed command
    std::string line;
};

struct Churn {
    std::uint32_t state = 0;
    int stepsLeft = 0;
    DWORD periodMs = 0;
    ULONGLONG next = 0;
    int made = 0;
    std::vector<std::string> live;
};

std::map<std::string, HWND> gNamed;
std::map<HWND, int> gNextTop;  // where the next control goes inside each window
int gTopCount = 0;
std::string gEventsPath;
std::vector<Command> gTimed;
std::size_t gNextTimed = 0;
ULONGLONG gStart = 0;
Churn gChurn;
std::unique_ptr<DecoyChurn> gDecoys;
bool gDecoysFilled = false;

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), n);
    return wide;
}

std::string Narrow(const wchar_t* wide) {
    const int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(std::size_t(std::max(n, 1)), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, bytes.data(), n, nullptr, nullptr);
    bytes.resize(bytes.size() - 1);
    return bytes;
}

void Announce(const std::string& line) {
    if (FILE* f = std::fopen(gEventsPath.c_str(), "ab")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

// Splits off the first space-separated word of `rest`.
std::string Word(std::string& rest) {
    const std::size_t space = rest.find(' ');
    std::string word = rest.substr(0, space);
    rest = space == std::string::npos ? std::string() : rest.substr(space + 1);
    return word;
}

HWND Named(const std::string& name) {
    const auto it = gNamed.find(name);
    return it == gNamed.end() ? nullptr : it->second;
}

void Forget(HWND window) {
    for (auto it = gNamed.begin(); it != gNamed.end();) {
        if (it->second == window || !IsWindow(it->second))
            it = gNamed.erase(it);
        else
            ++it;
    }
}

void MakeWindow(const std::string& name, const std::string& text, bool visible) {
    const int k = gTopCount++;
    HWND w = CreateWindowExW(0, kTopClass, Wide(text).c_str(), WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0),
                             10 + (k % 4) * 315, 10 + (k / 4 % 5) * 195, 310, 190, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    gNamed[name] = w;
}

void MakeChild(const std::string& name, const std::string& parentName, const std::string& cls,
               const std::string& text) {
    HWND parent = Named(parentName);
    if (!parent) return;
    const bool panel = cls == "PANEL";
    const int height = panel ? 70 : 22;
    int& top = gNextTop[parent];
    if (top == 0) top = 4;
    RECT area;
    GetClientRect(parent, &area);
    HWND w = CreateWindowExW(
        0, panel ? kPanelClass : Wide(cls).c_str(), Wide(text).c_str(), WS_CHILD | WS_VISIBLE | (panel ? WS_BORDER : 0),
        6, top, std::max<LONG>(area.right - 12, 40), height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    top += height + 4;
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    gNamed[name] = w;
}

void SetHexTitle(HWND window, const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += char(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16));
    SetWindowTextA(window, bytes.c_str());
}

void Close(const std::string& name) {
    HWND w = Named(name);
    if (!w) return;
    DestroyWindow(w);
    Forget(w);
}

std::uint32_t Random() {  // xorshift32: small, and the same on every run
    std::uint32_t x = gChurn.state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return gChurn.state = x;
}

void ChurnStep() {
    static const char* const kCaptions[] = {"ファイルのダウンロード",
                                            "35% 完了しました",
                                            "Microsoft Internet Explorer",
                                            "コピーしています...",
                                            "無題 - メモ帳",
                                            "",
                                            "ファイルのダウンロード - Microsoft Internet Explorer"};
    static const char* const kLabels[] = {"保存しています:", "処理がタイムアウトになりました",
                                          "サーバーとの接続がリセットされました", "OK", ""};
    Churn& c = gChurn;
    // Two creations in five steps: the desktop fills up to its bound.
    const std::uint32_t op = Random() % 5;
    if (op <= 1 || c.live.empty()) {
        if (int(c.live.size()) >= kChurnMaxWindows) return;
        c.live.push_back("churn" + std::to_string(c.made++));
        MakeWindow(c.live.back(), kCaptions[Random() % 7], false);
        return;
    }
    const std::size_t pick = Random() % c.live.size();
    const std::string& name = c.live[pick];
    if (op == 2) {
        SetWindowTextW(Named(name), Wide(kCaptions[Random() % 7]).c_str());
    } else if (op == 3) {
        MakeChild(name + ".l" + std::to_string(c.made++), name, "STATIC", kLabels[Random() % 5]);
    } else {
        Close(name);
        c.live.erase(c.live.begin() + std::ptrdiff_t(pick));
    }
}

void Run(const std::string& line) {
    std::string rest = line;
    const std::string command = Word(rest);
    if (command == "window" || command == "hidden") {
        const std::string name = Word(rest);
        MakeWindow(name, rest, command == "window");
    } else if (command == "child") {
        const std::string name = Word(rest);
        const std::string parent = Word(rest);
        const std::string cls = Word(rest);
        MakeChild(name, parent, cls, rest);
    } else if (command == "title") {
        const std::string name = Word(rest);
        SetWindowTextW(Named(name), Wide(rest).c_str());
    } else if (command == "hextitle") {
        const std::string name = Word(rest);
        SetHexTitle(Named(name), rest);
    } else if (command == "close") {
        Close(Word(rest));
    } else if (command == "churn") {
        gChurn.state = std::uint32_t(std::strtoul(Word(rest).c_str(), nullptr, 10)) | 1u;
        gChurn.stepsLeft = std::atoi(Word(rest).c_str());
        gChurn.periodMs = DWORD(std::max(1, std::atoi(Word(rest).c_str())));
        gChurn.next = GetTickCount64();
    } else if (command == "decoys") {
        const std::uint32_t seed = std::uint32_t(std::strtoul(Word(rest).c_str(), nullptr, 10));
        const int steps = std::atoi(Word(rest).c_str());
        const DWORD period = DWORD(std::atoi(Word(rest).c_str()));
        gDecoys = std::make_unique<DecoyChurn>(seed, steps, period, std::atoi(Word(rest).c_str()), kTopClass);
    } else if (command == "exit") {
        PostQuitMessage(0);
    }
}

void AnnounceDecoys() {
    Announce("decoys done peak=" + std::to_string(gDecoys->Peak()) + " made=" + std::to_string(gDecoys->Made()));
    gDecoys.reset();
}

void CALLBACK Tick(HWND /*window*/, UINT /*message*/, UINT_PTR /*id*/, DWORD /*time*/) {
    const ULONGLONG now = GetTickCount64();
    if (GetFileAttributesA((gEventsPath + ".stop").c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (gDecoys) AnnounceDecoys();
        Announce("stopped");
        PostQuitMessage(0);
        return;
    }
    while (gNextTimed < gTimed.size() && double(now - gStart) >= gTimed[gNextTimed].at * 1000.0) {
        const Command& c = gTimed[gNextTimed++];
        Run(c.line);
        char at[32];
        std::snprintf(at, sizeof at, "%g ", c.at);
        Announce(at + c.line.substr(0, 60));
    }
    while (gChurn.stepsLeft > 0 && now >= gChurn.next) {
        ChurnStep();
        gChurn.next += gChurn.periodMs;
        if (--gChurn.stepsLeft == 0) Announce("churn done");
    }
    if (gDecoys && gDecoys->RunDue(now)) AnnounceDecoys();
    if (gDecoys && !gDecoysFilled && gDecoys->Full()) {
        gDecoysFilled = true;
        Announce("decoys full");
    }
}

std::vector<Command> ReadScript(const char* path) {
    std::vector<Command> commands;
    FILE* f = std::fopen(path, "rb");
    if (!f) return commands;
    std::string all;
    char block[4096];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, f)) > 0;) all.append(block, n);
    std::fclose(f);
    std::size_t pos = 0;
    while (pos < all.size()) {
        std::size_t end = all.find('\n', pos);
        if (end == std::string::npos) end = all.size();
        std::string line = all.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        double at = 0;
        if (line.compare(0, 3, "at ") == 0) {
            std::string rest = line.substr(3);
            at = std::atof(Word(rest).c_str());
            line = rest;
        }
        commands.push_back(Command{at, line});
    }
    return commands;
}

void RegisterClasses() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kTopClass;
    RegisterClassW(&wc);
    wc.lpszClassName = kPanelClass;
    RegisterClassW(&wc);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: imitation_dialogs SCRIPT EVENTS\n");
        return 2;
    }
    gEventsPath = Narrow(argv[2]);
    RegisterClasses();
    gStart = GetTickCount64();
    for (const Command& c : ReadScript(Narrow(argv[1]).c_str())) {
        if (c.at > 0)
            gTimed.push_back(c);
        else
            Run(c.line);
    }
    std::stable_sort(gTimed.begin(), gTimed.end(), [](const Command& a, const Command& b) { return a.at < b.at; });
    SetTimer(nullptr, 0, 20, Tick);
    Announce("ready");
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
