// SPDX-License-Identifier: MIT
#ifndef _WIN32

#include "engine/platform/posix_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
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
        refuse(err::BadFileName, path, "use");
    }
    return toUtf8(path);
}

void fail(int error, const Text& path, const char* action) {
    bool parentMissing = false;
    if (error == ENOENT && path.find(u'\0') == Text::npos) {
        if (const auto folder = folderToLookUp(path, kSeparator)) {
            parentMissing = !exists(toUtf8(*folder));
        }
    }
    throw RuntimeError(errorNumberForErrno(error, parentMissing), path, std::strerror(error),
                       action);
}

void refuse(int number, const Text& path, const char* action) {
    throw RuntimeError(number, path, {}, action);
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
        refuse(err::BadFileName, path_, "write");  // written after close: a bad file number
    }
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t wrote =
            ::pwrite(fd_, data.data() + done, data.size() - done,
                     static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (wrote > 0) {
            done += static_cast<std::size_t>(wrote);
        } else if (wrote == 0) {
            refuse(err::DeviceIo, path_, "write");  // the device takes nothing and says nothing
        } else if (errno != EINTR) {
            fail(errno, path_, "write");
        }
    }
}

void PosixOutput::close() {
    if (fd_ < 0) {
        return;
    }
    if (::close(std::exchange(fd_, -1)) != 0) {
        fail(errno, path_, "close");
    }
}

Text temporaryName(const Text& folder) {
    Text base = folder;
    if (!base.empty() && base.back() != kSeparator) {
        base += kSeparator;
    }
    return base + u".tessark-" + randomTag() + u".tmp";
}

int createUniqueFile(const Text& folder, Text& path) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        path = temporaryName(folder);
        const std::string native = nativePath(path);
        const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return fd;
        }
        if (errno != EEXIST && errno != EINTR) {
            fail(errno, path, "create");
        }
    }
    refuse(err::FileExists, folder, "create a temporary file in");
}

}  // namespace tessark::posix

#endif
