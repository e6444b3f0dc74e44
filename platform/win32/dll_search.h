// Where the program's DLLs come from. The exe imports only DLLs that Windows
// always takes from its System folder; anything else is loaded by its full
// path there, and what the system loads later is kept out of the current
// folder and, where Windows allows it, out of the program's folder.
#pragma once
#include <windows.h>

// The first thing the program does: the current folder leaves the DLL search
// (for the programs we start too), and where Windows has
// SetDefaultDllDirectories (8 and later, Vista and 7 with KB2533623), the
// search is the System folder alone.
void RestrictDllSearch();

// The function `name` of the DLL `file` in the System folder, loaded at the
// first call: with the System32-only search where Windows has it, by its
// full path elsewhere. Raises a run-time error when either cannot be found.
FARPROC SystemFunction(const wchar_t* file, const char* name);

// A function of kernel32 that this Windows may lack; null where it does.
FARPROC KernelFunction(const char* name);
