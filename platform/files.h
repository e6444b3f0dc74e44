// Text-file access in the ANSI code page, the local clock and the program's
// folder: what the log needs of the platform. Every failure is raised as a
// RuntimeError carrying the run-time error number.
#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include "platform/text.h"

enum class OpenMode { Read, Append, Overwrite };

class File {
public:
    virtual ~File() = default;
    // The file's size in bytes when it was opened: a reader's hint for the
    // room it needs.
    virtual std::size_t Size() = 0;
    // Reads up to `count` bytes; returns 0 at the end of the file.
    virtual std::size_t Read(char* buffer, std::size_t count) = 0;
    // Writes every byte, or raises and leaves the file as it was.
    virtual void Write(const std::string& bytes) = 0;
    // Flushes and closes; raises when the data cannot be kept.
    virtual void Close() = 0;
};

// The local date and time, with the separators the user's regional
// settings put between its numbers.
struct LocalTime {
    int year, month, day, hour, minute, second;
    Text dateSeparator = u"/";
    Text timeSeparator = u":";
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Read raises error 53 for a missing file; Append creates the file.
    virtual std::unique_ptr<File> Open(const Text& path, OpenMode mode) = 0;
    // The folder holding the running program, with no trailing backslash
    // except for the root folder of a drive.
    virtual Text AppPath() = 0;
    virtual LocalTime Now() = 0;
};
