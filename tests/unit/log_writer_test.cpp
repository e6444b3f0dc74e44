#include <gtest/gtest.h>

#include "log/log_file.h"
#include "log/log_writer.h"
#include "platform/codepage.h"
#include "platform/error.h"
#include "tests/fakes/platform_fixture.h"
#include "tests/unit/log_line_bytes.h"

namespace {

using LogWriter = PlatformFixture;

TEST_F(LogWriter, PathIsTheProgramFolderWithExactlyOneBackslash) {
    const struct {
        Text appPath, expected;
    } cases[] = {
        {u"C:\\", u"C:\\DownloadLog.txt"},
        {u"D:\\", u"D:\\DownloadLog.txt"},
        {u"C:\\Program Files\\Pellory", u"C:\\Program Files\\Pellory\\DownloadLog.txt"},
        {u"C:\\ツール\\ダウンロード", u"C:\\ツール\\ダウンロード\\DownloadLog.txt"},
        {u"\\\\server\\share", u"\\\\server\\share\\DownloadLog.txt"},
    };
    for (const auto& c : cases) {
        files.appPath = c.appPath;
        gLogFileName = u"stale";
        EXPECT_TRUE(Get_LogFileName());
        EXPECT_EQ(gLogFileName, c.expected);
    }
}

TEST_F(LogWriter, LinesAreStampedPaddedAndShiftJisEncoded) {
    const LocalTime morning{2004, 1, 9, 8, 3, 7};
    EXPECT_EQ(Format_LogLine(morning, LogEvent::Start),
              "2004/01/09 08:03:07" + kIdeographicSpace + kStartSjis + "\r\n");

    const struct {
        LogEvent event;
        std::string text;
    } lines[] = {{LogEvent::Start, kStartSjis},
                 {LogEvent::NormalEnd, kNormalEndSjis},
                 {LogEvent::AbnormalEnd, kAbnormalEndSjis},
                 {LogEvent::Cancel, kCancelSjis}};
    const LocalTime evening{1999, 12, 31, 23, 59, 59};
    for (const auto& l : lines) {
        EXPECT_EQ(Format_LogLine(evening, l.event), "1999/12/31 23:59:59" + kIdeographicSpace + l.text + "\r\n");
    }
    EXPECT_EQ(Format_LogLine({2026, 10, 5, 0, 0, 0}, LogEvent::Cancel).substr(0, 19), "2026/10/05 00:00:00");

    // Other regional separators take the places of / and :, whatever their length.
    EXPECT_EQ(Format_LogLine({2004, 1, 9, 8, 3, 7, u".", u"時"}, LogEvent::Start),
              "2004.01.09 08" + TextToAnsi(u"時") + "03" + TextToAnsi(u"時") + "07" + kIdeographicSpace + kStartSjis +
                  "\r\n");
    EXPECT_EQ(Format_LogLine({2004, 1, 9, 8, 3, 7, u"-/-", u""}, LogEvent::Cancel).substr(0, 21),
              "2004-/-01-/-09 080307");
}

TEST_F(LogWriter, AppendAddsAndCreatesOverwriteLeavesOneLine) {
    files.fixedNow = LocalTime{2004, 1, 9, 8, 3, 7};
    const std::string start = Format_LogLine(*files.fixedNow, LogEvent::Start);
    const std::string cancel = Format_LogLine(*files.fixedNow, LogEvent::Cancel);
    const std::string normal = Format_LogLine(*files.fixedNow, LogEvent::NormalEnd);

    ASSERT_FALSE(files.Exists(gLogFileName));
    Write_Log(LogEvent::Start, OpenMode::Append);
    EXPECT_EQ(files.ReadBytes(gLogFileName), start);
    Write_Log(LogEvent::Cancel, OpenMode::Append);
    Write_Log(LogEvent::Start, OpenMode::Append);
    Write_Log(LogEvent::NormalEnd, OpenMode::Append);
    EXPECT_EQ(files.ReadBytes(gLogFileName), start + cancel + start + normal);

    Write_Log(LogEvent::Start, OpenMode::Overwrite);
    EXPECT_EQ(files.ReadBytes(gLogFileName), start);

    files.WriteBytes(gLogFileName, "");
    Write_Log(LogEvent::Start, OpenMode::Overwrite);  // empty file: the same
    EXPECT_EQ(files.ReadBytes(gLogFileName), start);
    // Overwrite also creates a missing file.
    files.appPath = u"C:\\";
    Get_LogFileName();
    Write_Log(LogEvent::Start, OpenMode::Overwrite);
    EXPECT_EQ(files.ReadBytes(u"C:\\DownloadLog.txt"), start);
}

TEST_F(LogWriter, FailuresReachTheCallerWithTheirNumber) {
    files.fixedNow = LocalTime{2004, 1, 9, 8, 3, 7};
    const std::string before = Format_LogLine(*files.fixedNow, LogEvent::Start);
    const struct {
        std::int32_t FileFaults::*fault;
        std::int32_t number;
        bool lineKept;
    } cases[] = {
        {&FileFaults::openError, err::PermissionDenied, false},
        {&FileFaults::openError, err::PathFileAccess, false},
        {&FileFaults::writeError, err::DiskFull, false},
        {&FileFaults::closeError, err::DeviceIO, true},
    };
    for (const auto& c : cases) {
        files.faults = FileFaults{};
        files.WriteBytes(gLogFileName, before);
        files.faults.*c.fault = c.number;
        try {
            Write_Log(LogEvent::Cancel, OpenMode::Append);
            ADD_FAILURE() << "no error for " << c.number;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), c.number);
        }
        files.faults = FileFaults{};
        const std::string after = files.ReadBytes(gLogFileName);
        EXPECT_EQ(after, c.lineKept ? before + Format_LogLine(*files.fixedNow, LogEvent::Cancel) : before);
    }
}

}  // namespace
