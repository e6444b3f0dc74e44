#include "platform/win32/files_win32.h"

#include <windows.h>

#include "platform/error.h"
#include "platform/win32/last_error.h"
#include "platform/win32/system_path.h"

namespace {

class Win32File : public File {
public:
    explicit Win32File(HANDLE handle) : handle_(handle) {}
    ~Win32File() override {
        if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
    }

    std::size_t Size() override {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(handle_, &size)) RaiseLastError();
        return std::size_t(size.QuadPart);
    }

    std::size_t Read(char* buffer, std::size_t count) override {
        DWORD n = 0;
        const DWORD want = count > 0x40000000 ? 0x40000000 : DWORD(count);
        if (!ReadFile(handle_, buffer, want, &n, nullptr)) RaiseLastError();
        return n;
    }

    void Write(const std::string& bytes) override {
        LARGE_INTEGER zero{};
        LARGE_INTEGER start{};
        if (!SetFilePointerEx(handle_, zero, &start, FILE_CURRENT)) RaiseLastError();
        std::size_t done = 0;
        while (done < bytes.size()) {
            const std::size_t left = bytes.size() - done;
            DWORD n = 0;
            if (!WriteFile(handle_, bytes.data() + done, left > 0x40000000 ? 0x40000000 : DWORD(left), &n, nullptr)) {
                // A full disk takes the bytes that fit before it refuses: cut
                // them off again, so that the file never ends in part of a
                // line that the next write would run on from.
                const DWORD error = GetLastError();
                if (done > 0 && SetFilePointerEx(handle_, start, nullptr, FILE_BEGIN)) SetEndOfFile(handle_);
                throw RuntimeError(ErrorNumberFromLastError(error));
            }
            done += n;
        }
    }

    void Close() override {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        if (!::CloseHandle(handle)) RaiseLastError();
    }

private:
    HANDLE handle_;
};

}  // namespace

std::unique_ptr<File> Win32FileSystem::Open(const Text& path, OpenMode mode) {
    const auto* name = reinterpret_cast<const wchar_t*>(path.c_str());
    DWORD access = GENERIC_WRITE;
    DWORD disposition = OPEN_ALWAYS;
    if (mode == OpenMode::Read) {
        access = GENERIC_READ;
        disposition = OPEN_EXISTING;
    } else if (mode == OpenMode::Overwrite) {
        disposition = CREATE_ALWAYS;
    }
    // Others may read the log meanwhile, as they may between events.
    HANDLE handle = CreateFileW(name, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) RaiseLastError();
    auto file = std::make_unique<Win32File>(handle);
    if (mode == OpenMode::Append && SetFilePointer(handle, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR)
        RaiseLastError();
    return file;
}

Text Win32FileSystem::AppPath() {
    const Text name = ModulePath();
    std::size_t slash = name.find_last_of(u'\\');
    Text folder = slash == Text::npos ? Text() : name.substr(0, slash);
    // A drive's root folder keeps its backslash: "C:\".
    if (folder.size() == 2 && folder[1] == u':') folder += u'\\';
    return folder;
}

namespace {

// One separator of the user's regional settings; the usual one if none is set.
Text LocaleSeparator(LCTYPE which, const char16_t* usual) {
    wchar_t buffer[8];  // the settings allow at most 3 characters
    const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, which, buffer, 8);
    if (n <= 1) return usual;
    return {buffer, buffer + n - 1};
}

}  // namespace

LocalTime Win32FileSystem::Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear,
            t.wMonth,
            t.wDay,
            t.wHour,
            t.wMinute,
            t.wSecond,
            LocaleSeparator(LOCALE_SDATE, u"/"),
            LocaleSeparator(LOCALE_STIME, u":")};
}
