// The exe's entry point: wires the Win32 platform and runs the program.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
