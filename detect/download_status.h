// The download status scan: one fresh snapshot of the desktop, classified by
// the fixed marker texts of the browser's download dialogs and error boxes.
#pragma once
#include <cstdint>

// Counts the downloads in progress and the failed ones, and tells whether a
// copy runs (16-bit boolean, -1 for true). The outputs are written only when
// the scan ends normally; an error leaves them as they were and passes on.
// A desktop the system would not let it read (the windows not listed, no
// caption readable, a download dialog's labels not listed) is reported as a
// copy under way, so that no decision is taken on it: counted as empty, it
// would end the watch and shut down while the download runs.
void Get_DownloadStatus(std::int32_t& active, std::int32_t& failed, std::int16_t& copying);
