// Read_Log over any file contents, delivered in reads whose sizes come from
// the input, so that CR LF pairs and double-byte characters fall across reads.
// The view, the last event and the scroll request must equal those of a plain
// reading of the same bytes; a failing read or close must keep exactly the
// lines ended before it and show the box.
//
// Input: one mode byte (bits 0-1: 0 no fault, 1 a read fails, 2 the close
// fails, 3 no file; bits 2-4: how many read sizes follow), the read sizes
// (each byte + 1, used in turn), for a failing read two bytes giving the
// offset it fails at, then the file's bytes.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "log/log_event.h"
#include "log/log_file.h"
#include "log/read_log.h"
#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/headless/recording_system.h"
#include "platform/platform.h"
#include "tests/fakes/log_fakes.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

enum Fault { None = 0, ReadFails = 1, CloseFails = 2, NoFile = 3 };

// The log in memory: each read delivers the next size of the schedule, and
// the read that reaches `failAt` raises a device error.
class ScheduledFile : public File {
public:
    ScheduledFile(const std::string& bytes, const std::vector<std::size_t>& sizes, Fault fault, std::size_t failAt)
        : bytes_(bytes), sizes_(sizes), fault_(fault), failAt_(failAt) {}

    std::size_t Size() override { return bytes_.size(); }
    std::size_t Read(char* buffer, std::size_t count) override {
        std::size_t n = std::min(count, bytes_.size() - at_);
        if (!sizes_.empty()) n = std::min(n, sizes_[reads_++ % sizes_.size()]);
        if (fault_ == ReadFails) {
            if (at_ >= failAt_) throw RuntimeError(err::DeviceIO);
            n = std::min(n, failAt_ - at_);
        }
        std::memcpy(buffer, bytes_.data() + at_, n);
        at_ += n;
        return n;
    }
    void Write(const std::string& /*bytes*/) override { std::abort(); }  // the reader never writes
    void Close() override {
        if (fault_ == CloseFails) throw RuntimeError(err::DeviceIO);
    }

private:
    const std::string& bytes_;
    const std::vector<std::size_t>& sizes_;
    Fault fault_;
    std::size_t failAt_;
    std::size_t at_ = 0;
    std::size_t reads_ = 0;
};

class OneFileSystem : public FileSystem {
public:
    std::unique_ptr<File> file;  // null: there is no log
    std::unique_ptr<File> Open(const Text& path, OpenMode mode) override {
        FUZZ_CHECK(path == gLogFileName && mode == OpenMode::Read);
        if (!file) throw RuntimeError(err::FileNotFound);
        return std::move(file);
    }
    Text AppPath() override { return u"C:\\Pellory"; }
    LocalTime Now() override { return {2004, 1, 9, 8, 3, 7}; }
};

struct Reading {
    Text view;
    Text lastEvent;
    std::intptr_t lines = 0;
};

// The plain reading: a line ends at CR LF or at a lone CR; a lone LF stays in
// its line; bytes after the last line end make one more line unless the
// reading stopped there. Each line is decoded on its own.
Reading ReadPlainly(const std::string& bytes, bool lastLineToo) {
    Reading r;
    std::string line;
    auto add = [&] {
        const Text text = AnsiToText(line);
        for (char16_t c : text) r.view += c == u'\0' ? u' ' : c;  // the view shows NUL as a space
        r.view += u"\r\n";
        for (const char16_t* event : kLogEventTexts) {
            if (text.find(event) != Text::npos) r.lastEvent = event;
        }
        ++r.lines;
        line.clear();
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r') {
            line += bytes[i];
            continue;
        }
        add();
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    }
    if (lastLineToo && !line.empty()) add();
    return r;
}

OneFileSystem files;
RecordingSystem sys;
MsgBoxRecorder toolkit;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    gPlatform.files = &files;
    gPlatform.system = &sys;
    gPlatform.toolkit = &toolkit;
    Get_LogFileName();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::uint8_t mode = in.Byte();
    const auto fault = Fault(mode & 3);
    std::vector<std::size_t> sizes((mode >> 2) & 7);
    for (std::size_t& s : sizes) s = std::size_t(in.Byte()) + 1;
    const std::size_t failOffset = fault == ReadFails ? in.Bytes(2) : 0;
    const std::string bytes = in.Rest();
    const std::size_t failAt = failOffset % (bytes.size() + 1);

    if (fault != NoFile) files.file = std::make_unique<ScheduledFile>(bytes, sizes, fault, failAt);
    sys.ClearCalls();
    toolkit.boxes.clear();
    TextBoxStub txtLog;
    txtLog.SetCaption(u"before");
    Text lastEvent = u"before";
    const bool ok = Read_Log(txtLog, lastEvent);
    FUZZ_CHECK(!files.file);  // opened exactly once

    if (fault == NoFile) {
        FUZZ_CHECK(ok && txtLog.Caption().empty() && lastEvent.empty());
        FUZZ_CHECK(toolkit.boxes.empty() && sys.Calls().empty());
        return 0;
    }
    const Reading expected = ReadPlainly(fault == ReadFails ? bytes.substr(0, failAt) : bytes, fault != ReadFails);
    FUZZ_CHECK(txtLog.Caption() == expected.view);
    FUZZ_CHECK(lastEvent == expected.lastEvent);
    if (fault == None) {
        FUZZ_CHECK(ok && toolkit.boxes.empty());
        // The scroll is by the view's length, never less than the lines read
        // (each brings its CR LF), so the end of the log is in view however
        // the control breaks or wraps them.
        const std::size_t count = expected.view.size();
        FUZZ_CHECK(std::intptr_t(count) >= expected.lines);
        const std::string scroll =
            "SendMessageA(" + std::to_string(txtLog.hWnd()) + ", 182, 0, " + std::to_string(count) + ")";
        FUZZ_CHECK(sys.Calls() == std::vector<std::string>{scroll});
    } else {
        FUZZ_CHECK(!ok && sys.Calls().empty());
        FUZZ_CHECK(toolkit.boxes.size() == 1);
        FUZZ_CHECK(toolkit.boxes[0].prompt == ErrorBoxText(err::DeviceIO, ErrorDescription(err::DeviceIO)));
        FUZZ_CHECK(toolkit.boxes[0].style == 16 && toolkit.boxes[0].title == u"Read_Log");
    }
    return 0;
}
