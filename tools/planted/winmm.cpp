// A stand-in for the system's winmm.dll that a download might leave beside a
// program or in its current folder. Loaded into a process, it appends that
// process's program path to winmm_loaded.txt in its own folder, and serves
// timeGetTime, so that a program that took it keeps running: the end-to-end
// tests plant it and check that the program never loads it.
#define WIN32_LEAN_AND_MEAN  // no mmsystem.h: this file declares timeGetTime itself
#include <windows.h>

#include <cwchar>

namespace {

void LeaveMarker(HMODULE self) {
    wchar_t marker[MAX_PATH + 32] = L"";
    const DWORD n = GetModuleFileNameW(self, marker, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    wchar_t* slash = wcsrchr(marker, L'\\');
    if (!slash) return;
    lstrcpyW(slash + 1, L"winmm_loaded.txt");
    HANDLE file = CreateFileW(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    wchar_t path[MAX_PATH] = L"?";
    GetModuleFileNameW(nullptr, path, MAX_PATH - 1);  // one unit short: the path always ends in a zero
    char line[MAX_PATH * 3 + 1] = "";
    int length = WideCharToMultiByte(CP_UTF8, 0, path, -1, line, MAX_PATH * 3, nullptr, nullptr);
    if (length < 1) length = 1;
    line[length - 1] = '\n';
    DWORD written = 0;
    WriteFile(file, line, DWORD(length), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
    return TRUE;
}

extern "C" __declspec(dllexport) DWORD WINAPI timeGetTime() { return GetTickCount(); }
