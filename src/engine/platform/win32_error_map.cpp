// SPDX-License-Identifier: MIT
#include "engine/platform/win32_error_map.h"

#include <windows.h>

#include "engine/core/runtime_error.h"

namespace tessark {
namespace {

// Not in every set of Windows headers.
constexpr std::uint32_t kDiskQuotaExceeded = 1295;

}  // namespace

int runtimeErrorFromWin32(std::uint32_t code) noexcept {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
            return err::FileNotFound;

        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_DIRECTORY:
            return err::PathNotFound;

        // A protected file or a write-protected medium.
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_PRIVILEGE_NOT_HELD:
        case ERROR_NETWORK_ACCESS_DENIED:
            return err::PermissionDenied;

        // The file is in use: another program holds it without sharing, or
        // holds a lock on the region, or has it mapped. Nothing is protected,
        // the file just cannot be reached right now.
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
        case ERROR_CANNOT_MAKE:
        case ERROR_DIR_NOT_EMPTY:
        case ERROR_NOT_SAME_DEVICE:
        case ERROR_CANT_ACCESS_FILE:
            return err::PathFileAccess;

        case ERROR_HANDLE_DISK_FULL:
        case ERROR_DISK_FULL:
        case kDiskQuotaExceeded:
        case ERROR_FILE_TOO_LARGE:
            return err::DiskFull;

        // No medium, or not the medium that was there.
        case ERROR_NOT_READY:
        case ERROR_WRONG_DISK:
        case ERROR_NO_MEDIA_IN_DRIVE:
        case ERROR_MEDIA_CHANGED:
        case ERROR_UNRECOGNIZED_VOLUME:
            return err::DiskNotReady;

        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_UNIT:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_NETNAME_DELETED:
            return err::DeviceUnavailable;

        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_BUFFER_OVERFLOW:
        case ERROR_INVALID_HANDLE:
            return err::BadFileName;

        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return err::FileExists;

        case ERROR_TOO_MANY_OPEN_FILES:
            return err::TooManyFiles;

        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
        case ERROR_NO_SYSTEM_RESOURCES:
            return err::OutOfMemory;

        case ERROR_INVALID_PARAMETER:
            return err::InvalidArgument;

        case ERROR_CRC:
        case ERROR_SEEK:
        case ERROR_SECTOR_NOT_FOUND:
        case ERROR_WRITE_FAULT:
        case ERROR_READ_FAULT:
        case ERROR_GEN_FAILURE:
        case ERROR_IO_DEVICE:
        case ERROR_FILE_CORRUPT:
        case ERROR_DISK_CORRUPT:
        case ERROR_FILE_INVALID:
        default:
            return err::DeviceIo;
    }
}

void raiseWin32(std::uint32_t code, const Text& path, FileAction action) {
    throw RuntimeError(runtimeErrorFromWin32(code), path, action, SystemCode::ofWin32(code));
}

}  // namespace tessark
