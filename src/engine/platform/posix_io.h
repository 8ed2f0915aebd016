// SPDX-License-Identifier: MIT
// The pieces the POSIX file system and its staged files share: native names,
// the one way a failed call becomes a RuntimeError, and a file open for
// writing.
#pragma once

#ifndef _WIN32

#include <sys/stat.h>

#include <cstdint>
#include <span>
#include <string>

#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"
#include "engine/core/text.h"

namespace tessark::posix {

inline constexpr char16_t kSeparator = u'/';

// The bytes the system knows `path` by. A NUL inside the text would make the
// system see a shorter name, so such a name is refused rather than cut.
std::string nativePath(const Text& path);

// Throws the RuntimeError for a call that failed with `error` while doing
// `action` to `path`, keeping errno for the front ends to word. A
// missing file in a missing folder is "path not found", not "file not found".
[[noreturn]] void fail(int error, const Text& path, FileAction action);

// Throws run-time error `number` about `path` where no errno tells why.
[[noreturn]] void refuse(int number, const Text& path, FileAction action);

FileId idOf(const struct stat& st);

// Owns a descriptor until it is handed on.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor();
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release();

  private:
    int fd_;
};

class PosixOutput : public OutputFile {
  public:
    PosixOutput(int fd, Text path) : fd_(fd), path_(std::move(path)) {}
    ~PosixOutput() override;
    PosixOutput(const PosixOutput&) = delete;
    PosixOutput& operator=(const PosixOutput&) = delete;
    int fd() const { return fd_; }  // -1 once closed
    const Text& path() const { return path_; }

    void writeAt(std::int64_t offset, std::span<const std::byte> data) override;
    // A late write error (a full disk on a network share, say) shows up here,
    // so it is reported like any other. The descriptor is gone either way.
    void close() override;

  private:
    int fd_;
    Text path_;
};

// A fresh hidden name in `folder`, so that no wildcard search picks up a
// half-written file.
Text temporaryName(const Text& folder);
inline constexpr int kNameAttempts = 100;

// Creates a new file under a fresh temporary name in `folder`, sets `path` to
// it and returns its descriptor, holding the file's staging lock.
int createUniqueFile(const Text& folder, Text& path);

// Takes the advisory lock that marks a temporary file as in use for as long
// as the file stays open (through any descriptor duplicated from `fd`): a
// process that is killed lets go of it.
void holdStagingLock(int fd);

// Removes the temporary files in `folder` that nobody holds the lock of:
// what a merge killed at the wrong moment left behind. Never throws.
void removeAbandonedStaging(const Text& folder) noexcept;

}  // namespace tessark::posix

#endif
