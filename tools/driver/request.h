// What the driver was asked: the command and its words, and the options
// given anywhere among them.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace driver {

struct Request {
    std::vector<std::wstring> words;  // the command's name, then its words
    bool prefix = false, contains = false, gone = false, sent = false;
    DWORD timeout = 10000;
    std::wstring title, press;
};

}  // namespace driver
