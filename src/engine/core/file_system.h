// SPDX-License-Identifier: MIT
// The disk as the engine sees it. Every failure is thrown as a RuntimeError
// whose number follows the meanings of the disk error table; the native
// implementations do that mapping in one place each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/core/text.h"

namespace tessark {

// What a file is, whatever name reaches it: device and inode on POSIX, volume
// serial number and file index on Windows. Two names with the same identity
// (hard links, symbolic links, other spellings) are one file.
struct FileId {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};

// What a name reaches, following links.
enum class FileKind {
    None,     // nothing at all
    Regular,  // an ordinary file
    Folder,
    Other  // a device, a FIFO, a socket, or a link that leads nowhere
};

class InputFile {
  public:
    virtual ~InputFile() = default;
    // The identity of the open file.
    virtual FileId id() const = 0;
    // Reads up to buffer.size() bytes at `offset`; returns how many were read,
    // 0 at the end of the file.
    virtual std::size_t readAt(std::int64_t offset, std::span<std::byte> buffer) = 0;
};

class OutputFile {
  public:
    virtual ~OutputFile() = default;
    // Writes all of `data` at `offset` (short writes are retried) or throws.
    virtual void writeAt(std::int64_t offset, std::span<const std::byte> data) = 0;
    // Closes the file and reports any error the close brings to light. The
    // destructor closes a file that was not closed, silently.
    virtual void close() = 0;
};

// New content for a file that takes the file's place only when committed.
// Destroying it uncommitted leaves the file as it was and nothing else behind.
class StagedFile : public OutputFile {
  public:
    // Closes the new content (reporting any late write error) and puts it in
    // place of the target in one step.
    virtual void commit() = 0;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // "\" on Windows, "/" elsewhere.
    virtual char16_t separator() const = 0;

    // An ordinary file (not a folder) exists at `path`; hidden files count.
    virtual bool fileExists(const Text& path) = 0;
    // A folder or a file exists at `path`; hidden ones count.
    virtual bool folderExists(const Text& path) = 0;
    virtual std::int64_t fileLength(const Text& path) = 0;
    // Both paths name the same existing file (same device and file number).
    virtual bool sameFile(const Text& a, const Text& b) = 0;
    // The identity of the file at `path`, following links; nothing when no
    // file or folder is there.
    virtual std::optional<FileId> fileId(const Text& path) = 0;
    // What is at `path`, without opening it: a FIFO or a device is told from
    // a file before anything reads it.
    virtual FileKind kind(const Text& path) = 0;

    virtual std::unique_ptr<InputFile> openRead(const Text& path) = 0;
    // Creates the file, or empties an existing one. The file is opened without
    // emptying it and compared with `mustNotBe` first: when the name reaches
    // that file (a link made at any time before), error 70 is thrown and the
    // file keeps its bytes.
    virtual std::unique_ptr<OutputFile> createFile(
        const Text& path, std::optional<FileId> mustNotBe = std::nullopt) = 0;
    // New content for `target`, which need not exist yet. When `target` is a
    // symbolic link, the file it leads to is replaced and the link kept.
    virtual std::unique_ptr<StagedFile> createStaged(const Text& target) = 0;
    // Creates a new, uniquely named file in `folder` and returns its path in
    // `path`.
    virtual std::unique_ptr<OutputFile> createTempFile(const Text& folder, Text& path) = 0;
    // Moves `from` to `to`, replacing a file at `to` in one step.
    virtual void replaceFile(const Text& from, const Text& to) = 0;
    // Best effort: used to clean up after a failure, so it never throws.
    virtual void removeFile(const Text& path) noexcept = 0;
    // Removes from `folder` the staging files of merges that were killed
    // before their output took its place (a merge that runs holds its own);
    // createStaged does so in its folder by itself. Best effort, never throws.
    virtual void removeAbandonedStaging(const Text& folder) noexcept { static_cast<void>(folder); }

    // Names (without folder) of the ordinary, not hidden files matching a
    // wildcard pattern ("*" and "?") in its name part, in no particular order.
    virtual std::vector<Text> findFiles(const Text& pattern) = 0;
    // The same names handed to `visit` one at a time, so that a folder of any
    // size is walked without holding its names. The default lists them first;
    // a native file system walks the folder itself.
    virtual void forEachFile(const Text& pattern, const std::function<void(Text&&)>& visit);
    // Whether the system takes `path` for a device whatever the disk holds
    // (Windows' CON, NUL.001, \\.\...); such a name has no file identity.
    virtual bool isDeviceName(const Text& path) const {
        static_cast<void>(path);
        return false;
    }

    // Names of the subfolders of `folder`.
    virtual std::vector<Text> listFolders(const Text& folder) = 0;

    // `text` as Link.bat holds it: the system's ANSI code page on Windows,
    // code page 936 (GBK) elsewhere whatever the locale; a character that
    // cannot be encoded becomes "?".
    virtual std::string encodeAnsi(const Text& text) const = 0;

    // Moves up to `count` bytes from `in` at `inOffset` to `out` at `outOffset`
    // and returns how many were moved, 0 at the end of `in`. The default goes
    // through one reusable buffer; a native file system may do better.
    virtual std::int64_t transfer(InputFile& in, std::int64_t inOffset, OutputFile& out,
                                  std::int64_t outOffset, std::int64_t count);

  private:
    std::vector<std::byte> buffer_;
};

// The buffer of the read/write copy, small enough to stay in a core's cache
// between the read and the write. Measured on ext4 and tmpfs, 128 to 512 KiB
// did alike; with 1 MiB the write's copy out of the buffer ran at memory speed
// and a split on ext4 took up to twice the processor time.
inline constexpr std::size_t kCopyBufferSize = std::size_t{256} << 10;

}  // namespace tessark
