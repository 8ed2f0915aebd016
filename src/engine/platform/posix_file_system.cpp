// SPDX-License-Identifier: MIT
#ifndef _WIN32

#include "engine/platform/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

#include "engine/core/runtime_error.h"
#include "engine/core/wildcard.h"
#include "engine/platform/errno_map.h"
#include "engine/platform/kernel_copy.h"
#include "engine/platform/native_file_system.h"
#include "engine/platform/posix_io.h"
#include "engine/platform/posix_staged_file.h"

namespace tessark {

// Positions beyond 2 GiB need a 64-bit off_t.
static_assert(sizeof(off_t) >= 8);

namespace {

using posix::Descriptor;
using posix::fail;
using posix::idOf;
using posix::kSeparator;
using posix::nativePath;
using posix::PosixOutput;
using posix::PosixStaged;
using posix::refuse;

bool exists(const std::string& native) {
    struct stat st {};
    return ::stat(native.c_str(), &st) == 0;
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
    fail(error, path, FileAction::LookUp);
}

// Opens a regular file and fills `st`. Without O_NONBLOCK the opening of a
// pipe waits for its other end, for ever when none comes; with it, a pipe, a
// device or anything else that is not a plain file is seen and refused
// before a byte moves. Such a name is no file of a set: error 68, as the
// system itself says (ENXIO) of a pipe nobody reads.
int openFile(const Text& path, int flags, mode_t mode, FileAction action, struct stat& st) {
    const std::string native = nativePath(path);
    int opened = -1;
    while ((opened = ::open(native.c_str(), flags | O_CLOEXEC | O_NONBLOCK, mode)) < 0) {
        if (errno != EINTR) {
            fail(errno, path, action);
        }
    }
    Descriptor fd(opened);
    if (::fstat(fd.get(), &st) != 0) {
        fail(errno, path, action);
    }
    if (S_ISDIR(st.st_mode)) {
        fail(EISDIR, path, action);
    }
    if (!S_ISREG(st.st_mode)) {
        throw RuntimeError(err::DeviceUnavailable, path, action, ErrorCause::NotRegularFile);
    }
    const int status = ::fcntl(fd.get(), F_GETFL);
    if (status < 0 || ::fcntl(fd.get(), F_SETFL, status & ~O_NONBLOCK) != 0) {
        fail(errno, path, action);
    }
    return fd.release();
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
                fail(errno, path_, FileAction::Read);
            }
        }
    }

  private:
    Descriptor fd_;  // nothing written, so nothing to lose when closing
    Text path_;
    FileId id_;
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
                    fail(errno, path_, FileAction::List);
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
            fail(errno, path_, FileAction::List);
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

void visitEntries(Directory& dir, const Text& namePattern, mode_t kind,
                  const std::function<void(Text&&)>& visit) {
    while (const dirent* entry = dir.next()) {
        auto name = entryName(*entry);
        if (name && wildcardMatch(namePattern, *name) && dir.entryIs(*entry, kind)) {
            visit(std::move(*name));
        }
    }
    dir.close();
}

std::vector<Text> listEntries(Directory& dir, const Text& namePattern, mode_t kind) {
    std::vector<Text> names;
    visitEntries(dir, namePattern, kind, [&](Text&& name) { names.push_back(std::move(name)); });
    return names;
}

