// SPDX-License-Identifier: MIT
#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#ifdef __linux__
#include <sys/vfs.h>
#endif

namespace tessark::bench {

namespace {

constexpr std::size_t kBufferSize = std::size_t{4} << 20;

[[noreturn]] void fail(const std::string& what, const std::string& path) {
    throw std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

// A file descriptor that closes itself.
class Fd {
  public:
    Fd(const std::string& path, int flags) : path_(path), fd_(open(path.c_str(), flags, 0644)) {
        if (fd_ < 0) {
            fail("cannot open", path);
        }
    }
    ~Fd() { close(fd_); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    int fd_;
};

// xoshiro256**: several GB/s and no visible pattern for a compressor.
class Generator {
  public:
    std::uint64_t next() {
        const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = rotl(s_[3], 45);
        return result;
    }

  private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t s_[4] = {0x9E3779B97F4A7C15u, 0xBF58476D1CE4E5B9u, 0x94D049BB133111EBu,
                           0x2545F4914F6CDD1Du};
};

void writeAll(const Fd& fd, const std::byte* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd.get(), data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail("cannot write", fd.path());
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

// The files of a list read as one stream.
class Chain {
  public:
    explicit Chain(const std::vector<std::string>& paths) : paths_(paths) {}

    // Fills `buffer` as far as the chain reaches; returns the count.
    std::size_t read(std::span<std::byte> buffer) {
        std::size_t filled = 0;
        while (filled < buffer.size() && index_ < paths_.size()) {
            if (fd_ < 0) {
                fd_ = open(paths_[index_].c_str(), O_RDONLY | O_CLOEXEC);
                if (fd_ < 0) {
                    fail("cannot open", paths_[index_]);
                }
            }
            const ssize_t n = ::read(fd_, buffer.data() + filled, buffer.size() - filled);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                fail("cannot read", paths_[index_]);
            }
            if (n == 0) {
                close(fd_);
                fd_ = -1;
                ++index_;
            }
            filled += static_cast<std::size_t>(n);
        }
        return filled;
    }
    ~Chain() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    Chain(const Chain&) = delete;
    Chain& operator=(const Chain&) = delete;

  private:
    const std::vector<std::string>& paths_;
    std::size_t index_ = 0;
    int fd_ = -1;
};

std::string describe(const std::vector<std::string>& paths) {
    if (paths.size() == 1) {
        return paths.front();
    }
    return paths.empty() ? "(no files)"
                         : paths.front() + " ... " + paths.back() + " (" +
                               std::to_string(paths.size()) + " files)";
}

}  // namespace

CompareBuffers::CompareBuffers() : first(kBufferSize), second(kBufferSize) {}

void writeRandomFile(const std::string& path, std::int64_t size, std::span<std::byte> buffer) {
    Fd fd(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC);
    Generator generator;
    const std::size_t words = buffer.size() / sizeof(std::uint64_t);
    for (std::int64_t left = size; left > 0;) {
        for (std::size_t i = 0; i < words; ++i) {
            const std::uint64_t word = generator.next();
            std::memcpy(buffer.data() + i * sizeof word, &word, sizeof word);
        }
        const auto n = static_cast<std::size_t>(
            std::min<std::int64_t>(left, static_cast<std::int64_t>(words * sizeof(std::uint64_t))));
        writeAll(fd, buffer.data(), n);
        left -= static_cast<std::int64_t>(n);
    }
    if (fsync(fd.get()) != 0 && errno != EINVAL) {
        fail("cannot flush", path);
    }
}

void makeSparseFile(const std::string& path, std::int64_t size) {
    Fd fd(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC);
    if (ftruncate(fd.get(), size) != 0) {
        fail("cannot size", path);
    }
}

void expectSameBytes(const std::vector<std::string>& a, const std::vector<std::string>& b,
                     CompareBuffers& buffers) {
    Chain left(a);
    Chain right(b);
    std::int64_t offset = 0;
    for (;;) {
        const std::size_t n = left.read(buffers.first);
        const std::size_t m = right.read(buffers.second);
        if (n != m || std::memcmp(buffers.first.data(), buffers.second.data(), n) != 0) {
            throw std::runtime_error("MISMATCH: " + describe(a) + " and " + describe(b) +
                                     " differ within the 4 MiB from byte " +
                                     std::to_string(offset));
        }
        if (n == 0) {
            return;
        }
        offset += static_cast<std::int64_t>(n);
    }
}

void expectSamePieces(const std::vector<std::string>& a, const std::vector<std::string>& b,
                      CompareBuffers& buffers) {
    if (a.size() != b.size()) {
        throw std::runtime_error("MISMATCH: " + std::to_string(a.size()) + " pieces against " +
                                 std::to_string(b.size()));
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        expectSameBytes({a[i]}, {b[i]}, buffers);
    }
}

bool fileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

void removeAndSettle(const std::vector<std::string>& paths, const std::string& folder) {
    for (const auto& p : paths) {
        if (unlink(p.c_str()) != 0 && errno != ENOENT) {
            fail("cannot remove", p);
        }
    }
    settle(folder);
}

void settle(const std::string& folder) {
    Fd fd(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#ifdef __linux__
    syncfs(fd.get());
#else
    fsync(fd.get());
#endif
}

std::int64_t freeBytes(const std::string& folder) {
    struct statvfs info {};
    if (statvfs(folder.c_str(), &info) != 0) {
        fail("cannot measure the free space of", folder);
    }
    return static_cast<std::int64_t>(info.f_bavail) * static_cast<std::int64_t>(info.f_frsize);
}

std::string fileSystemName(const std::string& folder) {
#ifdef __linux__
    struct statfs info {};
    if (statfs(folder.c_str(), &info) != 0) {
        return "unknown";
    }
    struct Known {
        unsigned long magic;
        const char* name;
    };
    static constexpr Known kKnown[] = {
        {0x01021994, "tmpfs"},     {0xEF53, "ext4"}, {0x9123683E, "btrfs"}, {0x58465342, "xfs"},
        {0x794C7630, "overlayfs"}, {0x6969, "nfs"},  {0x2FC12FC1, "zfs"},   {0xF2F52010, "f2fs"}};
    const auto magic = static_cast<unsigned long>(info.f_type);
    for (const auto& k : kKnown) {
        if (k.magic == magic) {
            return k.name;
        }
    }
    char hex[32];
    std::snprintf(hex, sizeof hex, "0x%lx", magic);
    return hex;
#else
    (void)folder;
    return "unknown";
#endif
}

}  // namespace tessark::bench
