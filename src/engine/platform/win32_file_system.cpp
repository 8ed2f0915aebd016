// SPDX-License-Identifier: MIT
#include "engine/platform/win32_file_system.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <utility>

#include "engine/core/runtime_error.h"
#include "engine/core/wildcard.h"
#include "engine/platform/device_names.h"
#include "engine/platform/native_file_system.h"
#include "engine/platform/win32_error_map.h"

namespace tessark {
namespace {

// UTF-16 text is what the wide Win32 calls take, unit for unit.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring wide(TextView text) {
    std::wstring out(text.size(), L'\0');
    std::transform(text.begin(), text.end(), out.begin(),
                   [](char16_t c) { return static_cast<wchar_t>(c); });
    return out;
}

Text fromWide(const wchar_t* text) {
    Text out;
    for (; *text != L'\0'; ++text) {
        out += static_cast<char16_t>(*text);
    }
    return out;
}

[[noreturn]] void raiseLastError(const Text& path, FileAction action) {
    raiseWin32(GetLastError(), path, action);
}

bool isSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

// Names this long reach the system whole only in the "\\?\" form (the limit
// is MAX_PATH with its NUL, less room for an 8.3 name in a folder's case).
constexpr std::size_t kLongPath = MAX_PATH - 12;

// The name Win32 is given for `path`. A bare drive "X:" means that drive's
// current folder to Win32; to the user it names the drive's root. A long name
// is made absolute and normal (the "\\?\" form takes it literally) and given
// that prefix.
std::wstring pathOf(const Text& path) {
    std::wstring out = wide(path);
    if (out.size() == 2 && out[1] == L':') {
        out += L'\\';
    }
    if (out.size() < kLongPath || out.starts_with(L"\\\\?\\")) {
        return out;
    }
    std::wstring full(out.size() + MAX_PATH, L'\0');
    const DWORD length =
        GetFullPathNameW(out.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) {
        return out;  // the call that uses it reports the failure
    }
    full.resize(length);
    if (full.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

// `folder` joined with `name`, without doubling a separator the folder already
// ends with.
Text joinPath(const Text& folder, const Text& name) {
    if (folder.empty()) {
        return name;
    }
    return isSeparator(folder.back()) ? folder + name : folder + u'\\' + name;
}

bool meansAbsent(DWORD code) {
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
}

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

// The attributes of whatever is at `path`, nothing when there is nothing.
std::optional<DWORD> attributesOf(const Text& path) {
    const DWORD attributes = GetFileAttributesW(pathOf(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        return attributes;
    }
    const DWORD code = GetLastError();
    if (meansAbsent(code)) {
        return std::nullopt;
    }
    raiseWin32(code, path, FileAction::LookUp);
}

bool isFolder(const Text& path) noexcept {
    const DWORD attributes = GetFileAttributesW(pathOf(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A file was expected at `path`: Windows refuses a folder with "access
// denied", which here is a path/file access error, not a protected file.
[[noreturn]] void raiseOpenFailure(const Text& path, FileAction action) {
    const DWORD code = GetLastError();
    if (code == ERROR_ACCESS_DENIED && isFolder(path)) {
        throw RuntimeError(err::PathFileAccess, path, action, SystemCode::ofWin32(code));
    }
    raiseWin32(code, path, action);
}

OVERLAPPED at(std::int64_t offset) {
    OVERLAPPED overlapped{};
    overlapped.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset) & 0xFFFFFFFFu);
    overlapped.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
    return overlapped;
}

// ReadFile and WriteFile take 32-bit counts; larger requests go in steps.
constexpr std::size_t kMaxStep = std::size_t{1} << 30;

DWORD stepOf(std::size_t remaining) {
    return static_cast<DWORD>(std::min(remaining, kMaxStep));
}

FileId idOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return {info.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// The identity of an open file.
FileId idOfHandle(HANDLE handle, const Text& path) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) {
        raiseLastError(path, FileAction::LookUp);
    }
    return idOf(info);
}

class Win32InputFile final : public InputFile {
  public:
    Win32InputFile(HANDLE handle, Text path) : handle_(handle), path_(std::move(path)) {}

    FileId id() const override { return idOfHandle(handle_.get(), path_); }

    std::size_t readAt(std::int64_t offset, std::span<std::byte> buffer) override {
        std::size_t done = 0;
        while (done < buffer.size()) {
            OVERLAPPED where = at(offset + static_cast<std::int64_t>(done));
            DWORD got = 0;
            if (!ReadFile(handle_.get(), buffer.data() + done, stepOf(buffer.size() - done), &got,
                          &where)) {
                const DWORD code = GetLastError();
                if (code == ERROR_HANDLE_EOF) {
                    break;
                }
                raiseWin32(code, path_, FileAction::Read);
            }
            if (got == 0) {
                break;
            }
            done += got;
        }
        return done;
    }

  private:
    Handle handle_;
    Text path_;
};

class Win32OutputFile final : public OutputFile {
  public:
    Win32OutputFile(HANDLE handle, Text path) : handle_(handle), path_(std::move(path)) {}
    HANDLE get() const { return handle_.get(); }

    void writeAt(std::int64_t offset, std::span<const std::byte> data) override {
        while (!data.empty()) {
            OVERLAPPED where = at(offset);
            DWORD written = 0;
            if (!WriteFile(handle_.get(), data.data(), stepOf(data.size()), &written, &where)) {
                raiseLastError(path_, FileAction::Write);
            }
            if (written == 0) {
                // No progress and no reason given.
                throw RuntimeError(err::DeviceIo, path_, FileAction::Write);
            }
            data = data.subspan(written);
            offset += written;
        }
    }

    void close() override {
        const HANDLE handle = handle_.release();
        if (handle != INVALID_HANDLE_VALUE && !CloseHandle(handle)) {
            raiseLastError(path_, FileAction::Close);
        }
    }

  private:
    Handle handle_;
    Text path_;
};

// The identity of what is at `path`; nothing when nothing is there, or a
// device or pipe, which has no file identity (and is never a file being cut).
std::optional<BY_HANDLE_FILE_INFORMATION> identityOf(const Text& path) {
    // Reading attributes only: this works even on a file another program
    // holds without sharing.
    Handle file(CreateFileW(pathOf(path).c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (meansAbsent(code)) {
            return std::nullopt;
        }
        raiseWin32(code, path, FileAction::LookUp);
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info)) {
        raiseLastError(path, FileAction::LookUp);
    }
    return info;
}

Text upper(Text text) {
    if (!text.empty()) {
        std::wstring w = wide(text);
        CharUpperBuffW(w.data(), static_cast<DWORD>(w.size()));
        std::transform(w.begin(), w.end(), text.begin(),
                       [](wchar_t c) { return static_cast<char16_t>(c); });
    }
    return text;
}

// Calls `visit` with every entry FindFirstFileW finds for `pattern`; a pattern
// that matches nothing, or whose folder does not exist, visits nothing.
template <typename Visit>
void forEachEntry(const Text& pattern, Visit visit) {
    WIN32_FIND_DATAW data{};
    const HANDLE first = FindFirstFileExW(pathOf(pattern).c_str(), FindExInfoBasic, &data,
                                          FindExSearchNameMatch, nullptr, 0);
    if (first == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (meansAbsent(code) || code == ERROR_NO_MORE_FILES) {
            return;
        }
        raiseWin32(code, pattern, FileAction::List);
    }
    const FindHandle find(first);
    do {
        visit(data);
    } while (FindNextFileW(find.get(), &data));
    if (const DWORD code = GetLastError(); code != ERROR_NO_MORE_FILES) {
        raiseWin32(code, pattern, FileAction::List);
    }
}

std::string encodeUtf8(const Text& text) {
    // The UTF-8 code page has no default character; lone surrogates, which
    // have no UTF-8 form, become "?" here instead.
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            out += toUtf8(TextView(text).substr(i, 2));
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            out += '?';
        } else {
            out += toUtf8(TextView(&text[i], 1));
        }
    }
    return out;
}

// Encodes `units` into `codePage`; returns nothing when a character had to be
// replaced or the call failed.
std::optional<std::string> encodeExactly(UINT codePage, const wchar_t* units, int count) {
    DWORD flags = WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    int size = WideCharToMultiByte(codePage, flags, units, count, nullptr, 0, "?", &usedDefault);
    if (size == 0 && GetLastError() == ERROR_INVALID_FLAGS) {
        flags = 0;  // code pages without best-fit tables refuse the flag
        size = WideCharToMultiByte(codePage, flags, units, count, nullptr, 0, "?", &usedDefault);
    }
    if (size <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string out(static_cast<std::size_t>(size), '\0');
    if (WideCharToMultiByte(codePage, flags, units, count, out.data(), size, "?", &usedDefault) !=
            size ||
        usedDefault) {
        return std::nullopt;
    }
    return out;
}

// A device name is refused before anything is opened: it would reach a
// console, a port or the null device, never a file of the set.
void refuseDevice(const Text& path, FileAction action) {
    if (namesWindowsDevice(path)) {
        throw RuntimeError(err::DeviceUnavailable, path, action, ErrorCause::NotRegularFile);
    }
}

}  // namespace

// A device is something there that is not a file (the system reports
// attributes for some, not for others).
bool Win32FileSystem::fileExists(const Text& path) {
    if (namesWindowsDevice(path)) {
        return false;
    }
    const auto attributes = attributesOf(path);
    return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::isDeviceName(const Text& path) const {
    return namesWindowsDevice(path);
}

bool Win32FileSystem::folderExists(const Text& path) {
    return namesWindowsDevice(path) || attributesOf(path).has_value();
}

FileKind Win32FileSystem::kind(const Text& path) {
    const auto attributes = attributesOf(path);
    if (!attributes) {
        return FileKind::None;
    }
    if ((*attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return FileKind::Folder;
    }
    // A link's own attributes: what it leads to must be a file on a disk.
    if ((*attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && !identityOf(path)) {
        return FileKind::Other;
    }
    return FileKind::Regular;
}

std::int64_t Win32FileSystem::fileLength(const Text& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(pathOf(path).c_str(), GetFileExInfoStandard, &data)) {
        raiseLastError(path, FileAction::LookUp);
    }
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw RuntimeError(err::PathFileAccess, path, FileAction::Measure, ErrorCause::Folder);
    }
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                                     data.nFileSizeLow);
}

bool Win32FileSystem::sameFile(const Text& a, const Text& b) {
    const auto first = fileId(a);
    return first && first == fileId(b);
}

std::optional<FileId> Win32FileSystem::fileId(const Text& path) {
    const auto info = identityOf(path);
    if (!info) {
        return std::nullopt;
    }
    return idOf(*info);
}

std::unique_ptr<InputFile> Win32FileSystem::openRead(const Text& path) {
    refuseDevice(path, FileAction::Open);
    // Others may read along, but not change the file while it is being cut or
    // joined.
    const HANDLE handle = CreateFileW(pathOf(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        raiseOpenFailure(path, FileAction::Open);
    }
    return std::make_unique<Win32InputFile>(handle, path);
}

std::unique_ptr<OutputFile> Win32FileSystem::createFile(const Text& path,
                                                        std::optional<FileId> mustNotBe) {
    // OPEN_ALWAYS and then cutting the file to nothing, rather than
    // CREATE_ALWAYS, which refuses an existing hidden or system file; the cut
    // comes only after the open file is known not to be the protected one.
    // Devices and pipes have no length to cut (a device name never gets
    // here; a host's device under wine, which tests use, does).
    refuseDevice(path, FileAction::Create);
    const HANDLE handle =
        CreateFileW(pathOf(path).c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        raiseOpenFailure(path, FileAction::Create);
    }
    auto file = std::make_unique<Win32OutputFile>(handle, path);
    const DWORD type = GetFileType(handle);
    if (type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE) {
        return file;
    }
    if (mustNotBe && idOfHandle(handle, path) == *mustNotBe) {
        throw RuntimeError(err::PermissionDenied, path, FileAction::Overwrite,
                           ErrorCause::IsTheSource);
    }
    if (!SetEndOfFile(handle)) {
        raiseLastError(path, FileAction::Empty);
    }
    return file;
}

namespace {

// Where the content of `target` really lives: the file a symbolic link leads
// to (a Windows link, or a host's link that the system follows silently), so
// that replacing it keeps the link. A name with nothing behind it, or that the
// system cannot resolve while it is no link, is its own place.
Text realTarget(const Text& target) {
    const auto attributes = attributesOf(target);
    if (!attributes) {
        return target;
    }
    const bool isLink = (*attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    const Handle file(CreateFileW(pathOf(target).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (meansAbsent(code)) {
            return target;  // a link that leads nowhere is replaced itself
        }
        raiseWin32(code, target, FileAction::Resolve);
    }
    std::wstring real(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFinalPathNameByHandleW(file.get(), real.data(), static_cast<DWORD>(real.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            if (isLink) {
                raiseLastError(target, FileAction::Resolve);
            }
            return target;  // e.g. a share without a drive letter
        }
        if (length < real.size()) {
            real.resize(length);
            return Text(real.begin(), real.end());
        }
        real.resize(length + 1);
    }
}

// A staging file is in use while some handle holds this lock on one byte far
// beyond any content; the system lets go of it when its process ends, even
// when it is killed.
constexpr std::int64_t kLockOffset = std::int64_t{0x7FFFFFFF} << 32;

bool lockStaging(HANDLE file, DWORD flags) {
    OVERLAPPED place = at(kLockOffset);
    return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | flags, 0, 1, 0, &place) != 0;
}

bool deletePending(HANDLE file) {
    FILE_STANDARD_INFO info{};
    return GetFileInformationByHandleEx(file, FileStandardInfo, &info, sizeof(info)) != 0 &&
           info.DeletePending != FALSE;
}

// "~tessark" + digits + "-" + digits + ".tmp", as createTempFile names them.
bool isStagingName(const Text& name) {
    const Text head = u"~tessark";
    const Text tail = u".tmp";
    if (name.size() <= head.size() + tail.size() || !name.starts_with(head) ||
        !name.ends_with(tail)) {
        return false;
    }
    const Text middle = name.substr(head.size(), name.size() - head.size() - tail.size());
    const auto dash = middle.find(u'-');
    const auto digits = [](const Text& part) {
        return !part.empty() && part.find_first_not_of(u"0123456789") == Text::npos;
    };
    return dash != Text::npos && digits(middle.substr(0, dash)) && digits(middle.substr(dash + 1));
}

// New content for a file, written to a named temporary file beside the
// target's real place and moved over it on commit. A second handle holds the
// staging lock until the file has moved, so that no other merge takes it for
// abandoned in between.
class Win32Staged final : public StagedFile {
  public:
    Win32Staged(Win32FileSystem& fs, const Text& target)
        : fs_(fs), target_(target), real_(realTarget(target)) {
        const Text folder = folderToLookUp(real_, u'\\').value_or(Text(u"."));
        fs_.removeAbandonedStaging(folder);
        for (;;) {
            file_ = fs_.createTempFile(folder, temp_);
            lock_ = CreateFileW(pathOf(temp_).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (lock_ == INVALID_HANDLE_VALUE) {
                const DWORD code = GetLastError();
                file_.reset();
                fs_.removeFile(temp_);
                raiseWin32(code, target_, FileAction::Stage);
            }
            // Another merge's clean-up may have taken it for abandoned in the
            // moment before it was locked: then it goes, and another is made.
            // Where the file system has no locks, nobody cleans up either.
            if (!lockStaging(lock_, 0) || !deletePending(lock_)) {
                return;
            }
            CloseHandle(std::exchange(lock_, INVALID_HANDLE_VALUE));
            file_.reset();
        }
    }
    ~Win32Staged() override {
        if (!committed_) {
            file_.reset();
            fs_.removeFile(temp_);
        }
        if (lock_ != INVALID_HANDLE_VALUE) {
            CloseHandle(lock_);
        }
    }
    Win32Staged(const Win32Staged&) = delete;
    Win32Staged& operator=(const Win32Staged&) = delete;

    void writeAt(std::int64_t offset, std::span<const std::byte> data) override {
        file_->writeAt(offset, data);
    }
    void close() override { file_->close(); }
    void commit() override {
        file_->close();
        try {
            fs_.replaceFile(temp_, real_);
        } catch (const RuntimeError& e) {
            // Said about the name the caller knows.
            throw e.about(target_);
        }
        committed_ = true;
        CloseHandle(std::exchange(lock_, INVALID_HANDLE_VALUE));  // the output is no staging file
    }

  private:
    Win32FileSystem& fs_;
    Text target_;
    Text real_;
    Text temp_;
    std::unique_ptr<OutputFile> file_;
    HANDLE lock_ = INVALID_HANDLE_VALUE;
    bool committed_ = false;
};

}  // namespace

void Win32FileSystem::removeAbandonedStaging(const Text& folder) noexcept {
    try {
        forEachEntry(joinPath(folder, u"~tessark*.tmp"), [&](const WIN32_FIND_DATAW& entry) {
            const Text name = fromWide(entry.cFileName);
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !isStagingName(name)) {
                return;
            }
            const Handle file(
                CreateFileW(pathOf(joinPath(folder, name)).c_str(), GENERIC_READ | DELETE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
            // Locked: a merge is writing it. Unlocked: its merge was killed.
            if (file.get() != INVALID_HANDLE_VALUE &&
                lockStaging(file.get(), LOCKFILE_FAIL_IMMEDIATELY)) {
                FILE_DISPOSITION_INFO gone{TRUE};
                SetFileInformationByHandle(file.get(), FileDispositionInfo, &gone, sizeof(gone));
            }
        });
    } catch (...) {
        // A folder that cannot be listed has nothing to clean up.
    }
}

std::unique_ptr<StagedFile> Win32FileSystem::createStaged(const Text& target) {
    refuseDevice(target, FileAction::Replace);
    return std::make_unique<Win32Staged>(*this, target);
}

std::unique_ptr<OutputFile> Win32FileSystem::createTempFile(const Text& folder, Text& path) {
    static std::atomic<unsigned> counter{0};
    const Text stem = u"~tessark" + decimal(GetCurrentProcessId()) + u"-";
    constexpr int kAttempts = 1000;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const Text candidate = joinPath(folder, stem + decimal(counter++) + u".tmp");
        // Sharing deletion lets the finished file be moved into place while
        // it is still open, as other systems allow.
        const HANDLE handle = CreateFileW(pathOf(candidate).c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            path = candidate;
            return std::make_unique<Win32OutputFile>(handle, candidate);
        }
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
            raiseWin32(code, candidate, FileAction::Create);
        }
    }
    throw RuntimeError(err::PathFileAccess, folder, FileAction::CreateTemporaryIn);
}

void Win32FileSystem::replaceFile(const Text& from, const Text& to) {
    // Windows refuses to replace a read-only file; saying so here as well
    // keeps that true on file systems that would let it go.
    if (const auto attributes = attributesOf(to);
        attributes && (*attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        throw RuntimeError(err::PermissionDenied, to, FileAction::Replace,
                           SystemCode::ofWin32(ERROR_ACCESS_DENIED));
    }
    if (!MoveFileExW(pathOf(from).c_str(), pathOf(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        raiseOpenFailure(to, FileAction::Replace);
    }
}

void Win32FileSystem::removeFile(const Text& path) noexcept {
    DeleteFileW(pathOf(path).c_str());
}

std::vector<Text> Win32FileSystem::findFiles(const Text& pattern) {
    std::vector<Text> names;
    forEachFile(pattern, [&](Text&& name) { names.push_back(std::move(name)); });
    return names;
}

void Win32FileSystem::forEachFile(const Text& pattern, const std::function<void(Text&&)>& visit) {
    // FindFirstFileW also matches generated short names and reads "*.*" as
    // "*"; its result is filtered again on the long name so that the pattern
    // means the same here as on every other file system, save for case.
    const std::size_t cut = pattern.find_last_of(u"\\/:");
    const Text namePattern = upper(cut == Text::npos ? pattern : pattern.substr(cut + 1));
    forEachEntry(pattern, [&](const WIN32_FIND_DATAW& entry) {
        constexpr DWORD kNotOrdinary =
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if ((entry.dwFileAttributes & kNotOrdinary) != 0) {
            return;
        }
        Text name = fromWide(entry.cFileName);
        if (wildcardMatch(namePattern, upper(name))) {
            visit(std::move(name));
        }
    });
}

std::vector<Text> Win32FileSystem::listFolders(const Text& folder) {
    std::vector<Text> names;
    const Text root = folder.size() == 2 && folder[1] == u':' ? folder + u'\\' : folder;
    forEachEntry(joinPath(root, u"*"), [&](const WIN32_FIND_DATAW& entry) {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            return;
        }
        Text name = fromWide(entry.cFileName);
        if (name != u"." && name != u"..") {
            names.push_back(std::move(name));
        }
    });
    return names;
}

std::string Win32FileSystem::encodeAnsi(const Text& text) const {
    if (text.empty()) {
        return {};
    }
    const UINT codePage = GetACP();
    if (codePage == CP_UTF8) {
        return encodeUtf8(text);
    }
    const std::wstring units = wide(text);
    if (auto whole = encodeExactly(codePage, units.data(), static_cast<int>(units.size()))) {
        return *whole;
    }
    // Something could not be encoded: go character by character so that each
    // such character, a surrogate pair included, becomes exactly one "?".
    std::string out;
    for (std::size_t i = 0; i < units.size();) {
        const bool pair = units[i] >= 0xD800 && units[i] <= 0xDBFF && i + 1 < units.size() &&
                          units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF;
        const int count = pair ? 2 : 1;
        if (auto one = encodeExactly(codePage, units.data() + i, count)) {
            out += *one;
        } else {
            out += '?';
        }
        i += static_cast<std::size_t>(count);
    }
    return out;
}

std::unique_ptr<FileSystem> makeNativeFileSystem() {
    return std::make_unique<Win32FileSystem>();
}

}  // namespace tessark
