#include "log/log_writer.h"

#include <cstdio>

#include "log/log_file.h"
#include "platform/codepage.h"
#include "platform/platform.h"

std::string Format_LogLine(const LocalTime& time, LogEvent event) {
    // "YYYY/MM/DD HH:MM:SS" with the regional separators in place of / and :.
    const auto number = [](int value, int digits) {
        char text[16];
        const int n = std::snprintf(text, sizeof text, "%0*d", digits, value);
        return Text(text, text + n);
    };
    const Text& d = time.dateSeparator;
    const Text& t = time.timeSeparator;
    Text line = number(time.year, 4) + d + number(time.month, 2) + d + number(time.day, 2) + u' ' +
                number(time.hour, 2) + t + number(time.minute, 2) + t + number(time.second, 2);
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
