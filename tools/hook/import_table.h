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
