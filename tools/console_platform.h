// What the console test tools run on: the real Win32 system and files, and a
// toolkit stand-in that prints its message boxes to the console instead of
// showing them, so a test script can read them.
#pragma once
#include <windows.h>

#include <cstdio>

#include "platform/platform.h"
#include "platform/win32/files_win32.h"
#include "platform/win32/system_win32.h"
#include "tools/utf8.h"

class ConsoleToolkit : public Toolkit {
public:
    std::unique_ptr<Form> LoadForm(const FormSpec& /*spec*/, FormEvents& /*events*/) override { return nullptr; }
    std::int32_t ShowMsgBox(const Text& prompt, std::int32_t style, const Text& title) override {
        std::printf("box title=%s style=%d text=%s\n", Utf8(title).c_str(), int(style), Utf8(prompt).c_str());
        std::fflush(stdout);
        return IDOK;
    }
    double Shell(const Text& /*commandLine*/, std::int32_t /*windowStyle*/) override { return 0; }
    bool PrevInstance() override { return false; }
    [[noreturn]] void End() override { ExitProcess(0); }
};

// Wires the console tool's platform into gPlatform for the whole run.
inline void UseConsolePlatform() {
    static Win32System system;
    static Win32FileSystem files;
    static ConsoleToolkit toolkit;
    gPlatform.system = &system;
    gPlatform.files = &files;
    gPlatform.toolkit = &toolkit;
}
