// SPDX-License-Identifier: MIT
// Ctrl+C in the middle of a merge: the old output stays as it was, nothing
// is left beside it, and the program says so with status 130; in the middle
// of a split: the pieces it made are removed. (Not under
// wine: it has no way to send a console Ctrl+C to a program started by
// another.)
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "cli_scene.h"

namespace tessark::test {
namespace {

// A merge of 20,000 one-byte pieces, stopped by Ctrl+C once its staged
// output is open (a piece that makes the program wait cannot be had: a pipe
// is refused as a piece): the old output stays as it was and nothing is left
// beside it.
TEST(Interrupt, CtrlCMidMergeKeepsTheOldOutput) {
    const Scene scene;
    constexpr int kPieces = 20000;
    const std::string bytes = sampleBytes(kPieces, 7);
    for (int i = 0; i < kPieces; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "m.%03d", i + 1);
        scene.write(name, bytes.substr(static_cast<std::size_t>(i), 1));
    }
    scene.write("out.bin", "old");
    const auto before = scene.names();

    Running merge = scene.start({"merge", "-f", "-q", "-o", "@/out.bin", "@/m.001"});
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!merge.holdsFileIn(scene.at("")) && !merge.ended() &&
           std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    merge.signal(SIGINT);
    const Finished finished = merge.wait();

    EXPECT_EQ(finished.status, 130) << finished.err;
    EXPECT_NE(finished.err.find("out.bin"), std::string::npos) << finished.err;
    EXPECT_EQ(scene.read("out.bin"), "old");
    EXPECT_EQ(scene.names(), before);
}

// A split into 20,000 one-byte pieces, stopped by Ctrl+C once its first piece
// is there: every piece it made goes, the file that already had a piece's
// name stays, and no Link.bat is written.
TEST(Interrupt, CtrlCMidSplitRemovesThePiecesItMade) {
    const Scene scene;
    scene.write("src.bin", sampleBytes(20000, 9));
    scene.write("m.005", "there before");

    Running split = scene.start({"split", "@/src.bin", "-o", "@/m", "-b", "1", "-q"});
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!scene.has("m.001") && !split.ended() && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    split.signal(SIGINT);
    const Finished finished = split.wait();

    EXPECT_EQ(finished.status, 130) << finished.err;
    EXPECT_NE(finished.err.find("removed"), std::string::npos) << finished.err;
    EXPECT_EQ(scene.names(), (std::vector<std::string>{"m.005", "src.bin"}));
}

}  // namespace
}  // namespace tessark::test
