// SPDX-License-Identifier: MIT
#include "cow.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <stdexcept>
#include <thread>

#include "names.h"
#include "pairs.h"

namespace tessark::bench {

namespace {

constexpr std::int64_t kMiB = std::int64_t{1} << 20;
constexpr std::int64_t kBlock = 4 * kMiB;
// Small enough for a quick run, large enough for many pieces: the source, the
// reference pieces, one run's outputs and the file system's own room.
constexpr std::int64_t kLargestFile = 256 * kMiB;

std::string imagePath(const Scratch& scratch) {
    return scratch.path("xfs.img");
}

std::string mountPath(const Scratch& scratch) {
    return scratch.path("xfs");
}

// A new XFS with shared blocks (reflink) in a sparse image, mounted through a
// loop device for the life of the object; unmounted, the image and the mount
// point removed again on every way out, an interrupt included.
class LoopXfs {
  public:
    LoopXfs(const Scratch& scratch, std::int64_t imageSize)
        : image_(imagePath(scratch)), point_(mountPath(scratch)) {
        const int fd = open(image_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 || ftruncate(fd, imageSize) != 0) {
            const std::string reason = std::strerror(errno);
            if (fd >= 0) {
                close(fd);
            }
            throw std::runtime_error("cannot make " + image_ + ": " + reason);
        }
        close(fd);
        runTool({"mkfs.xfs", "-q", "-m", "reflink=1", image_}, "");
        if (mkdir(point_.c_str(), 0700) != 0) {
            throw std::runtime_error("cannot make " + point_ + ": " + std::strerror(errno));
        }
        Scratch::setMount(point_);
        runTool({"mount", "-o", "loop", image_, point_}, "");
        mounted_ = true;
    }
    ~LoopXfs() {
        if (mounted_) {
            try {
                runTool({"umount", point_}, "");
            } catch (const std::exception& e) {
                std::fprintf(stderr, "tessark_bench: %s\n", e.what());
            }
        }
        Scratch::setMount("");
        rmdir(point_.c_str());
        unlink(image_.c_str());
    }
    LoopXfs(const LoopXfs&) = delete;
    LoopXfs& operator=(const LoopXfs&) = delete;

    const std::string& point() const { return point_; }

  private:
    std::string image_;
    std::string point_;
    bool mounted_ = false;
};

// The free space once the file system holds still: it returns the blocks of
// removed files a moment after the removal, in the background, and a run
// measured from before that would seem to free space.
std::int64_t settledFreeBytes(const std::string& point) {
    std::int64_t last = -1;
    for (int i = 0; i < 100; ++i) {
        settle(point);
        const std::int64_t now = freeBytes(point);
        if (now == last) {
            break;
        }
        last = now;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return last;
}

void skip(const std::string& why, std::vector<Series>& all) {
    Series skipped;
    skipped.operation = "xfs 4M rows";
    skipped.skipped = true;
    skipped.why = why;
    all.push_back(skipped);
}

}  // namespace

std::vector<std::string> copyOnWriteFileNames(const Scratch& scratch) {
    return {imagePath(scratch)};
}

void raceOnCopyOnWrite(const Scratch& scratch, std::int64_t size, int runs, CopyPath copy,
                       CompareBuffers& buffers, std::vector<Series>& all) {
    if (geteuid() != 0) {
        skip("not run as root, which the loop mount needs", all);
        return;
    }
    const std::int64_t fileSize = std::min(size, kLargestFile);
    std::optional<LoopXfs> xfs;
    try {
        xfs.emplace(scratch, 4 * fileSize + 512 * kMiB);
    } catch (const std::exception& e) {
        skip(std::string("no XFS to be had: ") + e.what(), all);
        return;
    }
    const std::string& point = xfs->point();
    PairSet set{point,         point + "/source.bin", point + "/ref", point + "/ours",
                point + "/cu", point + "/merged.bin", kBlock,         pieceCount(fileSize, kBlock),
                copy};
    set.measure = [&point](const std::function<Timing()>& run) {
        const std::int64_t before = settledFreeBytes(point);
        Timing timing = run();
        timing.spaceKiB = (before - settledFreeBytes(point)) / 1024;
        return timing;
    };
    writeRandomFile(set.source, fileSize, buffers.first);
    const auto reference = toolPieces(set.reference, set.pieces);
    runTool(toolSplitCommand(set.source, set.reference, kBlock, set.pieces), "");
    expectSameBytes(reference, {set.source}, buffers);
    settle(point);

    const std::size_t first = all.size();
    const std::string label = " 4M xfs " + std::to_string(fileSize / kMiB) + "M";
    racePair(set, Sums::Without, label, runs, buffers, all);
    racePair(set, Sums::With, "+sha256" + label, runs, buffers, all);
    for (std::size_t i = first; i < all.size(); ++i) {
        all[i].bytes = fileSize;
    }
}

}  // namespace tessark::bench
