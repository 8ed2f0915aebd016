// SPDX-License-Identifier: MIT
// A fresh folder for one command-line case, with the program run on it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "run_program.h"

namespace tessark::test {

class Scene {
  public:
    Scene();
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // The path of `name` (UTF-8, "/" between folders) in the scene's folder.
    std::filesystem::path at(const std::string& name) const;
    // An argument with "@" at its start names a file in the scene's folder;
    // "@?/" names it in the "\\?\" form on Windows.
    std::string expand(const std::string& arg) const;

    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool has(const std::string& name) const;
    // The names in the scene's folder (not below it), sorted.
    std::vector<std::string> names() const;

    Finished run(const std::vector<std::string>& args) const;
#ifndef _WIN32
    Running start(const std::vector<std::string>& args) const;
#endif

  private:
    std::filesystem::path root_;  // holds the folder and the caught output
    std::filesystem::path folder_;
};

// `size` bytes that differ from one seed to another.
std::string sampleBytes(std::size_t size, unsigned seed);

}  // namespace tessark::test
