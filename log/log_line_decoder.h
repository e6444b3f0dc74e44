// Decodes log lines from the ANSI code page and tells which event each one
// reports, fast enough for logs of many megabytes: a line's leading ASCII
// bytes (the time stamp) are widened directly, and the rest, which repeats
// from line to line, is decoded once and remembered.
#pragma once
#include <array>
#include <cstddef>
#include <string>
#include "platform/text.h"

class LogLineDecoder {
public:
    // Appends the decoded line to `out` and returns the index of the event
    // the line reports (Find_LineEvent), or -1.
    int AppendLine(const char* bytes, std::size_t count, Text& out);

private:
    struct Tail {
        std::string bytes;
        Text text;
        int event = -1;
    };
    const Tail& Decode(const char* bytes, std::size_t count);

    std::array<Tail, 8> tails_;
    std::size_t next_ = 0;  // the slot replaced on the next miss
};
