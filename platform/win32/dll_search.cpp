#include "platform/win32/dll_search.h"

#include "platform/error.h"
#include "platform/win32/system_path.h"
#include "platform/win32/wide.h"

void RestrictDllSearch() {
    SetDllDirectoryW(L"");
    using SetDefaults = BOOL(WINAPI*)(DWORD);
    const auto setDefaults = reinterpret_cast<SetDefaults>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefaults) setDefaults(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

FARPROC SystemFunction(const wchar_t* file, const char* name) {
    const Text path = InFolder(SystemFolder(), reinterpret_cast<const char16_t*>(file));
    // The DLL's own imports are searched from its folder, not from ours.
    HMODULE module = LoadLibraryExW(Wide(path), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) throw RuntimeError(err::DllLoad);
    const FARPROC function = GetProcAddress(module, name);
    if (!function) throw RuntimeError(err::DllEntryNotFound);
    return function;
}
