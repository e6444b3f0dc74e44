#include "platform/headless/scripted_desktop.h"

#include <algorithm>
#include <cstring>

#include "platform/codepage.h"

namespace {
constexpr WindowHandle kHandleStep = 4;
}

ScriptedDesktop::ScriptedDesktop(WindowHandle firstHandle) : first_(firstHandle) {}

std::size_t ScriptedDesktop::Add(const std::string& ansi) {
    windows_.push_back(Window{ansi, true, 0, {}});
    return windows_.size() - 1;
}

WindowHandle ScriptedDesktop::HandleOf(std::size_t index) const {
    return first_ + static_cast<WindowHandle>(index) * kHandleStep;
}

ScriptedDesktop::Window* ScriptedDesktop::Find(WindowHandle window) {
    return const_cast<Window*>(static_cast<const ScriptedDesktop*>(this)->Find(window));
}

const ScriptedDesktop::Window* ScriptedDesktop::Find(WindowHandle window) const {
    if (window < first_ || (window - first_) % kHandleStep != 0) return nullptr;
    const auto index = static_cast<std::size_t>((window - first_) / kHandleStep);
    if (index >= windows_.size() || !windows_[index].alive) return nullptr;
    return &windows_[index];
}

WindowHandle ScriptedDesktop::AddTop(const std::string& ansi) {
    const std::size_t index = Add(ansi);
    tops_.push_back(index);
    return HandleOf(index);
}

WindowHandle ScriptedDesktop::AddTop(const Text& caption) { return AddTop(TextToAnsi(caption)); }

WindowHandle ScriptedDesktop::AddChild(WindowHandle parent, const std::string& ansi) {
    Window* owner = Find(parent);
    if (!owner) return 0;
    const auto parentIndex = static_cast<std::size_t>(owner - windows_.data());
    const std::size_t index = Add(ansi);  // may move the windows
    windows_[parentIndex].children.push_back(index);
    return HandleOf(index);
}

WindowHandle ScriptedDesktop::AddChild(WindowHandle parent, const Text& text) {
    return AddChild(parent, TextToAnsi(text));
}

void ScriptedDesktop::SetText(WindowHandle window, const std::string& ansi) {
    if (Window* w = Find(window)) w->text = ansi;
}

void ScriptedDesktop::Close(WindowHandle window) {
    Window* w = Find(window);
    if (!w) return;
    w->alive = false;
    for (std::size_t child : w->children) Close(HandleOf(child));
}

bool ScriptedDesktop::Exists(WindowHandle window) const { return Find(window) != nullptr; }

void ScriptedDesktop::CloseAfterEnumerations(WindowHandle window, int count) {
    Window* w = Find(window);
    if (!w) return;
    w->closesAfter = count;
    closing_.push_back(static_cast<std::size_t>(w - windows_.data()));
}

std::vector<WindowHandle> ScriptedDesktop::Living(const std::vector<std::size_t>& indexes) const {
    std::vector<WindowHandle> list;
    list.reserve(indexes.size());
    for (std::size_t index : indexes)
        if (windows_[index].alive) list.push_back(HandleOf(index));
    return list;
}

void ScriptedDesktop::EnumerationDone() {
    for (std::size_t index : closing_) {
        Window& w = windows_[index];
        if (w.alive && w.closesAfter > 0 && --w.closesAfter == 0) Close(HandleOf(index));
    }
}

std::int32_t ScriptedDesktop::EnumWindows(EnumCallback callback, AppValue value) {
    ++topEnumerations;
    if (enumWindowsFails) return 0;
    // Like the system: list first, then call back for each window still there.
    for (WindowHandle window : Living(tops_)) {
        if (!Exists(window)) continue;
        if (callback(window, value) == 0) break;
    }
    EnumerationDone();
    return 1;
}

// Depth first: each child, then its own descendants, whose list is taken
// before the child is reported.
bool ScriptedDesktop::EnumTree(const std::vector<WindowHandle>& list, EnumCallback callback, AppValue value) {
    return std::all_of(list.begin(), list.end(), [&](WindowHandle window) {
        const Window* w = Find(window);
        if (!w) return true;
        const std::vector<WindowHandle> below = Living(w->children);
        return callback(window, value) != 0 && EnumTree(below, callback, value);
    });
}

std::int32_t ScriptedDesktop::EnumChildWindows(WindowHandle parent, EnumCallback callback, AppValue value) {
    ++childEnumerations[parent];
    if (onEnumChildWindows) onEnumChildWindows(parent);
    if (enumChildWindowsFails) return 0;
    std::int32_t result = 1;
    if (const Window* w = Find(parent)) result = EnumTree(Living(w->children), callback, value) ? 1 : 0;
    EnumerationDone();
    return result;
}

std::int32_t ScriptedDesktop::GetWindowTextA(WindowHandle window, char* buffer, std::int32_t size) {
    ++textReads;
    if (onGetWindowText) onGetWindowText(window);
    if (size <= 0) return 0;
    std::size_t count = 0;
    if (const Window* w = textReadsFail ? nullptr : Find(window)) {
        count = std::min(w->text.size(), static_cast<std::size_t>(size - 1));
        std::memcpy(buffer, w->text.data(), count);
    }
    buffer[count] = '\0';
    return reportedCount ? *reportedCount : static_cast<std::int32_t>(count);
}
