// SPDX-License-Identifier: MIT
#include "engine/core/hashing_copy.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"
#include "engine/core/sha256.h"
#include "fake_file_system.h"

namespace tessark {
namespace {

using test::FakeFileSystem;

constexpr std::int64_t kChunk = static_cast<std::int64_t>(kCopyBufferSize);
constexpr std::int64_t kMiB = std::int64_t{1} << 20;
const Text kIn = u"D:\\w\\in.bin";
const Text kOut = u"D:\\w\\out.bin";

// Bytes that differ from chunk to chunk, made once for every case.
const std::string& patterned() {
    static const std::string bytes = [] {
        std::string b(static_cast<std::size_t>(6 * kMiB), '\0');
        std::uint32_t x = 12345;
        for (char& c : b) {
            x = x * 1103515245u + 12345u;
            c = static_cast<char>(x >> 24);
        }
        return b;
    }();
    return bytes;
}

std::string hashOf(const std::string& bytes) {
    Sha256 hash;
    hash.update(std::as_bytes(std::span(bytes.data(), bytes.size())));
    return toHex(hash.finish());
}

struct Copy {
    FakeFileSystem fs;
    std::string source;
    std::vector<Sha256> hashes;
    Progress progress;
    int reports = 0;

    Copy(std::int64_t sourceSize, int hashCount)
        : source(patterned().substr(0, static_cast<std::size_t>(sourceSize))),
          hashes(static_cast<std::size_t>(hashCount)) {
        fs.addFolder(u"D:\\w");
        fs.addFile(kIn, source);
    }

    // Copies `count` bytes from `inOffset` to offset 3 of the output; `stopAt`
    // is the report that answers "stop" (0: none does).
    bool run(std::int64_t inOffset, std::int64_t count, int stopAt = 0) {
        std::vector<Sha256*> pointers;
        for (auto& h : hashes) {
            pointers.push_back(&h);
        }
        const auto in = fs.openRead(kIn);
        const auto out = fs.createFile(kOut);
        const ProgressFn report = [&](const Progress&) { return ++reports != stopAt; };
        const bool finished =
            copyAndHash(*in, inOffset, *out, 3, count, pointers, progress, report);
        out->close();
        return finished;
    }

    // What the copies put after the output's first 3 bytes.
    std::string written() const {
        const std::string all = *fs.contents(kOut);
        return all.size() < 3 ? std::string() : all.substr(3);
    }
};

// Sizes either side of a chunk and of the length from which a second thread
// hashes, with every number of hashes: the output and each hash must hold
// exactly the bytes asked for, in order.
TEST(CopyAndHash, CopiesAndHashesExactlyTheRange) {
    const std::int64_t counts[] = {0,          1,        kChunk - 1, kChunk,
                                   kChunk + 1, kMiB - 1, kMiB + 1,   5 * kMiB + 7};
    for (const int hashCount : {0, 1, 2, 3}) {
        for (const std::int64_t count : counts) {
            Copy copy(count + 11, hashCount);
            ASSERT_TRUE(copy.run(11, count));
            const std::string expected = copy.source.substr(11, static_cast<std::size_t>(count));
            EXPECT_EQ(copy.written(), expected) << count << " bytes, " << hashCount << " hashes";
            EXPECT_EQ(copy.progress.bytesDone, count);
            for (auto& h : copy.hashes) {
                EXPECT_EQ(toHex(h.finish()), hashOf(expected))
                    << count << " bytes, " << hashCount << " hashes";
            }
        }
    }
}

// A stop answered after some chunk returns at once, and every hash has then
// seen exactly the bytes written so far.
TEST(CopyAndHash, StopLeavesHashesAtTheBytesWritten) {
    const std::pair<std::int64_t, int> cases[] = {
        {3 * kChunk, 1}, {3 * kChunk, 2}, {5 * kMiB, 1}, {5 * kMiB, 7}, {5 * kMiB, 19}};
    for (const auto& [count, stopAt] : cases) {
        Copy copy(count, 2);
        ASSERT_FALSE(copy.run(0, count, stopAt)) << count << " bytes, stop " << stopAt;
        const std::string written = copy.written();
        EXPECT_EQ(static_cast<std::int64_t>(written.size()), stopAt * kChunk);
        EXPECT_EQ(copy.progress.bytesDone, stopAt * kChunk);
        for (auto& h : copy.hashes) {
            EXPECT_EQ(toHex(h.finish()), hashOf(copy.source.substr(0, written.size())));
        }
    }
}

// Failures of the input and the output reach the caller with their own
// number, on one thread or two, and nothing is left running (a hash thread
// still at work would touch the destroyed hashes and ring).
TEST(CopyAndHash, FailuresReachTheCaller) {
    struct Case {
        const char* what;
        std::int64_t sourceSize;  // the copy asks for 3 MiB
        std::optional<FakeFileSystem::Op> fault;
        int skip;
        int number;
    };
    const Case cases[] = {
        {"input ends in the first chunk", kChunk / 2, std::nullopt, 0, err::DeviceIo},
        {"input ends later", 2 * kMiB + 1, std::nullopt, 0, err::DeviceIo},
        {"first read fails", 3 * kMiB, FakeFileSystem::Op::Read, 0, err::DeviceUnavailable},
        {"a later read fails", 3 * kMiB, FakeFileSystem::Op::Read, 9, err::DeviceUnavailable},
        {"first write fails", 3 * kMiB, FakeFileSystem::Op::Write, 0, err::DiskFull},
        {"a later write fails", 3 * kMiB, FakeFileSystem::Op::Write, 10, err::DiskFull},
    };
    for (const auto& c : cases) {
        for (const int hashCount : {1, 2}) {
            Copy copy(c.sourceSize, hashCount);
            if (c.fault) {
                copy.fs.injectFault(*c.fault, {}, c.number, c.skip);
            }
            try {
                copy.run(0, 3 * kMiB);
                ADD_FAILURE() << c.what << ": no error";
            } catch (const RuntimeError& e) {
                EXPECT_EQ(e.number(), c.number) << c.what << ", " << hashCount << " hashes";
            }
        }
    }
}

}  // namespace
}  // namespace tessark
