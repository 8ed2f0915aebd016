// SPDX-License-Identifier: MIT
// Every failing file or drive operation stops the action that runs it with a
// run-time error number; the action's one error trap turns the number into a
// report.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>

#include "engine/core/text.h"

namespace tessark {

namespace err {
inline constexpr int InvalidArgument = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int DivisionByZero = 11;
inline constexpr int InternalError = 51;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int FileAlreadyOpen = 55;
inline constexpr int DeviceIo = 57;
inline constexpr int FileExists = 58;
inline constexpr int DiskFull = 61;
inline constexpr int TooManyFiles = 67;
inline constexpr int DeviceUnavailable = 68;
inline constexpr int PermissionDenied = 70;
inline constexpr int DiskNotReady = 71;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
}  // namespace err

// Besides its number, an error may say which file it concerns, what was being
// done to it ("write", "open"...) and the operating system's own words for
// what went wrong (UTF-8), for diagnostics; the window shows only the number's
// message.
class RuntimeError : public std::runtime_error {
  public:
    explicit RuntimeError(int number, Text path = {}, std::string reason = {},
                          std::string action = {});
    int number() const noexcept { return number_; }
    const Text& path() const noexcept { return path_; }
    const std::string& reason() const noexcept { return reason_; }
    const std::string& action() const noexcept { return action_; }

    // One English line: "cannot write '/x/m.003': No space left on device";
    // without a path the reason alone; without a reason the number's meaning.
    std::string describe() const;

  private:
    int number_;
    Text path_;
    std::string reason_;
    std::string action_;
};

// The English meaning of a run-time error number ("Disk full" for 61).
std::string errorNumberMeaning(int number);

[[noreturn]] void raise(int number);

// The run-time error number of the exception being handled: its own number for
// a RuntimeError, 7 for exhausted memory, 51 for anything else. Call it only
// inside a catch block.
int currentErrorNumber() noexcept;

}  // namespace tessark