class PosixFileSystem : public FileSystem {
  public:
    PosixFileSystem(bool kernelCopy, bool unnamedStaging)
        : kernelCopy_(kernelCopy), unnamedStaging_(unnamedStaging) {}

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
            if (const auto moved = kernel_.copy(source->fd(), inOffset, target->fd(), outOffset,
                                                count, target->path())) {
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

    FileKind kind(const Text& path) override {
        struct stat st {};
        if (statPath(path, st)) {
            return S_ISREG(st.st_mode)   ? FileKind::Regular
                   : S_ISDIR(st.st_mode) ? FileKind::Folder
                                         : FileKind::Other;
        }
        // Nothing reached; the name itself may still be a link to nowhere.
        if (::lstat(nativePath(path).c_str(), &st) == 0) {
            return FileKind::Other;
        }
        if (errno == ENOENT || errno == ENOTDIR) {
            return FileKind::None;
        }
        fail(errno, path, FileAction::LookUp);
    }

    std::int64_t fileLength(const Text& path) override {
        struct stat st {};
        if (!statPath(path, st)) {
            fail(ENOENT, path, FileAction::LookUp);
        }
        if (S_ISDIR(st.st_mode)) {
            fail(EISDIR, path, FileAction::Measure);
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
        struct stat st {};
        const int fd = openFile(path, O_RDONLY, 0, FileAction::Open, st);
        return std::make_unique<PosixInput>(fd, path, idOf(st));
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
        struct stat st {};
        auto file = std::make_unique<PosixOutput>(
            openFile(path, O_WRONLY | O_CREAT, 0666, FileAction::Create, st), path);
        if (mustNotBe && idOf(st) == *mustNotBe) {
            throw RuntimeError(err::PermissionDenied, path, FileAction::Overwrite,
                               ErrorCause::IsTheSource);
        }
        if (::ftruncate(file->fd(), 0) != 0) {
            fail(errno, path, FileAction::Empty);
        }
        return file;
    }

    std::unique_ptr<StagedFile> createStaged(const Text& target) override;

    std::unique_ptr<OutputFile> createTempFile(const Text& folder, Text& path) override {
        const int fd = posix::createUniqueFile(folder, path);
        return std::make_unique<PosixOutput>(fd, path);
    }

    void replaceFile(const Text& from, const Text& to) override {
        const std::string nativeFrom = nativePath(from);
        const std::string nativeTo = nativePath(to);
        if (::rename(nativeFrom.c_str(), nativeTo.c_str()) != 0) {
            const int error = errno;
            fail(error, error == ENOENT && !exists(nativeFrom) ? from : to, FileAction::Replace);
        }
    }

    void removeAbandonedStaging(const Text& folder) noexcept override {
        posix::removeAbandonedStaging(folder);
    }

    void removeFile(const Text& path) noexcept override {
        if (path.find(u'\0') == Text::npos) {
            ::unlink(toUtf8(path).c_str());
        }
    }

    std::vector<Text> findFiles(const Text& pattern) override {
        std::vector<Text> names;
        forEachFile(pattern, [&](Text&& name) { names.push_back(std::move(name)); });
        return names;
    }

    void forEachFile(const Text& pattern, const std::function<void(Text&&)>& visit) override {
        const auto folder = folderPart(pattern, kSeparator);
        const Text dirPath = !folder ? Text(u".") : folder->empty() ? Text(1, kSeparator) : *folder;
        Directory dir(dirPath);
        if (const int error = dir.openError()) {
            if (error == ENOENT || error == ENOTDIR) {
                return;  // no folder, so no file matches
            }
            fail(error, dirPath, FileAction::List);
        }
        visitEntries(dir, GetFileName(pattern, kSeparator), S_IFREG, visit);
    }

    std::vector<Text> listFolders(const Text& folder) override {
        Directory dir(folder);
        if (const int error = dir.openError()) {
            if (error == ENOENT) {
                throw RuntimeError(err::PathNotFound, folder, FileAction::List,
                                   SystemCode::ofErrno(error));
            }
            fail(error, folder, FileAction::List);
        }
        auto names = listEntries(dir, u"*", S_IFDIR);
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string encodeAnsi(const Text& text) const override {
        return encodeForCodeset(text, kScriptCodeset);
    }

  private:
    bool kernelCopy_;
    bool unnamedStaging_;
    KernelCopy kernel_;
};

}  // namespace

std::unique_ptr<StagedFile> PosixFileSystem::createStaged(const Text& target) {
    return std::make_unique<PosixStaged>(target, unnamedStaging_);
}

std::unique_ptr<FileSystem> makePosixFileSystem(bool kernelCopy, bool unnamedStaging) {
    return std::make_unique<PosixFileSystem>(kernelCopy, unnamedStaging);
}

std::unique_ptr<FileSystem> makeNativeFileSystem() {
    return makePosixFileSystem(true);
}

}  // namespace tessark

#endif
