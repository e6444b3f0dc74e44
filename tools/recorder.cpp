// Stands in for a program the shell starts for a document (a mail program
// for "mailto:"): appends each of its arguments as one UTF-8 line to
// recorder.txt beside itself, so that a test sees what the shell was asked.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "tools/utf8.h"

int wmain(int argc, wchar_t** argv) {
    wchar_t path[MAX_PATH + 16] = L"";  // room for the file name after a full-length folder
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    wchar_t* slash = wcsrchr(path, L'\\');
    if (!slash) return 1;
    wcscpy(slash + 1, L"recorder.txt");
    FILE* file = _wfopen(path, L"ab");
    if (!file) return 1;
    for (int i = 1; i < argc; ++i) std::fprintf(file, "%s\n", Utf8(reinterpret_cast<const char16_t*>(argv[i])).c_str());
    std::fclose(file);
    return 0;
}
