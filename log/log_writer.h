// Writes one event line to the download log.
#pragma once
#include <string>
#include "log/log_event.h"
#include "platform/files.h"

// The line's bytes in the ANSI code page: "YYYY/MM/DD HH:MM:SS" (with the
// time's own date and time separators), one U+3000, the event text, CR LF.
std::string Format_LogLine(const LocalTime& time, LogEvent event);

// Opens the log at gLogFileName (Append, or Overwrite to start it afresh),
// stamps the line with the local time, writes it and closes the file, so the
// line is on disk when this returns. Errors pass to the caller.
void Write_Log(LogEvent event, OpenMode mode);
