// The native tests' file system: real files below a private temporary folder,
// so that the bytes written can be checked exactly. A Windows path "C:\a\b"
// is the file <root>/C/a/b. Faults can be injected to imitate a full disk, a
// read-only file or a failing read, and the local time can be fixed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include "platform/files.h"

struct FileFaults {
    std::int32_t openError = 0;   // Open raises this run-time error number
    std::int32_t writeError = 0;  // Write raises it, having written nothing
    std::int32_t closeError = 0;  // Close raises it (the file is closed all the same)
    std::int32_t readError = 0;   // Read raises it once `readErrorAfter` bytes were read
    std::size_t readErrorAfter = 0;
    std::size_t maxRead = 0;  // each Read delivers at most this many bytes (0: no limit)
};

class TempFileSystem : public FileSystem {
public:
    TempFileSystem();  // makes the folder; the program's folder is C:\Pellory
    ~TempFileSystem() override;
    TempFileSystem(const TempFileSystem&) = delete;
    TempFileSystem& operator=(const TempFileSystem&) = delete;

    Text appPath = u"C:\\Pellory";
    std::optional<LocalTime> fixedNow;  // empty: the real local time
    FileFaults faults;

    // The real file behind a Windows path; its folder is created.
    std::string RealPath(const Text& path) const;
    // Whole-file helpers for the tests' own use.
    std::string ReadBytes(const Text& path) const;
    void WriteBytes(const Text& path, const std::string& bytes) const;
    bool Exists(const Text& path) const;

    std::unique_ptr<File> Open(const Text& path, OpenMode mode) override;
    Text AppPath() override { return appPath; }
    LocalTime Now() override;

private:
    std::string root_;
};
