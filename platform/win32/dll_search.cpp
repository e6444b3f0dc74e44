#include "platform/win32/dll_search.h"

#include "platform/error.h"
#include "platform/win32/system_path.h"
#include "platform/win32/wide.h"

FARPROC KernelFunction(const char* name) { return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name); }

namespace {

// SetDefaultDllDirectories and the LOAD_LIBRARY_SEARCH_* flags come together.
bool HasSearchFlags() { return KernelFunction("SetDefaultDllDirectories") != nullptr; }

HMODULE LoadFromSystemFolder(const wchar_t* file, bool searchFlags) {
    if (searchFlags) return LoadLibraryExW(file, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The DLL's own imports are searched from its folder, not from ours.
    const Text path = InFolder(SystemFolder(), reinterpret_cast<const char16_t*>(file));
    return LoadLibraryExW(Wide(path), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

void RestrictDllSearch() {
    SetDllDirectoryW(L"");
    using SetDefaults = BOOL(WINAPI*)(DWORD);
    const auto setDefaults =
        reinterpret_cast<SetDefaults>(reinterpret_cast<void*>(KernelFunction("SetDefaultDllDirectories")));
    if (setDefaults) setDefaults(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// Once SetDefaultDllDirectories has been called, Windows is reported to
// refuse LOAD_WITH_ALTERED_SEARCH_PATH as an invalid parameter, and a
// Windows without the search flags knows them no better: a load refused so
// tries the other way once.
FARPROC SystemFunction(const wchar_t* file, const char* name) {
    const bool searchFlags = HasSearchFlags();
    HMODULE module = LoadFromSystemFolder(file, searchFlags);
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) module = LoadFromSystemFolder(file, !searchFlags);
    if (!module) throw RuntimeError(err::DllLoad);
    const FARPROC function = GetProcAddress(module, name);
    if (!function) throw RuntimeError(err::DllEntryNotFound);
    return function;
}
