// SPDX-License-Identifier: MIT
#ifndef _WIN32

#include "engine/platform/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <random>
#include <string_view>
#include <utility>

#include "engine/core/runtime_error.h"
#include "engine/core/wildcard.h"
#include "engine/platform/errno_map.h"
#include "engine/platform/kernel_copy.h"
#include "engine/platform/native_file_system.h"

namespace tessark {

static_assert(sizeof(off_t) >= 8, "positions beyond 2 GiB need a 64-bit off_t");

namespace {

constexpr char16_t kSeparator = u'/';

// The bytes the system knows `path` by. A NUL inside the text would make the
// system see a shorter name, so such a name is refused rather than cut.
std::string nativePath(const Text& path) {
    if (path.find(u'\0') != Text::npos) {
        raise(err::BadFileName);
    }
    return toUtf8(path);
}

bool exists(const std::string& native) {
    struct stat st {};
    return ::stat(native.c_str(), &st) == 0;
}

// Raises the run-time error for a failed call on `path`. A missing file in a
// missing folder is "path not found", not "file not found".
[[noreturn]] void fail(int error, const Text& path) {
    bool parentMissing = false;
    if (error == ENOENT) {
        if (const auto folder = folderToLookUp(path, kSeparator)) {
            parentMissing = !exists(toUtf8(*folder));
        }
    }
    raise(errorNumberForErrno(error, parentMissing));
}

// Fills `st` and returns true when something is at `path`, false when nothing
// is; any other failure to look is an error.
bool statPath(const Text& path, struct stat& st) {
    const std::string native = nativePath(path);
    if (::stat(native.c_str(), &st) == 0) {
        return true;
    }
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR) {
        return false;
    }
    fail(error, path);
}

int openFile(const Text& path, int flags, mode_t mode = 0) {
    const std::string native = nativePath(path);
    for (;;) {
        const int fd = ::open(native.c_str(), flags | O_CLOEXEC, mode);
        if (fd >= 0) {
            return fd;
        }
        if (errno != EINTR) {
            fail(errno, path);
        }
    }
}

// Owns a descriptor until it is handed on.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

FileId idOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

class PosixInput : public InputFile {
  public:
    PosixInput(int fd, Text path, FileId id) : fd_(fd), path_(std::move(path)), id_(id) {}
    int fd() const { return fd_.get(); }
    FileId id() const override { return id_; }

    std::size_t readAt(std::int64_t offset, std::span<std::byte> buffer) override {
        for (;;) {
            const ssize_t got =
                ::pread(fd_.get(), buffer.data(), buffer.size(), static_cast<off_t>(offset));
            if (got >= 0) {
                return static_cast<std::size_t>(got);
            }
            if (errno != EINTR) {
                fail(errno, path_);
            }
        }
    }

  private:
    Descriptor fd_;  // nothing written, so nothing to lose when closing
    Text path_;
    FileId id_;
};

class PosixOutput : public OutputFile {
  public:
    PosixOutput(int fd, Text path) : fd_(fd), path_(std::move(path)) {}
    ~PosixOutput() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    PosixOutput(const PosixOutput&) = delete;
    PosixOutput& operator=(const PosixOutput&) = delete;
    int fd() const { return fd_; }  // -1 once closed

