// Points a program's own imports elsewhere, from inside the program: what the
// hook libraries do once the system has loaded them there.
#pragma once
#include <windows.h>

// Points every import of `original` in the main module at `replacement`.
inline void ReplaceImport(FARPROC original, FARPROC replacement) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d)
        for (auto* t = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); t->u1.Function; ++t)
            if (t->u1.Function == ULONG_PTR(original)) {
                DWORD protection = 0;
                VirtualProtect(&t->u1.Function, sizeof t->u1.Function, PAGE_READWRITE, &protection);
                t->u1.Function = ULONG_PTR(replacement);
                VirtualProtect(&t->u1.Function, sizeof t->u1.Function, protection, &protection);
            }
}

// Keeps the library that holds `address` loaded once its hook is gone;
// returns the library.
inline HMODULE PinLibraryOf(const void* address) {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(address), &self);
    return self;
}

// Calls `visit(dll, function, slot)` for every import by name of the main
// module: the library's name as the program names it, the function's name,
// and the slot of the import address table that the program calls through.
template <class Visit>
void ForEachImport(Visit visit) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        const auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; d->OriginalFirstThunk && names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            visit(reinterpret_cast<const char*>(base + d->Name), reinterpret_cast<const char*>(byName->Name),
                  &slots->u1.Function);
        }
    }
}

// Points one slot of the import address table at `replacement`.
inline void ReplaceSlot(decltype(IMAGE_THUNK_DATA::u1.Function)* slot, FARPROC replacement) {
    DWORD protection = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    *slot = decltype(IMAGE_THUNK_DATA::u1.Function)(replacement);
    VirtualProtect(slot, sizeof *slot, protection, &protection);
}
