// Read_Log against the bare reading of the same file's bytes, on logs of 1, 10
// and 20 MB, measured side by side in one run. Build without sanitizers:
//   cmake -S . -B build-bench -DPELLORY_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-bench --target log_bench && build-bench/log_bench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "log/log_file.h"
#include "log/log_writer.h"
#include "log/read_log.h"
#include "platform/headless/recording_system.h"
#include "platform/headless/temp_file_system.h"
#include "platform/platform.h"
#include "tests/fakes/log_fakes.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// A log as a long run of watches leaves it: start, then an end or a cancel.
std::string MakeLog(std::size_t bytes) {
    const LogEvent ends[] = {LogEvent::NormalEnd, LogEvent::Cancel, LogEvent::AbnormalEnd};
    std::string log;
    LocalTime t{2004, 1, 9, 8, 3, 7};
    for (std::size_t i = 0; log.size() < bytes; ++i) {
        t.second = int(i % 60);
        t.minute = int(i / 60 % 60);
        log += Format_LogLine(t, i % 2 ? ends[i / 2 % 3] : LogEvent::Start);
    }
    return log;
}

std::size_t BareRead() {
    std::unique_ptr<File> file = gPlatform.files->Open(gLogFileName, OpenMode::Read);
    std::string buffer(std::size_t{64} * 1024, '\0');
    std::size_t total = 0;
    std::size_t n;
    while ((n = file->Read(buffer.data(), buffer.size())) > 0) total += n;
    file->Close();
    return total;
}

// What any reader that hands the view a UTF-16 copy must at least do: read
// the bytes, widen them into a fresh text and copy that once into the view.
std::size_t WidenAndCopy() {
    std::unique_ptr<File> file = gPlatform.files->Open(gLogFileName, OpenMode::Read);
    Text text;
    text.reserve(file->Size());
    std::string buffer(std::size_t{64} * 1024, '\0');
    std::size_t n;
    while ((n = file->Read(buffer.data(), buffer.size())) > 0) {
        const std::size_t at = text.size();
        text.resize(at + n);
        for (std::size_t i = 0; i < n; ++i) text[at + i] = static_cast<unsigned char>(buffer[i]);
    }
    file->Close();
    TextBoxStub view;
    view.SetCaption(text);
    return view.Caption().size();
}

}  // namespace

int main() {
    TempFileSystem files;
    RecordingSystem system;
    MsgBoxRecorder toolkit;
    gPlatform.files = &files;
    gPlatform.system = &system;
    gPlatform.toolkit = &toolkit;
    Get_LogFileName();

    std::printf("ms per MB, best of 5    bare read   widen+copy     Read_Log   Read_Log/bare   Read_Log/widen+copy\n");
    for (std::size_t mb : {1, 10, 20}) {
        const std::string log = MakeLog(mb * 1024 * 1024);
        files.WriteBytes(gLogFileName, log);
        double bare = 1e9;
        double floor = 1e9;
        double read = 1e9;
        // Best of several rounds, alternating, so both see the same cache.
        for (int round = 0; round < 5; ++round) {
            Clock::time_point t0 = Clock::now();
            if (BareRead() != log.size()) return 1;
            bare = std::min(bare, Seconds(t0));
            t0 = Clock::now();
            if (WidenAndCopy() != log.size()) return 1;
            floor = std::min(floor, Seconds(t0));
            TextBoxStub view;
            Text lastEvent;
            t0 = Clock::now();
            if (!Read_Log(view, lastEvent)) return 1;
            read = std::min(read, Seconds(t0));
            system.ClearCalls();
        }
        const double size = double(log.size()) / (1024 * 1024);
        std::printf("%4zu MB log %21.3f %12.3f %12.3f %14.1fx %20.2fx\n", mb, bare * 1000 / size, floor * 1000 / size,
                    read * 1000 / size, read / bare, read / floor);
    }
    return 0;
}
