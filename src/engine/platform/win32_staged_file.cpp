// SPDX-License-Identifier: MIT
// New content for a file on Windows: a named temporary file beside the
// target's real place, locked while it is written and moved over the target on
// commit; staging files whose merge was killed are cleaned up by the next.
#include <atomic>
#include <memory>
#include <utility>

#include "engine/platform/win32_error_map.h"
#include "engine/platform/win32_file_system.h"
#include "engine/platform/win32_io.h"

namespace tessark {

using win32::at;
using win32::attributesOf;
using win32::forEachEntry;
using win32::fromWide;
using win32::Handle;
using win32::joinPath;
using win32::meansAbsent;
using win32::pathOf;
using win32::raiseLastError;
using win32::refuseDevice;

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
            return win32::openedOutput(handle, candidate);
        }
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
            raiseWin32(code, candidate, FileAction::Create);
        }
    }
    throw RuntimeError(err::PathFileAccess, folder, FileAction::CreateTemporaryIn);
}

}  // namespace tessark