    void writeAt(std::int64_t offset, std::span<const std::byte> data) override {
        if (fd_ < 0) {
            raise(err::BadFileName);  // written after close: a bad file number
        }
        std::size_t done = 0;
        while (done < data.size()) {
            const ssize_t wrote =
                ::pwrite(fd_, data.data() + done, data.size() - done,
                         static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
            if (wrote > 0) {
                done += static_cast<std::size_t>(wrote);
            } else if (wrote == 0) {
                raise(err::DeviceIo);  // the device takes nothing and says nothing
            } else if (errno != EINTR) {
                fail(errno, path_);
            }
        }
    }

    // A late write error (a full disk on a network share, say) shows up here,
    // so it is reported like any other. The descriptor is gone either way.
    void close() override {
        if (fd_ < 0) {
            return;
        }
        if (::close(std::exchange(fd_, -1)) != 0) {
            fail(errno, path_);
        }
    }

  private:
    int fd_;
    Text path_;
};

class Directory {
  public:
    explicit Directory(const Text& path) : path_(path) {
        const std::string native = nativePath(path);
        dir_ = ::opendir(native.c_str());
        if (dir_ == nullptr) {
            error_ = errno;
        }
    }
    ~Directory() {
        if (dir_ != nullptr) {
            ::closedir(dir_);
        }
    }
    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;

    // The errno of a failed opening, 0 when the directory is open.
    int openError() const { return error_; }

    // The next entry other than hidden ones ("." and ".." included), or
    // nullptr at the end.
    const dirent* next() {
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(dir_);
            if (entry == nullptr) {
                if (errno != 0) {
                    fail(errno, path_);
                }
                return nullptr;
            }
            if (entry->d_name[0] != '.') {
                return entry;
            }
        }
    }

    // What the entry is, following a symbolic link; false when it cannot be
    // told (a dangling link).
    bool entryIs(const dirent& entry, mode_t kind) const {
        if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) {
            return (entry.d_type == DT_REG && kind == S_IFREG) ||
                   (entry.d_type == DT_DIR && kind == S_IFDIR);
        }
        struct stat st {};
        return ::fstatat(::dirfd(dir_), entry.d_name, &st, 0) == 0 && (st.st_mode & S_IFMT) == kind;
    }

    void close() {
        DIR* dir = std::exchange(dir_, nullptr);
        if (dir != nullptr && ::closedir(dir) != 0) {
            fail(errno, path_);
        }
    }

  private:
    Text path_;
    DIR* dir_ = nullptr;
    int error_ = 0;
};

// The entry's name as text, or nothing when the bytes are not UTF-8: such a
// name could not be handed back to open the same file.
std::optional<Text> entryName(const dirent& entry) {
    const std::string_view bytes(entry.d_name);
    Text name = fromUtf8(bytes);
    if (toUtf8(name) != bytes) {
        return std::nullopt;
    }
    return name;
}

std::vector<Text> listEntries(Directory& dir, const Text& namePattern, mode_t kind) {
    std::vector<Text> names;
    while (const dirent* entry = dir.next()) {
        const auto name = entryName(*entry);
        if (name && wildcardMatch(namePattern, *name) && dir.entryIs(*entry, kind)) {
            names.push_back(*name);
        }
    }
    dir.close();
    return names;
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

// The name a temporary file gets in `folder`: hidden, so that no wildcard
// search picks up a half-written file.
Text temporaryName(const Text& folder) {
    Text base = folder;
    if (!base.empty() && base.back() != kSeparator) {
        base += kSeparator;
    }
    return base + u".tessark-" + randomTag() + u".tmp";
}

constexpr int kNameAttempts = 100;

// Creates a new file under a fresh temporary name in `folder`.
int createUniqueFile(const Text& folder, Text& path) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        path = temporaryName(folder);
        const std::string native = nativePath(path);
        const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return fd;
        }
        if (errno != EEXIST && errno != EINTR) {
            fail(errno, path);
        }
    }
    raise(err::FileExists);
}

// The real place of `target`: a symbolic link (to the file or on the way to
// it) is followed, so that replacing the file keeps the link. A name that does
// not exist yet lives in its folder's real place.
Text realTarget(const Text& target) {
    const std::string native = nativePath(target);
    if (char* real = ::realpath(native.c_str(), nullptr)) {
        Text resolved = fromUtf8(real);
        ::free(real);
        return resolved;
    }
    if (errno != ENOENT) {
        fail(errno, target);
    }
    const auto folder = folderToLookUp(target, kSeparator);
    if (!folder) {
        return target;  // a bare name: the current folder
    }
    const std::string nativeFolder = nativePath(*folder);
    char* real = ::realpath(nativeFolder.c_str(), nullptr);
    if (real == nullptr) {
        fail(errno, target);
    }
    Text resolved = fromUtf8(real);
    ::free(real);
    if (resolved.back() != kSeparator) {
        resolved += kSeparator;
    }
    return resolved + GetFileName(target, kSeparator);
}

