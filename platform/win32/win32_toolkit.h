// The Win32 toolkit: real windows, MessageBoxW, CreateProcessW, a named
// mutex for the previous-instance test, and the program's message loop.
#pragma once
#include <windows.h>

#include "platform/toolkit.h"

class Win32Toolkit : public Toolkit {
public:
    // showCommand: how the program was asked to show its first window.
    explicit Win32Toolkit(int showCommand = SW_SHOWNORMAL);
    ~Win32Toolkit() override;
    Win32Toolkit(const Win32Toolkit&) = delete;
    Win32Toolkit& operator=(const Win32Toolkit&) = delete;

    std::unique_ptr<Form> LoadForm(const FormSpec& spec, FormEvents& events) override;
    // A program named without a folder comes from the system's folders only;
    // it starts in our program's folder.
    double Shell(const Text& commandLine, std::int32_t windowStyle) override;
    bool PrevInstance() override;
    [[noreturn]] void End() override;

    // The show command for a modeless show: the start's own for the first.
    int NextShowCommand();

protected:
    std::int32_t ShowMsgBox(const Text& prompt, std::int32_t style, const Text& title) override;

private:
    HWND HiddenOwner();

    int showCommand_;
    HFONT font_;  // the message font's face at the layout's size, for every control without a font of its own
    HWND hiddenOwner_ = nullptr;  // owns the forms kept out of the taskbar
    HANDLE instanceMutex_ = nullptr;
    bool prevInstance_ = false;
};

// Takes one message off the queue and delivers it, with the dialog keys (Tab,
// arrows, Enter, space) for our forms; false once the loop is asked to quit.
bool PumpMessage(MSG& msg);

// Runs until the last form is gone; ends earlier only through End().
int RunMessageLoop();
