// SPDX-License-Identifier: MIT
// Every failing file or drive operation stops the action that runs it with a
// run-time error number; the action's one error trap turns the number into a
// report.
#pragma once

#include <cstdint>
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

// What was being done to the file when it failed. The front ends word it.
enum class FileAction {
    None,
    Use,  // a name no file can have
    Open,
    Create,
    CreateTemporaryIn,  // the path is the folder
    Read,
    Write,
    Close,
    Empty,
    Overwrite,
    Replace,
    Stage,
    Resolve,
    LookUp,
    Measure,
    List,
};

// The operating system's own code for a failure: errno on POSIX, the
// GetLastError code on Windows. The front ends ask the system for its words.
struct SystemCode {
    enum class Origin { None, Errno, Win32 };
    Origin origin = Origin::None;
    std::int64_t value = 0;

    static SystemCode ofErrno(int error) { return {Origin::Errno, error}; }
    static SystemCode ofWin32(std::uint32_t code) { return {Origin::Win32, code}; }
};

// Why a call that the system would have let through was refused.
enum class ErrorCause {
    None,            // the system code, if any, says why
    NotRegularFile,  // a device, pipe or socket where a file was wanted
    Folder,          // a folder where a file was wanted
    IsTheSource,     // the output would be the file being read
};

// Besides its number, an error may say which file it concerns, what was being
// done to it and why, for diagnostics; the window shows only the number's
// message. what() is a technical tag ("RuntimeError 61"), not a sentence.
class RuntimeError : public std::runtime_error {
  public:
    explicit RuntimeError(int number, Text path = {}, FileAction action = FileAction::None,
                          SystemCode code = {});
    RuntimeError(int number, Text path, FileAction action, ErrorCause cause);
    int number() const noexcept { return number_; }
    const Text& path() const noexcept { return path_; }
    FileAction action() const noexcept { return action_; }
    const SystemCode& systemCode() const noexcept { return code_; }
    ErrorCause cause() const noexcept { return cause_; }

    // The same error about another file.
    RuntimeError about(Text path) const;

  private:
    int number_;
    Text path_;
    FileAction action_;
    SystemCode code_;
    ErrorCause cause_ = ErrorCause::None;
};

[[noreturn]] void raise(int number);

// The run-time error number of the exception being handled: its own number for
// a RuntimeError, 7 for exhausted memory, 51 for anything else. Call it only
// inside a catch block.
int currentErrorNumber() noexcept;

}  // namespace tessark