// An unnamed file in `folder` (O_TMPFILE), or -1 where the file system or the
// kernel does not offer one.
int openUnnamed(const Text& folder, const Text& target) {
#ifdef O_TMPFILE
    const std::string native = nativePath(folder);
    for (;;) {
        const int fd = ::open(native.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return fd;
        }
        const int error = errno;
        if (error == EOPNOTSUPP || error == EISDIR || error == EINVAL) {
            return -1;
        }
        if (error != EINTR) {
            fail(error, target);
        }
    }
#else
    (void)folder;
    (void)target;
    return -1;
#endif
}

// Gives the unnamed file open as `fd` the name `path`.
bool linkUnnamed(int fd, const Text& path) {
    const std::string native = nativePath(path);
    const std::string procPath = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, native.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return true;
    }
#ifdef AT_EMPTY_PATH
    // Without /proc (a chroot, say); this form asks for more privilege.
    if (errno == ENOENT && ::linkat(fd, "", AT_FDCWD, native.c_str(), AT_EMPTY_PATH) == 0) {
        return true;
    }
#endif
    return false;
}

// New content for a file: written to an unnamed file in the final folder and
// given a name only on commit, so that a crash or a kill at any moment leaves
// the old file and nothing else. Where unnamed files are not offered, a hidden
// named file beside the target does the same, short of a kill.
class PosixStaged : public StagedFile {
  public:
    explicit PosixStaged(const Text& target) : target_(target), real_(realTarget(target)) {
        const Text folder = folderToLookUp(real_, kSeparator).value_or(Text(u"."));
        const int fd = openUnnamed(folder, target_);
        if (fd >= 0) {
            unnamed_ = true;
            output_ = std::make_unique<PosixOutput>(fd, target_);
        } else {
            output_ = std::make_unique<PosixOutput>(createUniqueFile(folder, temp_), target_);
        }
    }
    ~PosixStaged() override {
        output_.reset();  // an unnamed file goes with its descriptor
        if (!temp_.empty()) {
            removeTemporary();
        }
    }
    PosixStaged(const PosixStaged&) = delete;
    PosixStaged& operator=(const PosixStaged&) = delete;

    PosixOutput& output() const { return *output_; }

    void writeAt(std::int64_t offset, std::span<const std::byte> data) override {
        output_->writeAt(offset, data);
    }
    void close() override {
        if (unnamed_ && output_->fd() >= 0) {
            nameUnnamed();
        }
        output_->close();
    }

    void commit() override {
        close();
        const std::string from = nativePath(temp_);
        const std::string to = nativePath(real_);
        if (::rename(from.c_str(), to.c_str()) != 0) {
            fail(errno, target_);
        }
        temp_.clear();
    }

  private:
    // An unnamed file needs a name before its descriptor is closed: a hidden
    // one beside the target, then moved over it in one step.
    void nameUnnamed() {
        const Text folder = folderToLookUp(real_, kSeparator).value_or(Text(u"."));
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            const Text candidate = temporaryName(folder);
            if (linkUnnamed(output_->fd(), candidate)) {
                temp_ = candidate;
                return;
            }
            if (errno != EEXIST && errno != EINTR) {
                fail(errno, target_);
            }
        }
        raise(err::FileExists);
    }

    void removeTemporary() noexcept {
        if (temp_.find(u'\0') == Text::npos) {
            ::unlink(toUtf8(temp_).c_str());
        }
    }

    Text target_;  // as the user named it, for messages
    Text real_;    // where the content goes
    Text temp_;    // the staging file's name once it has one
    bool unnamed_ = false;
    std::unique_ptr<PosixOutput> output_;
};

