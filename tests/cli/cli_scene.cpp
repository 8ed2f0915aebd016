// SPDX-License-Identifier: MIT
#include "cli_scene.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <random>

#include "engine/core/text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tessark::test {
namespace fs = std::filesystem;

namespace {

long long processId() {
#ifdef _WIN32
    return static_cast<long long>(GetCurrentProcessId());
#else
    return static_cast<long long>(getpid());
#endif
}

std::string utf8Of(const fs::path& path) {
    return toUtf8(path.u16string());
}

}  // namespace

Scene::Scene() {
    static std::atomic<int> counter{0};
    root_ = fs::temp_directory_path() / "tessark-cli-tests" /
            (std::to_string(processId()) + "-" + std::to_string(++counter));
    fs::remove_all(root_);
    folder_ = root_ / "files";
    fs::create_directories(folder_);
}

Scene::~Scene() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

fs::path Scene::at(const std::string& name) const {
    return (folder_ / fs::path(fromUtf8(name))).make_preferred();
}

std::string Scene::expand(const std::string& arg) const {
    if (arg.starts_with("@?/")) {
#ifdef _WIN32
        return "\\\\?\\" + utf8Of(at(arg.substr(3)));
#else
        return utf8Of(at(arg.substr(3)));
#endif
    }
    if (arg.empty() || arg[0] != '@') {
        return arg;
    }
    return utf8Of(at(arg.substr(std::min<std::size_t>(2, arg.size()))));
}

void Scene::write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(at(name), std::ios::binary);
    out << bytes;
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + name);
    }
}

std::string Scene::read(const std::string& name) const {
    std::ifstream in(at(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Scene::has(const std::string& name) const {
    return fs::exists(at(name));
}

std::vector<std::string> Scene::names() const {
    std::vector<std::string> all;
    for (const auto& entry : fs::directory_iterator(folder_)) {
        all.push_back(utf8Of(entry.path().filename()));
    }
    std::sort(all.begin(), all.end());
    return all;
}

Finished Scene::run(const std::vector<std::string>& args) const {
    std::vector<std::string> expanded;
    for (const auto& a : args) {
        expanded.push_back(expand(a));
    }
    return runCli(expanded, root_);
}

#ifndef _WIN32
Running Scene::start(const std::vector<std::string>& args) const {
    std::vector<std::string> expanded;
    for (const auto& a : args) {
        expanded.push_back(expand(a));
    }
    return Running(expanded, root_);
}
#endif

std::string sampleBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (auto& b : bytes) {
        b = static_cast<char>(generator() & 0xFF);
    }
    return bytes;
}

}  // namespace tessark::test
