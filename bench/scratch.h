// SPDX-License-Identifier: MIT
// The benchmark's private folder. Every file the benchmark creates lives in it
// and is named before the first one is created, so that an interrupt can remove
// them all from a signal handler, where only async-signal-safe calls are safe.
#pragma once

#include <sys/types.h>
#include <string>
#include <string_view>
#include <vector>

namespace tessark::bench {

class Scratch {
  public:
    // Creates a new, uniquely named folder in `parent`.
    explicit Scratch(const std::string& parent);
    // Removes every file of the folder and the folder itself.
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::string& folder() const { return folder_; }
    std::string path(std::string_view name) const;

    // Takes the full list of paths the run will create and installs the
    // SIGINT, SIGTERM and SIGHUP handlers that remove them. Call it once,
    // before creating any file.
    void arm(std::vector<std::string> paths);

    // The child process being waited for (0 for none): an interrupt kills it
    // first, so it cannot write on after the clean-up.
    static void setChild(pid_t pid) noexcept;

    // A file system mounted on `mountPoint` (empty for none) for the length of
    // some series: an interrupt unmounts it and removes the mount point, before
    // it removes the files (the file system's image among them).
    static void setMount(const std::string& mountPoint);

  private:
    std::string folder_;
};

}  // namespace tessark::bench
