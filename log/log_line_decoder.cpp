#include "log/log_line_decoder.h"

#include <cstring>

#include "log/log_event.h"
#include "platform/codepage.h"

// Every ANSI code page agrees with ASCII below 0x80, and no lead byte lies
// there, so the bytes before the first byte >= 0x80 are one character each.
// The tail decodes on its own exactly as it would inside the whole line,
// because it starts at a character boundary. Every event text starts with a
// non-ASCII character, so an event can only be found in the tail.
int LogLineDecoder::AppendLine(const char* bytes, std::size_t count, Text& out) {
    std::size_t ascii = 0;
    while (ascii < count && static_cast<unsigned char>(bytes[ascii]) < 0x80) ++ascii;
    const std::size_t at = out.size();
    out.resize(at + ascii);
    for (std::size_t i = 0; i < ascii; ++i) out[at + i] = static_cast<char16_t>(bytes[i]);
    if (ascii == count) return -1;
    const Tail& tail = Decode(bytes + ascii, count - ascii);
    out += tail.text;
    return tail.event;
}

const LogLineDecoder::Tail& LogLineDecoder::Decode(const char* bytes, std::size_t count) {
    for (const Tail& tail : tails_) {
        if (tail.bytes.size() == count && std::memcmp(tail.bytes.data(), bytes, count) == 0) return tail;
    }
    Tail& tail = tails_[next_];
    next_ = (next_ + 1) % tails_.size();
    tail.bytes.assign(bytes, count);
    tail.text = AnsiToText(bytes, count);
    tail.event = Find_LineEvent(tail.text);
    return tail;
}