class PosixFileSystem : public FileSystem {
  public:
    explicit PosixFileSystem(bool kernelCopy) : kernelCopy_(kernelCopy) {}

    // Between two of its own files the kernel copies by itself where it can;
    // other files, and pairs of file systems the kernel refuses, go through
    // the buffer.
    std::int64_t transfer(InputFile& in, std::int64_t inOffset, OutputFile& out,
                          std::int64_t outOffset, std::int64_t count) override {
        const auto* source = dynamic_cast<PosixInput*>(&in);
        const auto* target = dynamic_cast<PosixOutput*>(&out);
        if (const auto* staged = dynamic_cast<PosixStaged*>(&out)) {
            target = &staged->output();
        }
        if (kernelCopy_ && source != nullptr && target != nullptr && target->fd() >= 0) {
            if (const auto moved =
                    kernel_.copy(source->fd(), inOffset, target->fd(), outOffset, count)) {
                return *moved;
            }
        }
        return FileSystem::transfer(in, inOffset, out, outOffset, count);
    }

    char16_t separator() const override { return kSeparator; }

    bool fileExists(const Text& path) override {
        struct stat st {};
        return statPath(path, st) && S_ISREG(st.st_mode);
    }

    bool folderExists(const Text& path) override {
        struct stat st {};
        return statPath(path, st);
    }

    std::int64_t fileLength(const Text& path) override {
        struct stat st {};
        if (!statPath(path, st)) {
            fail(ENOENT, path);
        }
        if (S_ISDIR(st.st_mode)) {
            raise(err::PathFileAccess);
        }
        return static_cast<std::int64_t>(st.st_size);
    }

    bool sameFile(const Text& a, const Text& b) override {
        struct stat sa {};
        struct stat sb {};
        return statPath(a, sa) && statPath(b, sb) && sa.st_dev == sb.st_dev &&
               sa.st_ino == sb.st_ino;
    }

    std::unique_ptr<InputFile> openRead(const Text& path) override {
        Descriptor fd(openFile(path, O_RDONLY));
        struct stat st {};
        if (::fstat(fd.get(), &st) != 0) {
            fail(errno, path);
        }
        if (S_ISDIR(st.st_mode)) {
            raise(err::PathFileAccess);
        }
        return std::make_unique<PosixInput>(fd.release(), path, idOf(st));
    }

    std::optional<FileId> fileId(const Text& path) override {
        struct stat st {};
        if (!statPath(path, st)) {
            return std::nullopt;
        }
        return idOf(st);
    }

    // Opened without O_TRUNC: only once the open file is known not to be the
    // protected one is it cut, so a link made at any moment cannot make us
    // empty that file.
    std::unique_ptr<OutputFile> createFile(const Text& path,
                                           std::optional<FileId> mustNotBe) override {
        auto file = std::make_unique<PosixOutput>(openFile(path, O_WRONLY | O_CREAT, 0666), path);
        struct stat st {};
        if (::fstat(file->fd(), &st) != 0) {
            fail(errno, path);
        }
        if (mustNotBe && idOf(st) == *mustNotBe) {
            raise(err::PermissionDenied);
        }
        // Devices and pipes have no length to cut.
        if (S_ISREG(st.st_mode) && ::ftruncate(file->fd(), 0) != 0) {
            fail(errno, path);
        }
        return file;
    }

    std::unique_ptr<StagedFile> createStaged(const Text& target) override;

    std::unique_ptr<OutputFile> createTempFile(const Text& folder, Text& path) override {
        const int fd = createUniqueFile(folder, path);
        return std::make_unique<PosixOutput>(fd, path);
    }

