// SPDX-License-Identifier: MIT
// What the parts of the Windows file system share: the names Win32 is given,
// the handles it hands out, what is at a path and how a failed call becomes a
// RuntimeError. Each concern has its own source file (win32_paths.cpp,
// win32_handles.cpp, win32_identity.cpp, win32_listing.cpp).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"
#include "engine/core/text.h"

namespace tessark::win32 {

// Paths (win32_paths.cpp).

std::wstring wide(TextView text);
Text fromWide(const wchar_t* text);

// The name Win32 is given for `path`. A bare drive "X:" means that drive's
// current folder to Win32; to the user it names the drive's root. A long name
// is made absolute and normal (the "\\?\" form takes it literally) and given
// that prefix.
std::wstring pathOf(const Text& path);

// `folder` joined with `name`, without doubling a separator the folder already
// ends with.
Text joinPath(const Text& folder, const Text& name);

// Failures (win32_handles.cpp).

bool meansAbsent(DWORD code);
[[noreturn]] void raiseLastError(const Text& path, FileAction action);
// A file was expected at `path`: Windows refuses a folder with "access
// denied", which here is a path/file access error, not a protected file.
[[noreturn]] void raiseOpenFailure(const Text& path, FileAction action);

// Handles (win32_handles.cpp).

class Handle {
  public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    HANDLE get() const { return handle_; }
    HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }

  private:
    HANDLE handle_;
};

class FindHandle {
  public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() { FindClose(handle_); }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

// The place `offset` in a file, for a positioned read or write.
OVERLAPPED at(std::int64_t offset);

// Files open for reading and for writing, which close their handle.
std::unique_ptr<InputFile> openedInput(HANDLE handle, Text path);
std::unique_ptr<OutputFile> openedOutput(HANDLE handle, Text path);

// What is at a path (win32_identity.cpp).

// The attributes of whatever is at `path`, nothing when there is nothing.
std::optional<DWORD> attributesOf(const Text& path);
bool isFolder(const Text& path) noexcept;
FileId idOf(const BY_HANDLE_FILE_INFORMATION& info);
// The identity of an open file.
FileId idOfHandle(HANDLE handle, const Text& path);
// The identity of what is at `path`; nothing when nothing is there, or a
// device or pipe, which has no file identity (and is never a file being cut).
std::optional<BY_HANDLE_FILE_INFORMATION> identityOf(const Text& path);
// A device name is refused before anything is opened: it would reach a
// console, a port or the null device, never a file of the set.
void refuseDevice(const Text& path, FileAction action);

// Listing (win32_listing.cpp).

// Calls `visit` with every entry FindFirstFileW finds for `pattern`; a pattern
// that matches nothing, or whose folder does not exist, visits nothing.
void forEachEntry(const Text& pattern, const std::function<void(const WIN32_FIND_DATAW&)>& visit);

}  // namespace tessark::win32
