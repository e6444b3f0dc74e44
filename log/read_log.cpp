#include "log/read_log.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "log/log_event.h"
#include "log/log_file.h"
#include "log/log_line_decoder.h"
#include "platform/error.h"
#include "platform/platform.h"

namespace {

constexpr std::uint32_t kEmLineScroll = 0xB6;  // EM_LINESCROLL
constexpr std::size_t kChunk = std::size_t{64} * 1024;

// The lines read so far, as the view will show them.
struct LogText {
    Text view;
    int event = -1;
    LogLineDecoder decoder;

    void Add(const char* bytes, std::size_t count) {
        int found = decoder.AppendLine(bytes, count, view);
        view += u"\r\n";
        if (found >= 0) event = found;
    }
};

// Reads the file to its end, line by line. A line ends at CR LF or at a lone
// CR; a lone LF is part of the line. A line is handed over only when whole,
// so no double-byte character is ever split between two reads.
void Read_Lines(File& file, LogText& log) {
    // Reads land in a buffer left uninitialised, so a read that delivers few
    // bytes costs only those bytes, however short the file's reads are.
    const std::unique_ptr<char[]> chunk(new char[kChunk]);
    std::string pending;      // the start of a line whose end has not come yet
    std::size_t scanned = 0;  // bytes of `pending` known to hold no CR
    bool dropLF = false;      // the last read ended in CR: an LF next belongs to it
    for (;;) {
        const std::size_t n = file.Read(chunk.get(), kChunk);
        if (n == 0) break;
        pending.append(chunk.get(), n);
        std::size_t start = 0;
        if (dropLF && pending[0] == '\n') start = scanned = 1;
        dropLF = false;
        for (;;) {
            const std::size_t cr = pending.find('\r', scanned);
            if (cr == std::string::npos) break;
            log.Add(pending.data() + start, cr - start);
            start = cr + 1;
            if (start == pending.size()) {
                dropLF = true;
            } else if (pending[start] == '\n') {
                ++start;
            }
            scanned = start;
        }
        pending.erase(0, start);
        scanned = pending.size();
    }
    if (!pending.empty()) log.Add(pending.data(), pending.size());
}

}  // namespace

bool Read_Log(Control& txtLog, Text& lastEvent) {
    lastEvent.clear();
    txtLog.SetCaption(Text());
    LogText log;
    auto show = [&] {
        // The view's control keeps its text only up to the first NUL. A zero
        // byte in the file (a crash can leave a run of them where the disk
        // had not yet written) is shown as a space, so the lines after it
        // stay in view; the events were searched for in the lines as read.
        std::replace(log.view.begin(), log.view.end(), u'\0', u' ');
        txtLog.SetCaption(log.view);
        if (log.event >= 0) lastEvent = kLogEventTexts[log.event];
    };
    try {
        std::unique_ptr<File> file;
        try {
            file = gPlatform.files->Open(gLogFileName, OpenMode::Read);
        } catch (const RuntimeError& e) {
            if (e.Number() == err::FileNotFound) return true;  // no log yet
            throw;
        }
        // Shift-JIS never takes fewer bytes than the text has code units, and a
        // line end of one or two bytes becomes CR LF: the view rarely needs more.
        log.view.reserve(file->Size() + 2);
        Read_Lines(*file, log);
        file->Close();
    } catch (const std::exception&) {
        // The file is closed by now; what was read stays in view.
        show();
        ShowErrorBox(*gPlatform.toolkit, u"Read_Log");
        return false;
    }
    show();
    // The control stops at its last line. It breaks lines at a lone LF too,
    // so it may show more lines than were read; but
    // every line it shows, save the last, holds at least one character (a
    // line end counts), so the view's length scrolls to the end.
    const std::size_t count = std::min<std::size_t>(log.view.size(), INT32_MAX);
    gPlatform.system->SendMessageA(txtLog.hWnd(), kEmLineScroll, 0, std::intptr_t(count));
    return true;
}
