#include "log/log_writer.h"

#include <cstdio>

#include "log/log_file.h"
#include "platform/codepage.h"
#include "platform/platform.h"

std::string Format_LogLine(const LocalTime& time, LogEvent event) {
    char stamp[32];
    int n = std::snprintf(stamp, sizeof stamp, "%04d/%02d/%02d %02d:%02d:%02d", time.year, time.month, time.day,
                          time.hour, time.minute, time.second);
    Text line(stamp, stamp + n);
    line += u'\u3000';
    line += LogEventText(event);
    line += u"\r\n";
    return TextToAnsi(line);
}

void Write_Log(LogEvent event, OpenMode mode) {
    std::unique_ptr<File> file = gPlatform.files->Open(gLogFileName, mode);
    file->Write(Format_LogLine(gPlatform.files->Now(), event));
    file->Close();
}
