#include "platform/win32/last_error.h"

#include <windows.h>

#include "platform/error.h"

std::int32_t ErrorNumberFromLastError(std::uint32_t code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND: return err::FileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: return err::PathNotFound;
    case ERROR_ACCESS_DENIED: return err::PathFileAccess;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return err::PermissionDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return err::DiskFull;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return err::OutOfMemory;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE: return err::BadFileName;
    default: return err::DeviceIO;
    }
}

void RaiseLastError() { throw RuntimeError(ErrorNumberFromLastError(GetLastError())); }
