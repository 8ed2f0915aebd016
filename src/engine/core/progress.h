// SPDX-License-Identifier: MIT
// How a long run reports how far it has come and how a front end stops it.
#pragma once

#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>

namespace tessark {

class FileSystem;
class InputFile;
class OutputFile;

struct Progress {
    std::int64_t bytesDone = 0;
    std::int64_t bytesTotal = 0;
    std::int64_t piecesDone = 0;
    std::int64_t piecesTotal = 0;
};

// Called before each piece, once more when every piece is done, and after
// each chunk a long copy moves (at most a few MiB, so a front end that
// redraws throttles itself). Returning false asks the run to stop; it then
// leaves nothing partial behind.
using ProgressFn = std::function<bool(const Progress&)>;

enum class RunOutcome { Completed, Stopped };

// Asked between steps of a read that leaves nothing behind (a checksum file's
// parse): true ends it with ReadStopped. An empty one never stops.
using StopFn = std::function<bool()>;

class ReadStopped : public std::exception {
  public:
    const char* what() const noexcept override { return "ReadStopped"; }
};

// Lets a caller through at most a few times a second.
class Throttle {
  public:
    Throttle();
    bool due();

  private:
    std::chrono::steady_clock::time_point last_;
};

// Copies exactly `count` bytes, adding them to `progress.bytesDone` as they
// move and calling `report` after each chunk but the last. Returns false, with part of the
// bytes copied, when `report` asked to stop. Throws run-time error 57 when the
// input ends early.
bool copyBytes(FileSystem& fs, InputFile& in, std::int64_t inOffset, OutputFile& out,
               std::int64_t outOffset, std::int64_t count, Progress& progress,
               const ProgressFn& report);

}  // namespace tessark
