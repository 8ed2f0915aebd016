// SPDX-License-Identifier: MIT
// An in-memory file system with Windows-style or POSIX-style paths, fault
// injection by operation and path, a capacity for "disk full", and a count of
// open handles so tests can prove that nothing is left open.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/core/file_system.h"

namespace tessark::test {

class FakeFileSystem : public FileSystem {
  public:
    enum class Op {
        Exists,
        Length,
        OpenRead,
        Read,
        Create,
        Write,
        Close,
        Replace,
        Find,
        ListFolders
    };

    explicit FakeFileSystem(char16_t separator = u'\\') : separator_(separator) {}

    void addFolder(const Text& path);  // and its parents
    void addFile(const Text& path, std::string bytes, bool hidden = false);
    // A second name for the file at `existing`: both reach the same bytes.
    void addHardLink(const Text& existing, const Text& link);
    // A name that leads to `target` (a file or a folder, an absolute path),
    // followed by every operation that follows links, also as a folder on the
    // way to a file.
    void addSymlink(const Text& link, const Text& target);
    bool isSymlink(const Text& path) const { return symlinks_.count(path) != 0; }
    // `path` with every symbolic link on the way replaced by its target.
    Text resolve(const Text& path) const;
    std::optional<std::string> contents(const Text& path) const;
    bool has(const Text& path) const { return files_.count(path) != 0; }
    void remove(const Text& path) { files_.erase(path); }
    std::vector<Text> allFiles() const;

    // The next matching operation on `path` (any path when empty) fails with
    // `number`, after `skip` matching operations have succeeded.
    void injectFault(Op op, const Text& path, int number, int skip = 0);
    // Writes that would make the files hold more than `bytes` in all fail with 61.
    void setCapacity(std::int64_t bytes) { capacity_ = bytes; }
    // findFiles returns its names in descending order, as a directory might.
    void setListingDescending(bool descending) { descending_ = descending; }
    int openHandles() const { return openHandles_; }
    // Each read, and so each copy's step whether it hashes or not, moves at
    // most this many bytes (none: no limit), after running `beforeTransfer`: a long run reports
    // between chunks, and a test can act, or wait, at each.
    std::int64_t chunk = 0;
    std::function<void()> beforeTransfer;

    char16_t separator() const override { return separator_; }
    bool fileExists(const Text& path) override;
    bool folderExists(const Text& path) override;
    std::int64_t fileLength(const Text& path) override;
    bool sameFile(const Text& a, const Text& b) override;
    std::unique_ptr<InputFile> openRead(const Text& path) override;
    std::optional<FileId> fileId(const Text& path) override;
    FileKind kind(const Text& path) override;
    std::unique_ptr<OutputFile> createFile(const Text& path,
                                           std::optional<FileId> mustNotBe = std::nullopt) override;
    std::unique_ptr<StagedFile> createStaged(const Text& target) override;
    std::unique_ptr<OutputFile> createTempFile(const Text& folder, Text& path) override;
    void replaceFile(const Text& from, const Text& to) override;
    void removeFile(const Text& path) noexcept override;
    std::vector<Text> findFiles(const Text& pattern) override;
    std::vector<Text> listFolders(const Text& folder) override;
    std::string encodeAnsi(const Text& text) const override;

    struct Entry {
        std::string bytes;
        bool hidden = false;
        std::uint64_t index = 0;  // the file number, unique in this file system
    };
    static FileId idOf(const Entry& entry) { return {1, entry.index}; }
    void checkFault(Op op, const Text& path);
    std::int64_t usedBytes() const;
    std::int64_t capacity() const { return capacity_; }
    std::map<Text, std::shared_ptr<Entry>>& files() { return files_; }
    int& openHandleCount() { return openHandles_; }

  private:
    struct Fault {
        Op op;
        Text path;
        int number;
        int skip;
    };
    char16_t separator_;
    std::shared_ptr<Entry> newEntry(std::string bytes, bool hidden = false);
    std::shared_ptr<Entry> find(const Text& path) const;

    std::map<Text, std::shared_ptr<Entry>> files_;
    std::map<Text, Text> symlinks_;
    std::uint64_t nextIndex_ = 1;
    std::set<Text> folders_;
    std::vector<Fault> faults_;
    std::int64_t capacity_ = -1;
    bool descending_ = false;
    int openHandles_ = 0;
    int tempCounter_ = 0;
};

// The in-memory file system moving at most `step` bytes a call, so that a
// copy reports several times inside one piece.
class ChunkyFileSystem : public FakeFileSystem {
  public:
    ChunkyFileSystem(char16_t separator, std::int64_t step) : FakeFileSystem(separator) {
        chunk = step;
    }
};

}  // namespace tessark::test
