// SPDX-License-Identifier: MIT
#ifndef _WIN32

#include "engine/platform/posix_staged_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "engine/core/runtime_error.h"

namespace tessark::posix {

namespace {

// realpath() of an existing path; nothing when the path does not lead to
// anything, so that the caller can look at its folder instead.
std::optional<Text> resolved(const Text& path, const Text& target) {
    const std::string native = nativePath(path);
    char* real = ::realpath(native.c_str(), nullptr);
    if (real == nullptr) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        fail(errno, target, FileAction::Resolve);
    }
    Text text = fromUtf8(real);
    std::free(real);
    return text;
}

// An unnamed file in `folder`, or -1 where the file system or the kernel does
// not offer one.
int openUnnamed(const Text& folder, const Text& target) {
#ifdef O_TMPFILE
    const std::string native = nativePath(folder);
    for (;;) {
        const int fd = ::open(native.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return fd;
        }
        const int error = errno;
        // Kernels and file systems without unnamed files say so in one of
        // these ways.
        if (error == EOPNOTSUPP || error == EISDIR || error == EINVAL) {
            return -1;
        }
        if (error != EINTR) {
            fail(error, target, FileAction::Create);
        }
    }
#else
    (void)folder;
    (void)target;
    return -1;
#endif
}

// Gives the unnamed file open as `fd` the name `path`; false with errno set.
bool linkUnnamed(int fd, const Text& path) {
    const std::string native = nativePath(path);
    const std::string procPath = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, native.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return true;
    }
#ifdef AT_EMPTY_PATH
    // Without /proc mounted (a chroot, say); this form asks for more privilege.
    if (errno == ENOENT && ::linkat(fd, "", AT_FDCWD, native.c_str(), AT_EMPTY_PATH) == 0) {
        return true;
    }
#endif
    return false;
}

Text withName(Text folder, const Text& name) {
    if (folder.empty() || folder.back() != kSeparator) {
        folder += kSeparator;
    }
    return folder + name;
}

// Makes the new name itself durable. The output is already in place and
// complete, so a folder that cannot be flushed is no reason to report failure.
void syncFolder(const Text& folder) {
    const int fd = ::open(toUtf8(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        static_cast<void>(::fsync(fd));
        ::close(fd);
    }
}

}  // namespace

Text realTarget(const Text& target) {
    if (auto real = resolved(target, target)) {
        return *real;
    }
    const auto folder = folderToLookUp(target, kSeparator);
    if (!folder) {
        return target;  // a bare name lives in the current folder
    }
    const auto realFolder = resolved(*folder, target);
    if (!realFolder) {
        fail(ENOENT, target, FileAction::Create);
    }
    return withName(*realFolder, GetFileName(target, kSeparator));
}

PosixStaged::PosixStaged(const Text& target, bool unnamed)
    : target_(target),
      real_(realTarget(target)),
      folder_(folderToLookUp(real_, kSeparator).value_or(Text(u"."))) {
    // The staged file is renamed over whatever the name leads to: a device or
    // a pipe there would become a plain file.
    struct stat st {};
    if (::stat(nativePath(real_).c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        throw RuntimeError(S_ISDIR(st.st_mode) ? err::PathFileAccess : err::DeviceUnavailable,
                           target_, FileAction::Replace, ErrorCause::NotRegularFile);
    }
    removeAbandonedStaging(folder_);
    const int fd = unnamed ? openUnnamed(folder_, target_) : -1;
    if (fd >= 0) {
        unnamed_ = true;
        holdStagingLock(fd);  // before it has a name anyone could see
        output_ = std::make_unique<PosixOutput>(fd, target_);
    } else {
        output_ = std::make_unique<PosixOutput>(createUniqueFile(folder_, temp_), target_);
    }
    // The lock lasts until the staged name is gone (renamed or removed),
    // beyond the closing of the file that reports late write errors.
    lock_ = ::dup(output_->fd());
    if (lock_ < 0) {
        const int error = errno;
        output_.reset();
        if (!temp_.empty()) {
            ::unlink(toUtf8(temp_).c_str());
        }
        fail(error, target_, FileAction::Stage);
    }
}

PosixStaged::~PosixStaged() {
    output_.reset();  // an unnamed file goes with its descriptor
    if (!committed_ && !temp_.empty()) {
        ::unlink(toUtf8(temp_).c_str());
    }
    if (lock_ >= 0) {
        ::close(lock_);
    }
}

void PosixStaged::writeAt(std::int64_t offset, std::span<const std::byte> data) {
    output_->writeAt(offset, data);
}

void PosixStaged::close() {
    if (unnamed_ && temp_.empty() && output_->fd() >= 0) {
        nameUnnamed();
    }
    output_->close();
}

void PosixStaged::commit() {
    // The new content reaches the disk before any name points at it, so a
    // power cut leaves either the old output or the whole new one.
    if (output_->fd() >= 0 && ::fsync(output_->fd()) != 0) {
        fail(errno, target_, FileAction::Write);
    }
    if (unnamed_ && temp_.empty() && output_->fd() >= 0) {
        // Nothing at the target yet: the file takes its final name directly.
        if (linkUnnamed(output_->fd(), real_)) {
            committed_ = true;
            try {
                output_->close();
            } catch (...) {
                ::unlink(toUtf8(real_).c_str());  // ours alone: nothing was there
                throw;
            }
            syncFolder(folder_);
            return;
        }
        if (errno != EEXIST) {
            fail(errno, target_, FileAction::Create);
        }
    }
    close();
    const std::string from = nativePath(temp_);
    const std::string to = nativePath(real_);
    if (::rename(from.c_str(), to.c_str()) != 0) {
        fail(errno, target_, FileAction::Replace);
    }
    committed_ = true;
    syncFolder(folder_);
}

// An unnamed file needs a name before its descriptor is closed: a hidden one
// beside the target, then moved over the target in one step. Only between
// the two could a kill leave the hidden name behind.
void PosixStaged::nameUnnamed() {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const Text candidate = temporaryName(folder_);
        if (linkUnnamed(output_->fd(), candidate)) {
            temp_ = candidate;
            return;
        }
        if (errno != EEXIST && errno != EINTR) {
            fail(errno, target_, FileAction::Stage);
        }
    }
    refuse(err::FileExists, target_, FileAction::Stage);
}

}  // namespace tessark::posix

#endif
