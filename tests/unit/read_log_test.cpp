#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "log/log_event.h"
#include "log/log_writer.h"
#include "log/read_log.h"
#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/headless/ansi_code_page.h"
#include "tests/fakes/platform_fixture.h"
#include "tests/unit/log_line_bytes.h"

namespace {

const Text kStart = u"ダウンロード監視スタート";
const Text kNormal = u"正常終了シャットダウン";
const Text kAbnormal = u"異常終了シャットダウン";
const Text kCancel = u"ダウンロード監視キャンセル";

std::string Sjis(const Text& text) { return TextToAnsi(text); }
// A line as an earlier run would have left it, from bytes written out by hand.
std::string Line(LogEvent event) {
    const std::string* texts[] = {&kStartSjis, &kNormalEndSjis, &kAbnormalEndSjis, &kCancelSjis};
    return "2004/01/09 08:03:07" + kIdeographicSpace + *texts[static_cast<int>(event)] + "\r\n";
}

class ReadLog : public PlatformFixture {
protected:
    struct Outcome {
        bool ok;
        Text view;
        Text lastEvent;
    };
    Outcome Read() {
        Text lastEvent = u"stale";
        bool ok = Read_Log(txtLog, lastEvent);
        return {ok, txtLog.Caption(), lastEvent};
    }
    // The one scroll request sent, as recorded.
    std::string Scroll(std::size_t count) const {
        return "SendMessageA(" + std::to_string(txtLog.hWnd()) + ", 182, 0, " + std::to_string(count) + ")";
    }

