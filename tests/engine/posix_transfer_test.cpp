// SPDX-License-Identifier: MIT
// Copies between real files through the POSIX file system, once with the
// kernel's own copy and once through the buffer it falls back to.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <random>

#include "engine/core/file_system.h"
#include "engine/core/progress.h"
#include "engine/core/runtime_error.h"
#include "engine/platform/kernel_copy.h"
#include "engine/platform/posix_file_system.h"
#include "temp_folder.h"

namespace tessark {
namespace {

Text fileIn(const test::TempFolder& folder, const char* name) {
    return fromUtf8(folder.path() + "/" + name);
}

std::string randomBytes(std::size_t size) {
    std::mt19937_64 generator(size);
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; i += sizeof(std::uint64_t)) {
        const std::uint64_t word = generator();
        std::memcpy(bytes.data() + i, &word, std::min(sizeof word, size - i));
    }
    return bytes;
}

void writeFile(const Text& path, const std::string& bytes) {
    std::ofstream(toUtf8(path), std::ios::binary) << bytes;
}

std::string readFile(const Text& path) {
    std::ifstream in(toUtf8(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// More than the fallback buffer and more than one kernel call can move.
const std::int64_t kBig = KernelCopy::kMaxChunk + std::int64_t{kCopyBufferSize} * 3 / 2 + 7;

class PosixTransferTest : public ::testing::TestWithParam<bool> {
  protected:
    test::TempFolder folder_;
    std::unique_ptr<FileSystem> fs_ = makePosixFileSystem(GetParam());
    Progress progress_;
    ProgressFn keepGoing_ = [](const Progress&) { return true; };
};

TEST_P(PosixTransferTest, CopiesSlicesToAnyPlaceOfTheOutput) {
    const std::string source = randomBytes(static_cast<std::size_t>(kBig));
    writeFile(fileIn(folder_, "source"), source);
    const auto in = fs_->openRead(fileIn(folder_, "source"));
    auto out = fs_->createFile(fileIn(folder_, "out"));

    // The tail first, then the head behind it, then a slice past the end of
    // the output, which leaves a gap of zeros.
    const std::int64_t cut = 1000003;
    const std::int64_t tail = kBig - cut;
    copyBytes(*fs_, *in, cut, *out, 0, tail, progress_, keepGoing_);
    copyBytes(*fs_, *in, 0, *out, tail, cut, progress_, keepGoing_);
    copyBytes(*fs_, *in, 17, *out, kBig + 4096, 100, progress_, keepGoing_);
    out->close();

    const std::string expected = source.substr(static_cast<std::size_t>(cut)) +
                                 source.substr(0, static_cast<std::size_t>(cut)) +
                                 std::string(4096, '\0') + source.substr(17, 100);
    const std::string actual = readFile(fileIn(folder_, "out"));
    ASSERT_EQ(actual.size(), expected.size());
    EXPECT_TRUE(actual == expected);
}

TEST_P(PosixTransferTest, InputEndingEarlyIsADeviceError) {
    writeFile(fileIn(folder_, "short"), randomBytes(5000));
    const auto in = fs_->openRead(fileIn(folder_, "short"));
    auto out = fs_->createFile(fileIn(folder_, "out"));
    try {
        copyBytes(*fs_, *in, 0, *out, 0, 6000, progress_, keepGoing_);
        FAIL() << "a copy past the end of the input succeeded";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::DeviceIo);
    }
    out->close();
    EXPECT_EQ(readFile(fileIn(folder_, "out")), readFile(fileIn(folder_, "short")));
}

// Between two file systems the kernel may refuse to copy; the fallback then
// moves the same bytes.
TEST_P(PosixTransferTest, CopiesAcrossFileSystems) {
    struct stat a {};
    struct stat b {};
    if (::stat("/dev/shm", &a) != 0 || ::stat(folder_.path().c_str(), &b) != 0 ||
        a.st_dev == b.st_dev) {
        GTEST_SKIP() << "needs /dev/shm on a file system of its own";
    }
    const auto memory = std::make_unique<test::TempFolder>("/dev/shm");
    const std::string source = randomBytes(static_cast<std::size_t>(kBig));
    writeFile(fileIn(*memory, "source"), source);
    for (int round = 0; round < 2; ++round) {  // the refusal is remembered
        const auto in = fs_->openRead(fileIn(*memory, "source"));
        auto out = fs_->createFile(fileIn(folder_, "out"));
        copyBytes(*fs_, *in, 0, *out, 0, kBig, progress_, keepGoing_);
        out->close();
        EXPECT_TRUE(readFile(fileIn(folder_, "out")) == source);
    }
}

INSTANTIATE_TEST_SUITE_P(CopyPaths, PosixTransferTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& p) {
                             return p.param ? "Kernel" : "Buffered";
                         });

}  // namespace
}  // namespace tessark
