// The log's file access, the program's folder and the local clock on Win32.
#pragma once
#include "platform/files.h"

class Win32FileSystem : public FileSystem {
public:
    // Read: the file must exist. Append: created when missing, written at its
    // end. Overwrite: created or emptied.
    std::unique_ptr<File> Open(const Text& path, OpenMode mode) override;
    Text AppPath() override;
    LocalTime Now() override;
};
