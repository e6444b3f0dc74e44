// Where the download log lives: "DownloadLog.txt" in the program's folder.
#pragma once
#include "platform/text.h"

// The log's full path, set once at load by Get_LogFileName; every reader and
// writer opens the log by it.
extern Text gLogFileName;

// Sets gLogFileName from the program's folder. Always true. Errors of the
// platform pass to the caller.
bool Get_LogFileName();