    TextBoxStub txtLog;
};

// The scroll count is the view's length: the edit control also breaks at a
// lone LF, so it may show more lines than were read, and a count
// of lines read would stop short of the end.
TEST_F(ReadLog, LineEndsAreCrLfAndLoneCrButNotLoneLf) {
    const struct {
        std::string bytes;
        Text view;
    } cases[] = {
        {"", u""},
        {"a\r\nb\r\n", u"a\r\nb\r\n"},
        {"a\r\nb", u"a\r\nb\r\n"},
        {"a\rb\r", u"a\r\nb\r\n"},
        {"a\nb\n", u"a\nb\n\r\n"},
        {"a\r\r\nb", u"a\r\n\r\nb\r\n"},
        {"a\n\r\n", u"a\n\r\n"},
        {"\r", u"\r\n"},
        {"\r\n", u"\r\n"},
        {"\n", u"\n\r\n"},
        {"\r\r\n\r", u"\r\n\r\n\r\n"},
        {"\n\r", u"\n\r\n"},
        {"\n\n\n\n\n\n", u"\n\n\n\n\n\n\r\n"},
        {std::string("x\0y\r\n\0", 6), u"x y\r\n \r\n"},  // the control would stop at a NUL
        {"\xb1\xb2\r\n", u"\uFF71\uFF72\r\n"},            // half-width katakana are single bytes
    };
    for (const auto& c : cases) {
        files.WriteBytes(gLogFileName, c.bytes);
        system.ClearCalls();
        const Outcome got = Read();
        EXPECT_TRUE(got.ok);
        EXPECT_EQ(got.view, c.view) << "bytes: " << c.bytes;
        EXPECT_EQ(got.lastEvent, u"");
        EXPECT_EQ(system.Calls(), std::vector<std::string>{Scroll(c.view.size())}) << "bytes: " << c.bytes;
        EXPECT_TRUE(toolkit.boxes.empty());
    }
}

TEST_F(ReadLog, TheLastTestThatFindsItsTextWins) {
    const struct {
        std::vector<std::string> lines;
        Text lastEvent;
    } cases[] = {
        {{Line(LogEvent::Start)}, kStart},
        {{Line(LogEvent::Start), Line(LogEvent::NormalEnd), Line(LogEvent::Start)}, kStart},
        {{Line(LogEvent::Start), Line(LogEvent::AbnormalEnd)}, kAbnormal},
        {{Line(LogEvent::Start), Line(LogEvent::Cancel), "", Sjis(u"手で書いた行"), "memo"}, kCancel},
        // Two texts in one line: the order of the tests decides, not the position.
        {{Sjis(kCancel + u" " + kStart)}, kCancel},
        {{Sjis(kAbnormal + kNormal)}, kAbnormal},
        {{Sjis(u"x" + kStart + kNormal + kAbnormal + u"y")}, kAbnormal},
        // Anywhere in a line, with or without a time stamp.
        {{Sjis(kNormal)}, kNormal},
        {{Sjis(u"前置き" + kCancel + u"後書き")}, kCancel},
        // Exact code units only: a part, half-width kana, other kana.
        {{Sjis(u"ダウンロード監視")}, u""},
        {{Sjis(u"ﾀﾞｳﾝﾛｰﾄﾞ監視ｽﾀｰﾄ")}, u""},
        {{Sjis(u"だうんろーど監視すたーと")}, u""},
        {{Line(LogEvent::Cancel), Sjis(u"正常終了")}, kCancel},
    };
    for (const auto& c : cases) {
        std::string bytes;
        Text view;
        for (const std::string& line : c.lines) {
            bytes += line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0 ? line : line + "\r\n";
            view += AnsiToText(line.substr(0, line.find('\r'))) + u"\r\n";
        }
        files.WriteBytes(gLogFileName, bytes);
        const Outcome got = Read();
        EXPECT_TRUE(got.ok);
        EXPECT_EQ(got.lastEvent, c.lastEvent) << bytes;
        EXPECT_EQ(got.view, view);
    }
}

TEST_F(ReadLog, NoLogIsNoError) {
    txtLog.SetCaption(u"old text");
    const Outcome got = Read();
    EXPECT_TRUE(got.ok);
    EXPECT_EQ(got.view, u"");
    EXPECT_EQ(got.lastEvent, u"");
    EXPECT_TRUE(toolkit.boxes.empty());
    EXPECT_TRUE(system.Calls().empty());
    EXPECT_FALSE(files.Exists(gLogFileName));
}

TEST_F(ReadLog, AnErrorStopsTheReadingKeepsWhatWasReadAndShowsTheBox) {
    const std::string log = Line(LogEvent::Start) + Line(LogEvent::Cancel) + Line(LogEvent::Start);
    files.WriteBytes(gLogFileName, log);
    const struct {
        std::int32_t FileFaults::*fault;
        std::int32_t number;
        std::size_t after;
        Text view, lastEvent;
    } cases[] = {
        // Two whole lines and part of the third were read when the disk failed.
        {&FileFaults::readError, err::DeviceIO, 47 + 49 + 10,
         AnsiToText(Line(LogEvent::Start) + Line(LogEvent::Cancel)), kCancel},
        {&FileFaults::readError, err::DeviceIO, 0, u"", u""},
        {&FileFaults::openError, err::PermissionDenied, 0, u"", u""},
        {&FileFaults::closeError, err::DeviceIO, 0, AnsiToText(log), kStart},
    };
    for (const auto& c : cases) {
        files.faults = FileFaults{};
        files.faults.*c.fault = c.number;
        files.faults.readErrorAfter = c.after;
        files.faults.maxRead = 7;
        toolkit.boxes.clear();
        system.ClearCalls();
        const Outcome got = Read();
        EXPECT_FALSE(got.ok);
        EXPECT_EQ(got.view, c.view);
        EXPECT_EQ(got.lastEvent, c.lastEvent);
        ASSERT_EQ(toolkit.boxes.size(), 1u);
        EXPECT_EQ(toolkit.boxes[0].prompt, ErrorBoxText(c.number, ErrorDescription(c.number)));
        EXPECT_EQ(toolkit.boxes[0].style, 16);
        EXPECT_EQ(toolkit.boxes[0].title, u"Read_Log");
        EXPECT_TRUE(system.Calls().empty()) << "no scroll after an error";
    }
    EXPECT_EQ(toolkit.boxes[0].prompt, u"57:デバイス I/O エラーです。");
}

TEST_F(ReadLog, ARealReadFailureIsReportedWithItsNumber) {
    // A folder where the log should be opens, but cannot be read.
    std::filesystem::create_directories(files.RealPath(gLogFileName));
    const Outcome got = Read();
    EXPECT_FALSE(got.ok);
    ASSERT_EQ(toolkit.boxes.size(), 1u);
    EXPECT_EQ(toolkit.boxes[0].prompt, u"75:パス名が無効です。");
}

// However the file's bytes arrive, every line is decoded whole: a double-byte
// character or a CR LF split between two reads comes out the same.
TEST_F(ReadLog, ReadsSplitAnywhereGiveTheSameLines) {
    const std::string lead = "\x83";  // first byte of a katakana
    std::string log = Line(LogEvent::Start) + Sjis(u"漢字だけの行") + "\r" + "ab" + lead + "\r\n" +
                      std::string(65535, 'x') + Sjis(u"ア") + "\r\n" + std::string(100000, 'y') + "\r\n" +
                      Sjis(std::u16string(50000, u'監')) + "\r\n" + Line(LogEvent::Cancel) + "tail" + lead;
    files.WriteBytes(gLogFileName, log);
    Text expected = AnsiToText(Line(LogEvent::Start)) + u"漢字だけの行\r\nab\u30FB\r\n" + Text(65535, u'x') +
                    u"ア\r\n" + Text(100000, u'y') + u"\r\n" + Text(50000, u'監') + u"\r\n" +
                    AnsiToText(Line(LogEvent::Cancel)) + u"tail\u30FB\r\n";
    for (std::size_t maxRead : {0, 1, 2, 3, 7, 46, 47, 48, 65535, 65536, 65537}) {
        files.faults.maxRead = maxRead;
        system.ClearCalls();
        const Outcome got = Read();
        EXPECT_TRUE(got.ok);
        EXPECT_TRUE(got.view == expected) << "reads of " << maxRead;
        EXPECT_EQ(got.lastEvent, kCancel);
        EXPECT_EQ(system.Calls(), std::vector<std::string>{Scroll(expected.size())});
    }
}

// Only bytes below 0x80 mean the same in every code page: 0x80 itself is the
// euro sign in 1252 and no character in 932.
TEST_F(ReadLog, ByteHex80IsDecodedByTheCodePage) {
    const std::string log = "2004/01/09 08:03:07 \x80 5\r\n\x80\r\n";
    files.WriteBytes(gLogFileName, log);
    EXPECT_EQ(Read().view, u"2004/01/09 08:03:07 \u30FB 5\r\n\u30FB\r\n");
    SetAnsiCodePage("CP1252");
    const Outcome got = Read();
    SetAnsiCodePage(nullptr);
    EXPECT_EQ(got.view, u"2004/01/09 08:03:07 \u20AC 5\r\n\u20AC\r\n");
    EXPECT_EQ(got.lastEvent, u"");
}

TEST_F(ReadLog, LargeAndDegenerateLogsAreReadWhole) {
    std::string big;
    const std::string cycle = Line(LogEvent::Start) + Line(LogEvent::AbnormalEnd) + Line(LogEvent::Start) +
                              Line(LogEvent::Cancel) + Line(LogEvent::Start) + Line(LogEvent::NormalEnd);
    while (big.size() < std::size_t{20} * 1024 * 1024) big += cycle;
    const std::size_t mb2 = std::size_t{2} * 1024 * 1024;
    const struct {
        std::string bytes;
        std::size_t viewSize;
        Text lastEvent;
    } cases[] = {
        {big, AnsiToText(big).size(), kNormal},
        {std::string(mb2, '\r'), mb2 * 2, u""},
        {std::string(mb2, '\n'), mb2 + 2, u""},
        {std::string(mb2, '\0'), mb2 + 2, u""},
    };
    for (const auto& c : cases) {
        files.WriteBytes(gLogFileName, c.bytes);
        system.ClearCalls();
        txtLog = TextBoxStub();
        const Outcome got = Read();
        EXPECT_TRUE(got.ok);
        EXPECT_EQ(got.view.size(), c.viewSize);
        EXPECT_EQ(got.view.find(u'\0'), Text::npos) << "a NUL would hide the rest of the view";
        EXPECT_EQ(got.lastEvent, c.lastEvent);
        EXPECT_EQ(system.Calls(), std::vector<std::string>{Scroll(c.viewSize)});
        EXPECT_EQ(txtLog.Sets(), 2) << "cleared once, filled once";
    }
    files.WriteBytes(gLogFileName, big);
    EXPECT_TRUE(Read().view == AnsiToText(big));
}

TEST(LogEvents, EveryTextStartsWithANonAsciiCharacter) {
    // The reader looks for events only after a line's leading ASCII run.
    for (const char16_t* text : kLogEventTexts) EXPECT_GE(text[0], 0x80);
}

}  // namespace
