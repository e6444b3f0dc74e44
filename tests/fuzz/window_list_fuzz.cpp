// The window snapshot over a desktop of windows with any texts, whose
// GetWindowTextA may misbehave: report a count it did not copy (negative or
// past the buffer), fill the whole buffer with no closing zero, or close or
// retitle a window while the snapshot runs. Every window called back must get
// one entry, in order, holding at most 255 bytes' worth of text: what the
// 256-byte zeroed buffer held within the count, cut to 255 bytes.
//
// Input: window after window, each one byte of kind (bit 0: a child of an
// earlier window, chosen by the next byte; bits 1-3: what reading its text
// does; bit 4: 256 more bytes of text), one byte of text length, for a false
// count four bytes of it, for a close or a retitle one byte choosing the
// window, then the text.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "detect/window_list.h"
#include "platform/codepage.h"
#include "platform/headless/scripted_desktop.h"
#include "platform/platform.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

constexpr std::int32_t kBufferSize = 256;

enum class Reading { Honest, FalseCount, FillsBuffer, ClosesWindow, RetitlesWindow, Count };

struct Behaviour {
    Reading reading = Reading::Honest;
    std::int32_t count = 0;  // the count it returns, when false or filling
    WindowHandle other = 0;  // the window it closes or retitles
};

// The scripted desktop, with each window's text read the way the input says.
// It writes down every window called back and the caption each read allows.
class HostileDesktop : public Desktop {
public:
    static HostileDesktop* active;  // the one whose enumeration runs

    ScriptedDesktop desk;
    std::map<WindowHandle, std::string> texts;  // as the desktop holds them now
    std::map<WindowHandle, Behaviour> behaviours;
    std::vector<WindowHandle> calledBack;
    std::vector<WindowHandle> read;
    std::vector<Text> allowed;  // by read

    std::int32_t EnumWindows(EnumCallback callback, AppValue value) override {
        Begin(callback);
        return desk.EnumWindows(Called, value);
    }
    std::int32_t EnumChildWindows(WindowHandle parent, EnumCallback callback, AppValue value) override {
        Begin(callback);
        return desk.EnumChildWindows(parent, Called, value);
    }

    std::int32_t GetWindowTextA(WindowHandle window, char* buffer, std::int32_t size) override {
        FUZZ_CHECK(size == kBufferSize);
        read.push_back(window);
        const Behaviour b = behaviours[window];
        if (b.reading == Reading::ClosesWindow) desk.Close(b.other);
        if (b.reading == Reading::RetitlesWindow) SetText(b.other, texts[window] + texts[b.other]);
        const std::string text = desk.Exists(window) ? texts[window] : std::string();
        std::string held(std::size_t(size), '\0');  // the caller's buffer is zeroed
        std::int32_t n = std::int32_t(std::min<std::size_t>(text.size(), std::size_t(size - 1)));
        if (b.reading == Reading::FillsBuffer) {
            // Every byte of the buffer, and no closing zero.
            for (std::size_t i = 0; i < held.size(); ++i) held[i] = text.empty() ? '\x83' : text[i % text.size()];
            std::copy(held.begin(), held.end(), buffer);
            n = b.count;
        } else {
            FUZZ_CHECK(desk.GetWindowTextA(window, buffer, size) == n);
            held.replace(0, std::size_t(n), text, 0, std::size_t(n));
            if (b.reading == Reading::FalseCount) n = b.count;
        }
        const std::size_t within = std::size_t(std::clamp(n, 0, kBufferSize - 1));
        allowed.push_back(AnsiToText(held.substr(0, within)));
        return n;
    }

    void SetText(WindowHandle window, const std::string& ansi) {
        if (!desk.Exists(window)) return;
        texts[window] = ansi;
        desk.SetText(window, ansi);
    }

private:
    void Begin(EnumCallback callback) {
        calledBack.clear();
        read.clear();
        allowed.clear();
        callback_ = callback;
    }
    // The system calls back a plain function: it reports to the active desktop.
    static std::int32_t Called(WindowHandle window, AppValue value) {
        active->calledBack.push_back(window);
        const std::int32_t result = active->callback_(window, value);
        FUZZ_CHECK(result == 1);  // the enumeration always goes on
        return result;
    }

    EnumCallback callback_ = nullptr;
};
HostileDesktop* HostileDesktop::active = nullptr;

void CheckSnapshot(const HostileDesktop& d, const std::vector<WindowEntry>& list, std::int32_t last) {
    FUZZ_CHECK(last == std::int32_t(list.size()) - 1);
    FUZZ_CHECK(list.size() == d.calledBack.size());
    FUZZ_CHECK(d.read == d.calledBack);  // one text read for each window, as it is called back
    for (std::size_t k = 0; k < list.size(); ++k) {
        FUZZ_CHECK(list[k].hWnd == d.calledBack[k]);
        FUZZ_CHECK(list[k].Caption == d.allowed[k]);
        FUZZ_CHECK(list[k].Caption.size() <= std::size_t(kBufferSize - 1));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    HostileDesktop d;
    HostileDesktop::active = &d;
    gPlatform.desktop = &d;
    std::vector<WindowHandle> windows;
    std::vector<WindowHandle> tops;
    while (!in.Empty() && windows.size() < 64) {
        const std::uint8_t kind = in.Byte();
        const bool child = (kind & 1) != 0 && !windows.empty();
        const WindowHandle parent = child ? windows[in.Byte() % windows.size()] : 0;
        Behaviour b;
        b.reading = Reading(((kind >> 1) & 7) % int(Reading::Count));
        const std::size_t length = in.Byte() + ((kind & 0x10) ? 256 : 0);
        if (b.reading == Reading::FalseCount || b.reading == Reading::FillsBuffer) b.count = std::int32_t(in.Bytes(4));
        const std::size_t otherIndex =
            (b.reading == Reading::ClosesWindow || b.reading == Reading::RetitlesWindow) ? in.Byte() : 0;
        const std::string text = in.Take(length);
        const WindowHandle h = child ? d.desk.AddChild(parent, text) : d.desk.AddTop(text);
        FUZZ_CHECK(h != 0);
        if (!child) tops.push_back(h);
        windows.push_back(h);
        d.texts[h] = text;
        // A window read later may act on this one or any before it, itself included.
        if (b.reading == Reading::ClosesWindow || b.reading == Reading::RetitlesWindow)
            b.other = windows[otherIndex % windows.size()];
        d.behaviours[h] = b;
    }

    Snap_TopWindows();
    CheckSnapshot(d, gWinList, gWinLast);
    for (WindowHandle top : tops) {
        Snap_ChildWindows(top);
        CheckSnapshot(d, gChildList, gChildLast);
    }
    gPlatform.desktop = nullptr;
    HostileDesktop::active = nullptr;
    return 0;
}
