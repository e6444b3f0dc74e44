#include "platform/win32/system_path.h"

#include <windows.h>

#include "platform/error.h"
#include "platform/win32/last_error.h"
#include "platform/win32/wide.h"

namespace {

// No Windows path is longer than this, in UTF-16 units.
constexpr DWORD kLongestPath = 32768;

// Calls fill(buffer, size) with a larger buffer until the path fits. A call
// answers the length it wrote (less than the size), or the size it needs, or
// (GetModuleFileNameW) the size it was given when it had to cut the path:
// Windows XP then leaves the buffer without its closing zero, so only the
// answered length is ever read.
template <class Fill>
Text PathFrom(Fill fill) {
    Text path(MAX_PATH, u'\0');
    for (;;) {
        const DWORD n = fill(reinterpret_cast<wchar_t*>(path.data()), DWORD(path.size()));
        if (n == 0) RaiseLastError();
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        if (path.size() >= kLongestPath) throw RuntimeError(err::BadFileName);
        path.resize(n > path.size() ? n : path.size() * 2);
    }
}

}  // namespace

Text ModulePath() {
    return PathFrom([](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(nullptr, buffer, size); });
}

Text SystemFolder() {
    return PathFrom([](wchar_t* buffer, DWORD size) { return DWORD(GetSystemDirectoryW(buffer, size)); });
}

Text WindowsFolder() {
    return PathFrom([](wchar_t* buffer, DWORD size) { return DWORD(GetSystemWindowsDirectoryW(buffer, size)); });
}

Text LongPath(const Text& path) {
    return PathFrom([&path](wchar_t* buffer, DWORD size) { return GetLongPathNameW(Wide(path), buffer, size); });
}

Text InFolder(const Text& folder, const Text& file) {
    return folder + (!folder.empty() && folder.back() == u'\\' ? u"" : u"\\") + file;
}
