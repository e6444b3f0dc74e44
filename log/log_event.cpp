#include "log/log_event.h"

int Find_LineEvent(const Text& line) {
    int found = -1;
    for (std::size_t i = 0; i < kLogEventCount; ++i) {
        if (Contains(line, kLogEventTexts[i])) found = static_cast<int>(i);
    }
    return found;
}
