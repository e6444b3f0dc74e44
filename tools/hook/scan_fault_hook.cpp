// A hook library that the driver installs on the program's window thread to
// make every later window scan of the program fail: on its first call it
// replaces, in the program's own import table, the code-page conversion
// the scan uses to read a window's text by one that answers the length
// query with -1. The program then asks for a text longer than a string can
// hold, and the scan raises. The library pins itself, so that it stays
// loaded once unhooked.
#include <windows.h>

#include "tools/hook/import_table.h"

namespace {

using Convert = int(WINAPI*)(UINT, DWORD, LPCCH, int, LPWSTR, int);
Convert gOriginal = nullptr;

int WINAPI FailingLengthQuery(UINT codePage, DWORD flags, LPCCH bytes, int count, LPWSTR wide, int size) {
    if (size == 0) return -1;
    return gOriginal(codePage, flags, bytes, count, wide, size);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ScanFaultHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && !gOriginal) {
        PinLibraryOf(reinterpret_cast<const void*>(&ScanFaultHook));
        const FARPROC original = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "MultiByteToWideChar");
        gOriginal = reinterpret_cast<Convert>(reinterpret_cast<void*>(original));
        ReplaceImport(original, reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&FailingLengthQuery)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
