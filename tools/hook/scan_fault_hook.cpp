// A hook library that the driver installs on the program's window thread to
// make every later window scan of the program fail: on its first call it
// replaces, in the program's own import table, the code-page conversion
// the scan uses to read a window's text by one that answers the length
// query with -1. The program then asks for a text longer than a string can
// hold, and the scan raises. The library pins itself, so that it stays
// loaded once unhooked.
#include <windows.h>

namespace {

using Convert = int(WINAPI*)(UINT, DWORD, LPCCH, int, LPWSTR, int);
Convert gOriginal = nullptr;

int WINAPI FailingLengthQuery(UINT codePage, DWORD flags, LPCCH bytes, int count, LPWSTR wide, int size) {
  if (size == 0) return -1;
  return gOriginal(codePage, flags, bytes, count, wide, size);
}

// Points every import of `original` in the main module at `replacement`.
void Replace(FARPROC original, FARPROC replacement) {
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

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ScanFaultHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && !gOriginal) {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&ScanFaultHook), &self);
    const FARPROC original = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "MultiByteToWideChar");
    gOriginal = reinterpret_cast<Convert>(reinterpret_cast<void*>(original));
    Replace(original, reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&FailingLengthQuery)));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
