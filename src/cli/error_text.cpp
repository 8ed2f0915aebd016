// SPDX-License-Identifier: MIT
#include "cli/error_text.h"

#include <cstring>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tessark::cli {

namespace {

#ifdef _WIN32
std::string win32Words(std::int64_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr) {
        return {};
    }
    Text text(reinterpret_cast<const char16_t*>(buffer), length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) {
        text.pop_back();
    }
    return toUtf8(text);
}
#else
// Windows codes reach a POSIX build only from a test double.
std::string win32Words(std::int64_t code) {
    return "system error " + std::to_string(code);
}
#endif

std::string causeWords(ErrorCause cause) {
    switch (cause) {
        case ErrorCause::None:
            return {};
        case ErrorCause::NotRegularFile:
            return "not a regular file";
        case ErrorCause::Folder:
            return "it is a folder";
        case ErrorCause::IsTheSource:
            return "it is the file being read";
    }
    return {};
}

}  // namespace

std::string errorNumberMeaning(int number) {
    switch (number) {
        case err::InvalidArgument:
            return "Invalid procedure call or argument";
        case err::Overflow:
            return "Overflow";
        case err::OutOfMemory:
            return "Out of memory";
        case err::DivisionByZero:
            return "Division by zero";
        case err::InternalError:
            return "Internal error";
        case err::BadFileName:
            return "Bad file name or number";
        case err::FileNotFound:
            return "File not found";
        case err::FileAlreadyOpen:
            return "File already open";
        case err::DeviceIo:
            return "Device I/O error";
        case err::FileExists:
            return "File already exists";
        case err::DiskFull:
            return "Disk full";
        case err::TooManyFiles:
            return "Too many files";
        case err::DeviceUnavailable:
            return "Device unavailable";
        case err::PermissionDenied:
            return "Permission denied";
        case err::DiskNotReady:
            return "Disk not ready";
        case err::PathFileAccess:
            return "Path/File access error";
        case err::PathNotFound:
            return "Path not found";
        default:
            return "run-time error " + std::to_string(number);
    }
}

std::string actionWords(FileAction action) {
    switch (action) {
        case FileAction::None:
            return {};
        case FileAction::Use:
            return "use";
        case FileAction::Open:
            return "open";
        case FileAction::Create:
            return "create";
        case FileAction::CreateTemporaryIn:
            return "create a temporary file in";
        case FileAction::Read:
            return "read";
        case FileAction::Write:
            return "write";
        case FileAction::Close:
            return "close";
        case FileAction::Empty:
            return "empty";
        case FileAction::Overwrite:
            return "overwrite";
        case FileAction::Replace:
            return "replace";
        case FileAction::Stage:
            return "stage";
        case FileAction::Resolve:
            return "resolve";
        case FileAction::LookUp:
            return "look up";
        case FileAction::Measure:
            return "measure";
        case FileAction::List:
            return "list";
    }
    return {};
}

std::string systemWords(const SystemCode& code) {
    switch (code.origin) {
        case SystemCode::Origin::None:
            return {};
        case SystemCode::Origin::Errno:
            return std::strerror(static_cast<int>(code.value));
        case SystemCode::Origin::Win32:
            return win32Words(code.value);
    }
    return {};
}

std::string describe(const RuntimeError& error) {
    std::string why = causeWords(error.cause());
    if (why.empty()) {
        why = systemWords(error.systemCode());
    }
    if (why.empty()) {
        why = errorNumberMeaning(error.number());
    }
    if (error.path().empty()) {
        return why;
    }
    const std::string quoted = "'" + toUtf8(error.path()) + "'";
    const std::string action = actionWords(error.action());
    return (action.empty() ? quoted : "cannot " + action + " " + quoted) + ": " + why;
}

}  // namespace tessark::cli
