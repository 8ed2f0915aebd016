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

// Opens the FIFO for writing and closes it again, once the program has opened
// it for reading: the program then reads it as an empty piece. Gives up when
// the program has ended, or after a minute, so that a program that never gets
// there fails the test instead of hanging it.
bool feedEmpty(const std::filesystem::path& fifo, Running& program) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (std::chrono::steady_clock::now() < giveUp && !program.ended()) {
        const int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            return close(fd) == 0;
        }
        if (errno != ENXIO) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

// Two pieces are FIFOs: once the program has taken the first, it waits at the
// second until the test lets it go on, so the Ctrl+C surely comes before the
// merge is complete.
TEST(Interrupt, CtrlCMidMergeKeepsTheOldOutput) {
    const Scene scene;
    scene.write("m.001", sampleBytes(4096, 7));
    ASSERT_EQ(mkfifo(scene.at("m.002").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(scene.at("m.003").c_str(), 0600), 0);
    scene.write("m.004", sampleBytes(4096, 8));
    scene.write("out.bin", "old");

    Running merge =
        scene.start({"merge", "-f", "-o", "@/out.bin", "@/m.001", "@/m.002", "@/m.003", "@/m.004"});
    ASSERT_TRUE(feedEmpty(scene.at("m.002"), merge)) << "the merge never read the second piece";
    merge.signal(SIGINT);
    // It stops before the third piece or, when the signal comes late, once
    // it has read it.
    feedEmpty(scene.at("m.003"), merge);
    const Finished finished = merge.wait();

    EXPECT_EQ(finished.status, 130) << finished.err;
    EXPECT_NE(finished.err.find("out.bin"), std::string::npos) << finished.err;
    EXPECT_EQ(scene.read("out.bin"), "old");
    EXPECT_EQ(scene.names(),
              (std::vector<std::string>{"m.001", "m.002", "m.003", "m.004", "out.bin"}));
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
