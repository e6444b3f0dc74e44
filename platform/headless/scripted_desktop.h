// An in-memory desktop for the native tests and benchmarks: top-level windows
// with descendants at any depth, texts held as raw ANSI bytes (any bytes at
// all), and hooks that let windows close or change while a snapshot runs.
// It keeps the system's contracts: depth-first child order, enumerations that
// skip windows gone since they began, GetWindowTextA cut to size - 1 bytes
// plus a zero byte, 0 for a window that no longer exists.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/text.h"

class ScriptedDesktop : public Desktop {
public:
    // Handles are firstHandle, firstHandle + 4, ...; pass a value above 2^32
    // to prove that nothing cuts them to 32 bits.
    explicit ScriptedDesktop(WindowHandle firstHandle = 0x10010);

    WindowHandle AddTop(const std::string& ansi);
    WindowHandle AddTop(const Text& caption);
    // A child of a top-level window or of another child.
    WindowHandle AddChild(WindowHandle parent, const std::string& ansi);
    WindowHandle AddChild(WindowHandle parent, const Text& text);
    void SetText(WindowHandle window, const std::string& ansi);
    // Closes the window and all its descendants.
    void Close(WindowHandle window);
    bool Exists(WindowHandle window) const;
    // The window closes once `count` more enumeration calls have returned.
    void CloseAfterEnumerations(WindowHandle window, int count);

    // Called as EnumChildWindows is entered, before it lists anything.
    std::function<void(WindowHandle parent)> onEnumChildWindows;
    // Called as GetWindowTextA is entered, before it reads anything.
    std::function<void(WindowHandle window)> onGetWindowText;
    // A misbehaving system: when set, GetWindowTextA returns this count
    // whatever it copied.
    std::optional<std::int32_t> reportedCount;
    // A starved system: EnumWindows or EnumChildWindows lists nothing and
    // returns 0; every GetWindowTextA copies nothing and returns 0.
    bool enumWindowsFails = false;
    bool enumChildWindowsFails = false;
    bool textReadsFail = false;

    // What was asked of the desktop.
    int topEnumerations = 0;
    std::map<WindowHandle, int> childEnumerations;
    int textReads = 0;

    std::int32_t EnumWindows(EnumCallback callback, AppValue value) override;
    std::int32_t EnumChildWindows(WindowHandle parent, EnumCallback callback, AppValue value) override;
    std::int32_t GetWindowTextA(WindowHandle window, char* buffer, std::int32_t size) override;

private:
    struct Window {
        std::string text;
        bool alive = true;
        int closesAfter = 0;  // enumerations left before it closes, 0 never
        std::vector<std::size_t> children;
    };

    std::size_t Add(const std::string& ansi);
    Window* Find(WindowHandle window);
    const Window* Find(WindowHandle window) const;
    WindowHandle HandleOf(std::size_t index) const;
    std::vector<WindowHandle> Living(const std::vector<std::size_t>& indexes) const;
    bool EnumTree(const std::vector<WindowHandle>& list, EnumCallback callback, AppValue value);
    void EnumerationDone();

    WindowHandle first_;
    std::vector<Window> windows_;
    std::vector<std::size_t> tops_;
    std::vector<std::size_t> closing_;  // windows with a close pending
};
