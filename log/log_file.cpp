#include "log/log_file.h"

#include "platform/platform.h"

Text gLogFileName;

bool Get_LogFileName() {
    Text path = gPlatform.files->AppPath();
    // Only a drive's root folder ("C:\") already ends in a backslash.
    if (path.empty() || path.back() != u'\\') path += u'\\';
    path += u"DownloadLog.txt";
    gLogFileName = path;
    return true;
}
