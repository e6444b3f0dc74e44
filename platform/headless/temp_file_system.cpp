#include "platform/headless/temp_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "platform/error.h"
#include "platform/headless/errno_error.h"
#include "platform/headless/utf8.h"

namespace {

[[noreturn]] void RaiseErrno() { throw RuntimeError(ErrorNumberFromErrno(errno)); }

class PosixFile : public File {
public:
    PosixFile(int fd, const FileFaults& faults) : fd_(fd), faults_(faults) {}
    ~PosixFile() override {
        if (fd_ >= 0) ::close(fd_);
    }

    std::size_t Size() override {
        struct stat info;
        if (::fstat(fd_, &info) != 0) RaiseErrno();
        return std::size_t(info.st_size);
    }

    std::size_t Read(char* buffer, std::size_t count) override {
        if (faults_.maxRead && count > faults_.maxRead) count = faults_.maxRead;
        if (faults_.readError) {
            if (read_ >= faults_.readErrorAfter) throw RuntimeError(faults_.readError);
            if (count > faults_.readErrorAfter - read_) count = faults_.readErrorAfter - read_;
        }
        ssize_t n;
        do n = ::read(fd_, buffer, count);
        while (n < 0 && errno == EINTR);
        if (n < 0) RaiseErrno();
        read_ += std::size_t(n);
        return std::size_t(n);
    }

    void Write(const std::string& bytes) override {
        if (faults_.writeError) throw RuntimeError(faults_.writeError);
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) RaiseErrno();
            done += std::size_t(n);
        }
    }

    void Close() override {
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) RaiseErrno();
        if (faults_.closeError) throw RuntimeError(faults_.closeError);
    }

private:
    int fd_;
    FileFaults faults_;
    std::size_t read_ = 0;
};

}  // namespace

TempFileSystem::TempFileSystem() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pellory-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) RaiseErrno();
    root_ = pattern;
}

TempFileSystem::~TempFileSystem() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string TempFileSystem::RealPath(const Text& path) const {
    std::string rel = ToUtf8(path);
    for (char& c : rel) {
        if (c == '\\') c = '/';
    }
    if (rel.size() >= 2 && rel[1] == ':') rel.erase(1, 1);  // "C:/a" -> "C/a"
    std::filesystem::path real = std::filesystem::path(root_) / rel;
    std::filesystem::create_directories(real.parent_path());
    return real.string();
}

std::string TempFileSystem::ReadBytes(const Text& path) const {
    std::string bytes;
    if (std::FILE* f = std::fopen(RealPath(path).c_str(), "rb")) {
        char buffer[65536];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

void TempFileSystem::WriteBytes(const Text& path, const std::string& bytes) const {
    std::FILE* f = std::fopen(RealPath(path).c_str(), "wb");
    if (!f) RaiseErrno();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

bool TempFileSystem::Exists(const Text& path) const { return std::filesystem::exists(RealPath(path)); }

std::unique_ptr<File> TempFileSystem::Open(const Text& path, OpenMode mode) {
    if (faults.openError) throw RuntimeError(faults.openError);
    int flags = O_RDONLY;
    if (mode == OpenMode::Append) flags = O_WRONLY | O_CREAT | O_APPEND;
    if (mode == OpenMode::Overwrite) flags = O_WRONLY | O_CREAT | O_TRUNC;
    int fd = ::open(RealPath(path).c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0) RaiseErrno();
    return std::make_unique<PosixFile>(fd, faults);
}

LocalTime TempFileSystem::Now() {
    if (fixedNow) return *fixedNow;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}
