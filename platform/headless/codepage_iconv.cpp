// Natively the ANSI code page is CP932 (or the one a test set) through iconv. A byte sequence that
// does not decode becomes U+30FB and the conversion goes on one byte later;
// a character with no Shift-JIS form becomes "?".
#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "platform/codepage.h"
#include "platform/headless/ansi_code_page.h"

namespace {

const char* gAnsiCodePage = "CP932";

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one run; returns false when it stopped at an undecodable unit.
    bool Run(char*& in, std::size_t& inLeft, char*& out, std::size_t& outLeft) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return iconv(cd_, &in, &inLeft, &out, &outLeft) != std::size_t(-1) || errno == E2BIG;
    }

private:
    iconv_t cd_;
};

}  // namespace

void SetAnsiCodePage(const char* iconvName) { gAnsiCodePage = iconvName ? iconvName : "CP932"; }

Text AnsiToText(const char* bytes, std::size_t count) {
    Converter conv("UTF-16LE", gAnsiCodePage);
    Text text(count, u'\0');  // never more units than bytes
    char* in = const_cast<char*>(bytes);
    std::size_t inLeft = count;
    char* out = reinterpret_cast<char*>(text.data());
    std::size_t outLeft = count * 2;
    while (inLeft > 0) {
        if (conv.Run(in, inLeft, out, outLeft)) continue;
        char16_t dot = u'\u30FB';
        std::memcpy(out, &dot, 2);
        out += 2;
        outLeft -= 2;
        ++in;
        --inLeft;
    }
    text.resize(count - outLeft / 2);
    return text;
}

std::string TextToAnsi(const Text& text) {
    Converter conv(gAnsiCodePage, "UTF-16LE");
    std::string bytes(text.size() * 2, '\0');
    char* in = reinterpret_cast<char*>(const_cast<char16_t*>(text.data()));
    std::size_t inLeft = text.size() * 2;
    char* out = bytes.data();
    std::size_t outLeft = bytes.size();
    while (inLeft > 0) {
        if (conv.Run(in, inLeft, out, outLeft)) continue;
        *out++ = '?';
        --outLeft;
        in += 2;
        inLeft -= 2;
    }
    bytes.resize(bytes.size() - outLeft);
    return bytes;
}
