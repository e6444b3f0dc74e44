// The one set of platform services the program runs on: wWinMain wires the
// Win32 implementations into it, each native test the headless ones.
#pragma once
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/toolkit.h"

struct Platform {
    Desktop* desktop = nullptr;
    System* system = nullptr;
    FileSystem* files = nullptr;
    Toolkit* toolkit = nullptr;
};

extern Platform gPlatform;
