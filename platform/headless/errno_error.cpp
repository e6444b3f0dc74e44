#include "platform/headless/errno_error.h"

#include <cerrno>

#include "platform/error.h"

std::int32_t ErrorNumberFromErrno(int error) {
    switch (error) {
    case ENOENT: return err::FileNotFound;
    case ENOTDIR: return err::PathNotFound;
    case EACCES:
    case EISDIR: return err::PathFileAccess;
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY: return err::PermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return err::DiskFull;
    case ENOMEM: return err::OutOfMemory;
    case ENAMETOOLONG:
    case EINVAL: return err::BadFileName;
    default: return err::DeviceIO;
    }
}
