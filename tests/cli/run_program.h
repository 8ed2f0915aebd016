// SPDX-License-Identifier: MIT
// Runs tessark-cli as a real process, the same way on Linux (posix_spawn) and
// on Windows (CreateProcessW), with its standard output and error caught in
// files and its standard input empty.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tessark::test {

struct Finished {
    int status = -1;  // exit status; 128 + the signal's number when one ended it
    std::string out;  // what it wrote to standard output
    std::string err;  // ... and to standard error
};

// The program built beside the tests.
std::filesystem::path cliProgram();

// Runs the program with `arguments` (UTF-8) and waits for it. `scratch` holds
// the files that catch its output.
Finished runCli(const std::vector<std::string>& arguments, const std::filesystem::path& scratch);

#ifndef _WIN32
// A program still running, for the tests that signal it.
class Running {
  public:
    Running(const std::vector<std::string>& arguments, const std::filesystem::path& scratch);
    ~Running();
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

    void signal(int number);
    // Whether it has ended, without waiting.
    bool ended();
    // Whether it holds a file inside `folder` open (Linux: from /proc).
    bool holdsFileIn(const std::filesystem::path& folder) const;
    Finished wait();

  private:
    int pid_ = 0;
    int status_ = -1;  // the wait status, once ended() saw it end
    std::filesystem::path scratch_;
};
#endif

}  // namespace tessark::test
