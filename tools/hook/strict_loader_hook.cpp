// A hook library that the driver installs on the program's window thread to
// make the program's loader as strict as Windows is reported to be once
// SetDefaultDllDirectories has been called (the program calls it first
// thing where it exists): LoadLibraryExW with LOAD_WITH_ALTERED_SEARCH_PATH
// fails with ERROR_INVALID_PARAMETER. Wine accepts that call, so a test of
// the program's loads has to refuse it itself. On its first call the library
// replaces the program's own import of LoadLibraryExW, and writes each load
// the program asks for afterwards, with its flags and outcome, into
// strict_loader.txt beside itself. It pins itself, so that it stays loaded
// once unhooked.
#include <windows.h>

#include <cstdio>

#include "tools/hook/import_table.h"

namespace {

using Load = HMODULE(WINAPI*)(LPCWSTR, HANDLE, DWORD);
Load gOriginal = nullptr;
wchar_t gJournal[MAX_PATH] = L"";

void Note(LPCWSTR file, DWORD flags, const char* outcome) {
    char line[MAX_PATH * 3 + 64];
    char name[MAX_PATH * 3] = "";
    WideCharToMultiByte(CP_UTF8, 0, file, -1, name, sizeof name, nullptr, nullptr);
    const int length =
        std::snprintf(line, sizeof line, "%s flags=0x%lx %s\n", name, static_cast<unsigned long>(flags), outcome);
    HANDLE journal = CreateFileW(gJournal, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(journal, line, DWORD(length), &written, nullptr);
    CloseHandle(journal);
}

HMODULE WINAPI StrictLoad(LPCWSTR file, HANDLE reserved, DWORD flags) {
    if (flags & LOAD_WITH_ALTERED_SEARCH_PATH) {
        Note(file, flags, "refused");
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HMODULE module = gOriginal(file, reserved, flags);
    const DWORD error = GetLastError();
    Note(file, flags, module ? "loaded" : "failed");
    SetLastError(error);
    return module;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK StrictLoaderHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && !gOriginal) {
        GetModuleFileNameW(PinLibraryOf(reinterpret_cast<const void*>(&StrictLoaderHook)), gJournal, MAX_PATH);
        wchar_t* slash = wcsrchr(gJournal, L'\\');
        if (slash) lstrcpyW(slash + 1, L"strict_loader.txt");
        const FARPROC original = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryExW");
        gOriginal = reinterpret_cast<Load>(reinterpret_cast<void*>(original));
        ReplaceImport(original, reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&StrictLoad)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
