#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "platform/error.h"

TEST(CodePage, ShiftJisRoundTripsAndBadBytesBecomeMiddleDots) {
    const Text caption = u"ファイルのダウンロード";
    const std::string sjis = TextToAnsi(caption);
    ASSERT_EQ(sjis.size(), 22u);
    EXPECT_EQ(static_cast<unsigned char>(sjis[0]), 0x83);
    EXPECT_EQ(static_cast<unsigned char>(sjis[1]), 0x74);
    EXPECT_EQ(AnsiToText(sjis), caption);
    EXPECT_EQ(TextToAnsi(u"\u3000"), std::string("\x81\x40", 2));

    // A lead byte cut off at the end, and a byte that is never valid.
    EXPECT_EQ(AnsiToText(std::string("ab\x83", 3)), u"ab\u30FB");
    EXPECT_EQ(AnsiToText(std::string("\xA0z", 2)).back(), u'z');
    EXPECT_EQ(AnsiToText(std::string()), u"");
    // A character with no Shift-JIS form.
    EXPECT_EQ(TextToAnsi(u"a\U0001F600b"), "a??b");
}

TEST(RuntimeErrors, BoxTextIsNumberColonDescription) {
    RuntimeError e(err::FileNotFound);
    EXPECT_EQ(e.Number(), 53);
    EXPECT_EQ(ErrorBoxText(e.Number(), e.Description()), u"53:ファイルが見つかりません。");
    try {
        throw std::bad_alloc();
    } catch (const std::exception&) {
        EXPECT_EQ(CurrentError().Number(), err::OutOfMemory);
    }
}
