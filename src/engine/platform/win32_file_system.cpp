// SPDX-License-Identifier: MIT
#include "engine/platform/win32_file_system.h"

#include <windows.h>

#include <optional>

#include "engine/core/runtime_error.h"
#include "engine/platform/device_names.h"
#include "engine/platform/native_file_system.h"
#include "engine/platform/win32_io.h"

namespace tessark {

using win32::attributesOf;
using win32::identityOf;
using win32::idOf;
using win32::idOfHandle;
using win32::pathOf;
using win32::raiseLastError;
using win32::raiseOpenFailure;
using win32::refuseDevice;

// A device is something there that is not a file (the system reports
// attributes for some, not for others).
bool Win32FileSystem::fileExists(const Text& path) {
    if (namesWindowsDevice(path)) {
        return false;
    }
    const auto attributes = attributesOf(path);
    return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::isDeviceName(const Text& path) const {
    return namesWindowsDevice(path);
}

bool Win32FileSystem::folderExists(const Text& path) {
    return namesWindowsDevice(path) || attributesOf(path).has_value();
}

FileKind Win32FileSystem::kind(const Text& path) {
    const auto attributes = attributesOf(path);
    if (!attributes) {
        return FileKind::None;
    }
    if ((*attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return FileKind::Folder;
    }
    // A link's own attributes: what it leads to must be a file on a disk.
    if ((*attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && !identityOf(path)) {
        return FileKind::Other;
    }
    return FileKind::Regular;
}

std::int64_t Win32FileSystem::fileLength(const Text& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(pathOf(path).c_str(), GetFileExInfoStandard, &data)) {
        raiseLastError(path, FileAction::LookUp);
    }
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw RuntimeError(err::PathFileAccess, path, FileAction::Measure, ErrorCause::Folder);
    }
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                                     data.nFileSizeLow);
}

bool Win32FileSystem::sameFile(const Text& a, const Text& b) {
    const auto first = fileId(a);
    return first && first == fileId(b);
}

std::optional<FileId> Win32FileSystem::fileId(const Text& path) {
    const auto info = identityOf(path);
    if (!info) {
        return std::nullopt;
    }
    return idOf(*info);
}

std::unique_ptr<InputFile> Win32FileSystem::openRead(const Text& path) {
    refuseDevice(path, FileAction::Open);
    // Others may read along, but not change the file while it is being cut or
    // joined.
    const HANDLE handle = CreateFileW(pathOf(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        raiseOpenFailure(path, FileAction::Open);
    }
    return win32::openedInput(handle, path);
}

std::unique_ptr<OutputFile> Win32FileSystem::createFile(const Text& path,
                                                        std::optional<FileId> mustNotBe) {
    // OPEN_ALWAYS and then cutting the file to nothing, rather than
    // CREATE_ALWAYS, which refuses an existing hidden or system file; the cut
    // comes only after the open file is known not to be the protected one.
    // Devices and pipes have no length to cut (a device name never gets
    // here; a host's device under wine, which tests use, does).
    refuseDevice(path, FileAction::Create);
    const HANDLE handle =
        CreateFileW(pathOf(path).c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        raiseOpenFailure(path, FileAction::Create);
    }
    auto file = win32::openedOutput(handle, path);
    const DWORD type = GetFileType(handle);
    if (type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE) {
        return file;
    }
    if (mustNotBe && idOfHandle(handle, path) == *mustNotBe) {
        throw RuntimeError(err::PermissionDenied, path, FileAction::Overwrite,
                           ErrorCause::IsTheSource);
    }
    if (!SetEndOfFile(handle)) {
        raiseLastError(path, FileAction::Empty);
    }
    return file;
}

void Win32FileSystem::replaceFile(const Text& from, const Text& to) {
    // Windows refuses to replace a read-only file; saying so here as well
    // keeps that true on file systems that would let it go.
    if (const auto attributes = attributesOf(to);
        attributes && (*attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        throw RuntimeError(err::PermissionDenied, to, FileAction::Replace,
                           SystemCode::ofWin32(ERROR_ACCESS_DENIED));
    }
    if (!MoveFileExW(pathOf(from).c_str(), pathOf(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        raiseOpenFailure(to, FileAction::Replace);
    }
}

void Win32FileSystem::removeFile(const Text& path) noexcept {
    DeleteFileW(pathOf(path).c_str());
}

std::unique_ptr<FileSystem> makeNativeFileSystem() {
    return std::make_unique<Win32FileSystem>();
}

}  // namespace tessark
