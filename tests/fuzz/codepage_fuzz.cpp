// The code-page conversion on any bytes, and on the same bytes taken as
// UTF-16 text:
// - decoding never yields more code units than bytes, keeps every zero byte,
//   widens the bytes before the first byte >= 0x80 one by one and decodes the
//   rest alone exactly as inside the whole (what the log reader relies on);
// - encoding never yields more than two bytes a code unit;
// - decoded text encodes to valid Shift-JIS, which decodes back to the same
//   text and encodes again to the same bytes.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/codepage.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

void CheckDecoding(const std::string& bytes) {
    const Text text = AnsiToText(bytes);
    FUZZ_CHECK(text.size() <= bytes.size());
    FUZZ_CHECK(std::count(text.begin(), text.end(), u'\0') == std::count(bytes.begin(), bytes.end(), '\0'));

    std::size_t ascii = 0;
    while (ascii < bytes.size() && static_cast<unsigned char>(bytes[ascii]) < 0x80) ++ascii;
    const Text head(bytes.begin(), bytes.begin() + std::ptrdiff_t(ascii));
    FUZZ_CHECK(text == head + AnsiToText(bytes.substr(ascii)));

    const std::string sjis = TextToAnsi(text);
    FUZZ_CHECK(AnsiToText(sjis) == text);
    FUZZ_CHECK(TextToAnsi(AnsiToText(sjis)) == sjis);
}

void CheckEncoding(const std::string& bytes) {
    Text text(bytes.size() / 2, u'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * 2);
    const std::string sjis = TextToAnsi(text);
    FUZZ_CHECK(sjis.size() <= text.size() * 2);
    FUZZ_CHECK(TextToAnsi(AnsiToText(sjis)) == sjis);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = FuzzInput(data, size).Rest();
    CheckDecoding(bytes);
    CheckEncoding(bytes);
    return 0;
}