    void replaceFile(const Text& from, const Text& to) override {
        const std::string nativeFrom = nativePath(from);
        const std::string nativeTo = nativePath(to);
        if (::rename(nativeFrom.c_str(), nativeTo.c_str()) != 0) {
            const int error = errno;
            fail(error, error == ENOENT && !exists(nativeFrom) ? from : to);
        }
    }

    void removeFile(const Text& path) noexcept override {
        if (path.find(u'\0') == Text::npos) {
            ::unlink(toUtf8(path).c_str());
        }
    }

    std::vector<Text> findFiles(const Text& pattern) override {
        const auto folder = folderPart(pattern, kSeparator);
        const Text dirPath = !folder ? Text(u".") : folder->empty() ? Text(1, kSeparator) : *folder;
        Directory dir(dirPath);
        if (const int error = dir.openError()) {
            if (error == ENOENT || error == ENOTDIR) {
                return {};  // no folder, so no file matches
            }
            fail(error, dirPath);
        }
        return listEntries(dir, GetFileName(pattern, kSeparator), S_IFREG);
    }

    std::vector<Text> listFolders(const Text& folder) override {
        Directory dir(folder);
        if (const int error = dir.openError()) {
            raise(error == ENOENT ? err::PathNotFound : errorNumberForErrno(error));
        }
        auto names = listEntries(dir, u"*", S_IFDIR);
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string encodeAnsi(const Text& text) const override {
        return encodeForCodeset(text, ::nl_langinfo(CODESET));
    }

  private:
    bool kernelCopy_;
    KernelCopy kernel_;
};

std::unique_ptr<StagedFile> PosixFileSystem::createStaged(const Text& target) {
    return std::make_unique<PosixStaged>(target);
}

class Converter {
  public:
    explicit Converter(const char* codeset) : cd_(::iconv_open(codeset, "UTF-8")) {
        if (!ok()) {
            cd_ = ::iconv_open("ASCII", "UTF-8");
        }
    }
    ~Converter() {
        if (ok()) {
            ::iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1)); }

    // Appends the encoding of one character; false when the set has none.
    bool append(std::string utf8, std::string& out) {
        char buffer[32];
        char* in = utf8.data();
        std::size_t inLeft = utf8.size();
        char* to = buffer;
        std::size_t toLeft = sizeof buffer;
        // A count above 0 means the character was replaced by a look-alike,
        // which is not the character either.
        if (::iconv(cd_, &in, &inLeft, &to, &toLeft) != 0 || inLeft != 0) {
            return false;
        }
        out.append(buffer, static_cast<std::size_t>(to - buffer));
        return true;
    }

    // Ends a stateful encoding in its initial shift state.
    void finish(std::string& out) {
        char buffer[32];
        char* to = buffer;
        std::size_t toLeft = sizeof buffer;
        if (::iconv(cd_, nullptr, nullptr, &to, &toLeft) != static_cast<std::size_t>(-1)) {
            out.append(buffer, static_cast<std::size_t>(to - buffer));
        }
    }

  private:
    iconv_t cd_;
};

}  // namespace

std::string encodeForCodeset(const Text& text, const char* codeset) {
    Converter converter(codeset);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t units = 1;
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            units = 2;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            out += '?';  // half a character encodes nowhere
            continue;
        }
        const TextView character(text.data() + i, units);
        i += units - 1;
        if (!converter.ok()) {
            out += c < 0x80 ? static_cast<char>(c) : '?';
        } else if (!converter.append(toUtf8(character), out)) {
            out += '?';
        }
    }
    if (converter.ok()) {
        converter.finish(out);
    }
    return out;
}

std::unique_ptr<FileSystem> makePosixFileSystem(bool kernelCopy) {
    return std::make_unique<PosixFileSystem>(kernelCopy);
}

std::unique_ptr<FileSystem> makeNativeFileSystem() {
    return makePosixFileSystem(true);
}

}  // namespace tessark

#endif
