// SPDX-License-Identifier: MIT
// What is at a path: attributes, the identity that tells two names of one file
// apart from two files, and device names refused before anything is opened.
#include "engine/platform/device_names.h"
#include "engine/platform/win32_error_map.h"
#include "engine/platform/win32_io.h"

namespace tessark::win32 {

std::optional<DWORD> attributesOf(const Text& path) {
    const DWORD attributes = GetFileAttributesW(pathOf(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        return attributes;
    }
    const DWORD code = GetLastError();
    if (meansAbsent(code)) {
        return std::nullopt;
    }
    raiseWin32(code, path, FileAction::LookUp);
}

bool isFolder(const Text& path) noexcept {
    const DWORD attributes = GetFileAttributesW(pathOf(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

FileId idOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return {info.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

FileId idOfHandle(HANDLE handle, const Text& path) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) {
        raiseLastError(path, FileAction::LookUp);
    }
    return idOf(info);
}

std::optional<BY_HANDLE_FILE_INFORMATION> identityOf(const Text& path) {
    // Reading attributes only: this works even on a file another program
    // holds without sharing.
    Handle file(CreateFileW(pathOf(path).c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (meansAbsent(code)) {
            return std::nullopt;
        }
        raiseWin32(code, path, FileAction::LookUp);
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info)) {
        raiseLastError(path, FileAction::LookUp);
    }
    return info;
}

void refuseDevice(const Text& path, FileAction action) {
    if (namesWindowsDevice(path)) {
        throw RuntimeError(err::DeviceUnavailable, path, action, ErrorCause::NotRegularFile);
    }
}

}  // namespace tessark::win32
