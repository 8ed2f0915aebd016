// SPDX-License-Identifier: MIT
#ifndef _WIN32

#include "engine/platform/posix_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string_view>
#include <utility>

#include "engine/core/runtime_error.h"
#include "engine/platform/errno_map.h"

namespace tessark::posix {

namespace {

bool exists(const std::string& native) {
    struct stat st {};
    return ::stat(native.c_str(), &st) == 0;
}

Text randomTag() {
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    std::random_device random;
    std::uint64_t bits = (static_cast<std::uint64_t>(random()) << 32) ^ random();
    Text tag;
    for (int i = 0; i < 12; ++i, bits >>= 4) {
        tag += kDigits[bits & 0xF];
    }
    return tag;
}

}  // namespace

std::string nativePath(const Text& path) {
    if (path.find(u'\0') != Text::npos) {
        refuse(err::BadFileName, path, FileAction::Use);
    }
    return toUtf8(path);
}

void fail(int error, const Text& path, FileAction action) {
    bool parentMissing = false;
    if (error == ENOENT && path.find(u'\0') == Text::npos) {
        if (const auto folder = folderToLookUp(path, kSeparator)) {
            parentMissing = !exists(toUtf8(*folder));
        }
    }
    throw RuntimeError(errorNumberForErrno(error, parentMissing), path, action,
                       SystemCode::ofErrno(error));
}

void refuse(int number, const Text& path, FileAction action) {
    throw RuntimeError(number, path, action);
}

FileId idOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

Descriptor::~Descriptor() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

int Descriptor::release() {
    return std::exchange(fd_, -1);
}

PosixOutput::~PosixOutput() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void PosixOutput::writeAt(std::int64_t offset, std::span<const std::byte> data) {
    if (fd_ < 0) {
        refuse(err::BadFileName, path_,
               FileAction::Write);  // written after close: a bad file number
    }
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t wrote =
            ::pwrite(fd_, data.data() + done, data.size() - done,
                     static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (wrote > 0) {
            done += static_cast<std::size_t>(wrote);
        } else if (wrote == 0) {
            refuse(err::DeviceIo, path_,
                   FileAction::Write);  // the device takes nothing and says nothing
        } else if (errno != EINTR) {
            fail(errno, path_, FileAction::Write);
        }
    }
}

void PosixOutput::close() {
    if (fd_ < 0) {
        return;
    }
    if (::close(std::exchange(fd_, -1)) != 0) {
        fail(errno, path_, FileAction::Close);
    }
}

Text temporaryName(const Text& folder) {
    Text base = folder;
    if (!base.empty() && base.back() != kSeparator) {
        base += kSeparator;
    }
    return base + u".tessark-" + randomTag() + u".tmp";
}

void holdStagingLock(int fd) {
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    // Without locks on this file system nobody can take the file for
    // abandoned either: it is simply never cleaned up.
}

int createUniqueFile(const Text& folder, Text& path) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        path = temporaryName(folder);
        const std::string native = nativePath(path);
        const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            // Another merge's clean-up may have taken the file, unlocked for
            // a moment, for abandoned: once locked, it must still be ours.
            holdStagingLock(fd);
            struct stat opened {};
            struct stat named {};
            if (::fstat(fd, &opened) == 0 && ::lstat(native.c_str(), &named) == 0 &&
                idOf(opened) == idOf(named)) {
                return fd;
            }
            ::close(fd);
            continue;
        }
        if (errno != EEXIST && errno != EINTR) {
            fail(errno, path, FileAction::Create);
        }
    }
    refuse(err::FileExists, folder, FileAction::CreateTemporaryIn);
}

bool isStagingName(std::string_view name) {
    constexpr std::string_view kHead = ".tessark-";
    constexpr std::string_view kTail = ".tmp";
    constexpr std::size_t kTag = 12;
    if (name.size() != kHead.size() + kTag + kTail.size() || !name.starts_with(kHead) ||
        !name.ends_with(kTail)) {
        return false;
    }
    const std::string_view tag = name.substr(kHead.size(), kTag);
    return tag.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

void removeAbandonedStaging(const Text& folder) noexcept {
    if (folder.find(u'\0') != Text::npos) {
        return;
    }
    DIR* dir = ::opendir(toUtf8(folder).c_str());
    if (dir == nullptr) {
        return;
    }
    const int at = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (!isStagingName(entry->d_name)) {
            continue;
        }
        const int fd = ::openat(at, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        // Locked: a merge is writing it. Unlocked: its merge was killed.
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(at, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            idOf(opened) == idOf(named)) {
            ::unlinkat(at, entry->d_name, 0);
        }
        ::close(fd);
    }
    ::closedir(dir);
}

}  // namespace tessark::posix

#endif
