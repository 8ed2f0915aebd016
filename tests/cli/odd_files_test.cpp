// SPDX-License-Identifier: MIT
// What lies in a set's folder comes from elsewhere: pipes and devices where
// files are expected are refused before a byte moves, and never make the
// program wait; Link.bat is code page 936 whatever the locale; an argument
// that is not UTF-8 names no file. (Linux: pipes, devices and locales.)
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "cli_scene.h"

namespace tessark::test {
namespace {

using Names = std::vector<std::string>;

// Runs the program, killing it when it has not ended within a minute, so
// that one that waits for ever fails the test instead of hanging it.
Finished runWatched(const Scene& scene, const std::vector<std::string>& args, bool& hung) {
    Running program = scene.start(args);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!program.ended() && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    hung = !program.ended();
    if (hung) {
        program.signal(SIGKILL);
    }
    return program.wait();
}

void makeFifo(const Scene& s, const std::string& name) {
    ASSERT_EQ(::mkfifo(s.at(name).c_str(), 0600), 0) << name;
}

// A character device that discards what it is given, made in the scene when
// the test may (as root), else the system's own: a program that wrongly
// renamed a file over it could then only reach one of the scene's, or none.
void linkToNullDevice(const Scene& s, const std::string& link) {
    std::string device = "/dev/null";
    if (::mknod(s.at("null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {
        device = s.at("null").string();
    } else {
        ASSERT_NE(::geteuid(), 0u) << "root could not make a device";
    }
    ASSERT_EQ(::symlink(device.c_str(), s.at(link).c_str()), 0);
}

void writeSet(const Scene& s) {
    s.write("f.bin", sampleBytes(5000, 3));
    ASSERT_EQ(s.run({"split", "-q", "-b", "2000", "@/f.bin"}).status, 0);
}

struct OddCase {
    const char* name;
    std::function<void(const Scene&)> prepare;
    std::vector<std::string> args;
    std::string mentions;  // what standard error names
};

void PrintTo(const OddCase& c, std::ostream* os) {
    *os << c.name;
}

const OddCase kOdd[] = {
    {"PipeAsAListedPiece",
     [](const Scene& s) {
         writeSet(s);
         ::unlink(s.at("f$.bin.003").c_str());
         makeFifo(s, "f$.bin.003");
     },
     // Unchecked, so that the list reaches the pipe rather than the list check.
     {"merge", "@/f$.bin.002", "@/f$.bin.003", "-o", "@/out.bin", "--no-verify"},
     "f$.bin.003"},
    {"PipeAsOutput",
     [](const Scene& s) {
         writeSet(s);
         makeFifo(s, "out.bin");
     },
     {"merge", "-f", "@/f$.bin.001", "-o", "@/out.bin"},
     "out.bin"},
    {"LinkToADeviceAsOutput",
     [](const Scene& s) {
         writeSet(s);
         linkToNullDevice(s, "out.bin");
     },
     {"merge", "-f", "@/f$.bin.001", "-o", "@/out.bin"},
     "out.bin"},
    {"PipeAsASecondPieceOfASplit",
     [](const Scene& s) {
         s.write("g.bin", sampleBytes(5000, 4));
         makeFifo(s, "g$.bin.002");
     },
     {"split", "-b", "2000", "@/g.bin"},
     "g$.bin.002"},
    {"PipeAsLinkBat",
     [](const Scene& s) {
         s.write("g.bin", sampleBytes(5000, 4));
         makeFifo(s, "Link.bat");
     },
     {"split", "-b", "2000", "@/g.bin"},
     "Link.bat"},
};

class OddFiles : public ::testing::TestWithParam<OddCase> {};

TEST_P(OddFiles, AreRefusedWithoutWaitingOrWriting) {
    const OddCase& c = GetParam();
    const Scene scene;
    c.prepare(scene);
    const Names before = scene.names();
    std::vector<std::string> args;
    for (const auto& a : c.args) {
        args.push_back(scene.expand(a));
    }
    bool hung = false;
    const Finished finished = runWatched(scene, args, hung);
    ASSERT_FALSE(hung) << "the program waited at a pipe or a device";
    EXPECT_EQ(finished.status, 1) << finished.err;
    EXPECT_NE(finished.err.find(c.mentions), std::string::npos) << finished.err;
    EXPECT_EQ(scene.names(), before);
    struct stat st {};
    for (const auto& name : before) {
        ASSERT_EQ(::lstat(scene.at(name).c_str(), &st), 0);
        EXPECT_FALSE(S_ISREG(st.st_mode) && name == "out.bin") << "the output became a file";
    }
}

INSTANTIATE_TEST_SUITE_P(Folder, OddFiles, ::testing::ValuesIn(kOdd),
                         [](const auto& p) { return std::string(p.param.name); });

// The script's names are code page 936 bytes under any locale: a Chinese
// Windows runs it, not the system that cut the pieces.
TEST(LinkBat, IsCodePage936WhateverTheLocale) {
    const char* saved = std::getenv("LC_ALL");
    const std::string restore = saved ? saved : "";
    for (const char* locale : {"C", "C.UTF-8"}) {
        const Scene scene;
        scene.write("测试 文件.bin", sampleBytes(3000, 5));
        ::setenv("LC_ALL", locale, 1);
        const Finished split = scene.run({"split", "-q", "-b", "2000", "@/测试 文件.bin"});
        EXPECT_EQ(split.status, 0) << locale << ": " << split.err;
        const std::string name = "\xB2\xE2\xCA\xD4 \xCE\xC4\xBC\xFE";  // 测试 文件
        EXPECT_EQ(scene.read("Link.bat"), "copy/B \"" + name + "$.bin.001\"+\"" + name +
                                              "$.bin.002\" \"" + name + "(1).bin\"\r\n")
            << locale;
    }
    if (saved) {
        ::setenv("LC_ALL", restore.c_str(), 1);
    } else {
        ::unsetenv("LC_ALL");
    }
}

// "\xff.bin" would read as U+FFFD, a name of other bytes: the program names
// no file with it, and splits nothing.
TEST(Arguments, NotUtf8IsAUsageError) {
    const Scene scene;
    const std::filesystem::path folder = scene.at("x").parent_path();
    const std::string raw = (folder / "\xFF.bin").string();
    std::ofstream(raw, std::ios::binary) << "abc";
    scene.write("\xEF\xBF\xBD.bin", "abc");  // U+FFFD itself
    const Finished finished = scene.run({"split", "-b", "1", raw});
    EXPECT_EQ(finished.status, 2);
    EXPECT_NE(finished.err.find("\\xFF.bin' is not valid UTF-8"), std::string::npos)
        << finished.err;
    const auto entries = std::distance(std::filesystem::directory_iterator(folder),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(entries, 2) << "something was split";
}

}  // namespace
}  // namespace tessark::test
