// SPDX-License-Identifier: MIT
#include "engine/platform/errno_map.h"

#include <cerrno>

#include "engine/core/runtime_error.h"

namespace tessark {

int errorNumberForErrno(int error, bool parentMissing) {
    switch (error) {
        case ENOENT:
            return parentMissing ? err::PathNotFound : err::FileNotFound;
        case ENOTDIR:
        case ELOOP:
            return err::PathNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return err::PermissionDenied;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return err::DiskFull;
        case EIO:
            return err::DeviceIo;
#ifdef ENOMEDIUM
        case ENOMEDIUM:
            return err::DiskNotReady;
#endif
        case ENXIO:
        case ENODEV:
        case ESTALE:
        case ENOTCONN:
        case EHOSTDOWN:
        case EHOSTUNREACH:
        case ENETDOWN:
        case ENETUNREACH:
            return err::DeviceUnavailable;
        case ENAMETOOLONG:
        case EILSEQ:
        case EBADF:
            return err::BadFileName;
        case EISDIR:
        case ETXTBSY:
        case EBUSY:
        case ENOTEMPTY:
            return err::PathFileAccess;
        case EMFILE:
        case ENFILE:
            return err::TooManyFiles;
        case EEXIST:
            return err::FileExists;
        case ENOMEM:
            return err::OutOfMemory;
        case EINVAL:
            return err::InvalidArgument;
        default:
            // Anything else is still a failure to reach the file.
            return err::PathFileAccess;
    }
}

}  // namespace tessark
