#include "tools/driver/console.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace driver {

using std::wstring;

void Print(const wstring& line) {
    const wstring text = line + L"\n";
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(std::size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), n, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), DWORD(bytes.size()), &written, nullptr);
}

namespace {

wstring FromUtf8(const std::string& bytes) {
    int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    wstring text(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), text.data(), n);
    return text;
}

}  // namespace

wstring Argument(const wstring& arg) {
    if (arg.size() > 1 && arg[0] == L'@') {
        std::string bytes;
        if (FILE* f = _wfopen(arg.c_str() + 1, L"rb")) {
            char buffer[4096];
            for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
            fclose(f);
        }
        while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) bytes.pop_back();
        return FromUtf8(bytes);
    }
    wstring out;
    for (std::size_t i = 0; i < arg.size(); ++i) {
        if (arg[i] == L'\\' && i + 5 < arg.size() && arg[i + 1] == L'u') {
            out += wchar_t(std::wcstoul(arg.substr(i + 2, 4).c_str(), nullptr, 16));
            i += 5;
        } else {
            out += arg[i];
        }
    }
    return out;
}

wstring Number(long long value) { return std::to_wstring(value); }

wstring Hex(HWND window) {
    wchar_t buffer[32];
    swprintf(buffer, 32, L"0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return buffer;
}

}  // namespace driver
