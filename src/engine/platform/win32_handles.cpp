// SPDX-License-Identifier: MIT
// Open files: positioned reads and writes in steps Win32 can count, and the
// one way a failed call becomes a RuntimeError.
#include <algorithm>

#include "engine/platform/win32_error_map.h"
#include "engine/platform/win32_io.h"

namespace tessark::win32 {

namespace {

// ReadFile and WriteFile take 32-bit counts; larger requests go in steps.
constexpr std::size_t kMaxStep = std::size_t{1} << 30;

DWORD stepOf(std::size_t remaining) {
    return static_cast<DWORD>(std::min(remaining, kMaxStep));
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

}  // namespace

bool meansAbsent(DWORD code) {
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
}

[[noreturn]] void raiseLastError(const Text& path, FileAction action) {
    raiseWin32(GetLastError(), path, action);
}

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

std::unique_ptr<InputFile> openedInput(HANDLE handle, Text path) {
    return std::make_unique<Win32InputFile>(handle, std::move(path));
}

std::unique_ptr<OutputFile> openedOutput(HANDLE handle, Text path) {
    return std::make_unique<Win32OutputFile>(handle, std::move(path));
}

}  // namespace tessark::win32
