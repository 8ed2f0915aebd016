// SPDX-License-Identifier: MIT
#include "engine/core/runtime_error.h"

#include <new>
#include <string>
#include <utility>

namespace tessark {

namespace {

std::string describeParts(int number, const Text& path, const std::string& reason,
                          const std::string& action) {
    const std::string why = reason.empty() ? errorNumberMeaning(number) : reason;
    if (path.empty()) {
        return why;
    }
    const std::string quoted = "'" + toUtf8(path) + "'";
    return (action.empty() ? quoted : "cannot " + action + " " + quoted) + ": " + why;
}

}  // namespace

RuntimeError::RuntimeError(int number, Text path, std::string reason, std::string action)
    : std::runtime_error(describeParts(number, path, reason, action)),
      number_(number),
      path_(std::move(path)),
      reason_(std::move(reason)),
      action_(std::move(action)) {}

std::string RuntimeError::describe() const {
    return what();
}

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

void raise(int number) {
    throw RuntimeError(number);
}

int currentErrorNumber() noexcept {
    try {
        throw;
    } catch (const RuntimeError& e) {
        return e.number();
    } catch (const std::bad_alloc&) {
        return err::OutOfMemory;
    } catch (...) {
        return err::InternalError;
    }
}

}  // namespace tessark
