// SPDX-License-Identifier: MIT
// Every failing file or drive operation stops the action that runs it with a
// run-time error number; the action's one error trap turns the number into a
// report.
#pragma once

#include <exception>
#include <stdexcept>

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

class RuntimeError : public std::runtime_error {
  public:
    explicit RuntimeError(int number);
    int number() const noexcept { return number_; }

  private:
    int number_;
};

[[noreturn]] void raise(int number);

// The run-time error number of the exception being handled: its own number for
// a RuntimeError, 7 for exhausted memory, 51 for anything else. Call it only
// inside a catch block.
int currentErrorNumber() noexcept;

}  // namespace tessark
