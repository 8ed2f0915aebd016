// SPDX-License-Identifier: MIT
#include "engine/platform/win32_file_system.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <utility>

#include "engine/core/runtime_error.h"
#include "engine/core/wildcard.h"
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

[[noreturn]] void raiseLastError() {
    raiseWin32(GetLastError());
}

bool isSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

// A bare drive "X:" means that drive's current folder to Win32; to the user it
// names the drive's root.
std::wstring pathOf(const Text& path) {
    std::wstring out = wide(path);
    if (out.size() == 2 && out[1] == L':') {
        out += L'\\';
    }
    return out;
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
    raiseWin32(code);
}

bool isFolder(const Text& path) noexcept {
    const DWORD attributes = GetFileAttributesW(pathOf(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A file was expected at `path`: Windows refuses a folder with "access
// denied", which here is a path/file access error, not a protected file.
[[noreturn]] void raiseOpenFailure(const Text& path) {
    const DWORD code = GetLastError();
    if (code == ERROR_ACCESS_DENIED && isFolder(path)) {
        raise(err::PathFileAccess);
    }
    raiseWin32(code);
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
FileId idOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) {
        raiseLastError();
    }
    return idOf(info);
}

class Win32InputFile final : public InputFile {
  public:
    explicit Win32InputFile(HANDLE handle) : handle_(handle) {}

    FileId id() const override { return idOfHandle(handle_.get()); }

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
                raiseWin32(code);
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
};

class Win32OutputFile final : public OutputFile {
  public:
    explicit Win32OutputFile(HANDLE handle) : handle_(handle) {}
    HANDLE get() const { return handle_.get(); }

    void writeAt(std::int64_t offset, std::span<const std::byte> data) override {
        while (!data.empty()) {
            OVERLAPPED where = at(offset);
            DWORD written = 0;
            if (!WriteFile(handle_.get(), data.data(), stepOf(data.size()), &written, &where)) {
                raiseLastError();
            }
            if (written == 0) {
                raise(err::DeviceIo);  // no progress and no reason given
            }
            data = data.subspan(written);
            offset += written;
        }
    }

    void close() override {
        const HANDLE handle = handle_.release();
        if (handle != INVALID_HANDLE_VALUE && !CloseHandle(handle)) {
            raiseLastError();
        }
    }

  private:
    Handle handle_;
};

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
        raiseWin32(code);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info)) {
        raiseLastError();
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
    const HANDLE first = FindFirstFileExW(wide(pattern).c_str(), FindExInfoBasic, &data,
                                          FindExSearchNameMatch, nullptr, 0);
    if (first == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (meansAbsent(code) || code == ERROR_NO_MORE_FILES) {
            return;
        }
        raiseWin32(code);
    }
    const FindHandle find(first);
    do {
        visit(data);
    } while (FindNextFileW(find.get(), &data));
    if (const DWORD code = GetLastError(); code != ERROR_NO_MORE_FILES) {
        raiseWin32(code);
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

}  // namespace

bool Win32FileSystem::fileExists(const Text& path) {
    const auto attributes = attributesOf(path);
    return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::folderExists(const Text& path) {
    return attributesOf(path).has_value();
}

std::int64_t Win32FileSystem::fileLength(const Text& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(pathOf(path).c_str(), GetFileExInfoStandard, &data)) {
        raiseLastError();
    }
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        raise(err::PathFileAccess);
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
    // Others may read along, but not change the file while it is being cut or
    // joined.
    const HANDLE handle = CreateFileW(pathOf(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        raiseOpenFailure(path);
    }
    return std::make_unique<Win32InputFile>(handle);
}

std::unique_ptr<OutputFile> Win32FileSystem::createFile(const Text& path,
                                                        std::optional<FileId> mustNotBe) {
    // OPEN_ALWAYS and then cutting the file to nothing, rather than
    // CREATE_ALWAYS, which refuses an existing hidden or system file; the cut
    // comes only after the open file is known not to be the protected one.
    // Devices and pipes have no length to cut.
    const HANDLE handle =
        CreateFileW(pathOf(path).c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        raiseOpenFailure(path);
    }
    auto file = std::make_unique<Win32OutputFile>(handle);
    const DWORD type = GetFileType(handle);
    if (type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE) {
        return file;
    }
    if (mustNotBe && idOfHandle(handle) == *mustNotBe) {
        raise(err::PermissionDenied);
    }
    if (!SetEndOfFile(handle)) {
        raiseLastError();
    }
    return file;
}

namespace {

// New content for a file, written to a named temporary file beside the
// target's real place and moved over it on commit.
class Win32Staged final : public StagedFile {
  public:
    Win32Staged(Win32FileSystem& fs, Text target) : fs_(fs), target_(std::move(target)) {
        const auto folder = folderToLookUp(target_, u'\\');
        file_ = fs_.createTempFile(folder.value_or(Text(u".")), temp_);
    }
    ~Win32Staged() override {
        if (!committed_) {
            file_.reset();
            fs_.removeFile(temp_);
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
        fs_.replaceFile(temp_, target_);
        committed_ = true;
    }

  private:
    Win32FileSystem& fs_;
    Text target_;
    Text temp_;
    std::unique_ptr<OutputFile> file_;
    bool committed_ = false;
};

}  // namespace

std::unique_ptr<StagedFile> Win32FileSystem::createStaged(const Text& target) {
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
        const HANDLE handle =
            CreateFileW(wide(candidate).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            path = candidate;
            return std::make_unique<Win32OutputFile>(handle);
        }
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
            raiseWin32(code);
        }
    }
    raise(err::PathFileAccess);
}

void Win32FileSystem::replaceFile(const Text& from, const Text& to) {
    // Windows refuses to replace a read-only file; saying so here as well
    // keeps that true on file systems that would let it go.
    if (const auto attributes = attributesOf(to);
        attributes && (*attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        raise(err::PermissionDenied);
    }
    if (!MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_REPLACE_EXISTING)) {
        raiseOpenFailure(to);
    }
}

void Win32FileSystem::removeFile(const Text& path) noexcept {
    DeleteFileW(wide(path).c_str());
}

std::vector<Text> Win32FileSystem::findFiles(const Text& pattern) {
    // FindFirstFileW also matches generated short names and reads "*.*" as
    // "*"; its result is filtered again on the long name so that the pattern
    // means the same here as on every other file system, save for case.
    const std::size_t cut = pattern.find_last_of(u"\\/:");
    const Text namePattern = upper(cut == Text::npos ? pattern : pattern.substr(cut + 1));
    std::vector<Text> names;
    forEachEntry(pattern, [&](const WIN32_FIND_DATAW& entry) {
        constexpr DWORD kNotOrdinary =
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if ((entry.dwFileAttributes & kNotOrdinary) != 0) {
            return;
        }
        Text name = fromWide(entry.cFileName);
        if (wildcardMatch(namePattern, upper(name))) {
            names.push_back(std::move(name));
        }
    });
    return names;
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
