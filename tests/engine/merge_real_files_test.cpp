// SPDX-License-Identifier: MIT
// Splits and merges on the machine's own file system, and against pieces made
// and joined by GNU coreutils.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/core/piece_names.h"
#include "engine/platform/native_file_system.h"
#include "fake_window.h"
#include "forms/merge_form.h"
#include "forms/merge_list.h"
#include "forms/split_form.h"
#include "temp_folder.h"

namespace tessark {
namespace {

namespace fsys = std::filesystem;

Text pathText(const fsys::path& p) {
    return fromUtf8(p.string());
}

void writeRandom(const fsys::path& path, std::int64_t size, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::ofstream out(path, std::ios::binary);
    std::vector<char> chunk(1 << 16);
    for (std::int64_t left = size; left > 0;) {
        for (char& c : chunk) {
            c = static_cast<char>(random());
        }
        const auto n = static_cast<std::streamsize>(
            std::min<std::int64_t>(left, static_cast<std::int64_t>(chunk.size())));
        out.write(chunk.data(), n);
        left -= n;
    }
    ASSERT_TRUE(out.good());
}

// Byte-for-byte comparison in chunks, so files of any size can be compared.
bool sameBytes(const fsys::path& a, const fsys::path& b) {
    if (fsys::file_size(a) != fsys::file_size(b)) {
        return false;
    }
    std::ifstream fa(a, std::ios::binary);
    std::ifstream fb(b, std::ios::binary);
    std::vector<char> ba(1 << 20);
    std::vector<char> bb(1 << 20);
    while (fa && fb) {
        fa.read(ba.data(), static_cast<std::streamsize>(ba.size()));
        fb.read(bb.data(), static_cast<std::streamsize>(bb.size()));
        if (fa.gcount() != fb.gcount() ||
            !std::equal(ba.begin(), ba.begin() + fa.gcount(), bb.begin())) {
            return false;
        }
    }
    return fa.eof() && fb.eof();
}

std::string quoted(const fsys::path& p) {
    std::string q = "'";
    for (char c : p.string()) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

class RealFiles : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(fs->separator(), u'/'); }

    // Splits `source` into pieces next to it (target NAME$.EXT) with a block of
    // `kilobytes`, or the fixed block when 0; the split fills List1 and Text4.
    void split(const fsys::path& source, std::int64_t kilobytes) {
        w.Text1.value = pathText(source);
        Text target = pathText(source);
        target.insert(target.size() - 4, u"$");
        w.Text2.value = target;
        w.Option1.isSelected = kilobytes == 0;
        w.Text3.value = decimal(kilobytes);
        startSplit(controls, *fs);
        ASSERT_FALSE(w.messages.shown.empty());
        ASSERT_EQ(w.messages.shown.back().style, mb::Information)
            << toUtf8(w.messages.shown.back().prompt);
    }
    void merge(const fsys::path& output) {
        w.Text4.value = pathText(output);
        w.messages.shown.clear();
        startMerge(controls, *fs);
        ASSERT_FALSE(w.messages.shown.empty());
        ASSERT_EQ(w.messages.shown.back().prompt, pathText(output) + u"合并完成!");
    }
    void addFromDialog(const fsys::path& chosen) {
        w.CommonDialog1.picks.push_back(pathText(chosen));
        addPieces(controls, *fs);
    }
    std::vector<fsys::path> listed() const {
        std::vector<fsys::path> paths;
        for (const Text& item : w.List1.items) {
            paths.emplace_back(toUtf8(item));
        }
        return paths;
    }
    std::vector<fsys::path> folderContents() const {
        std::vector<fsys::path> names;
        for (const auto& entry : fsys::directory_iterator(dir)) {
            names.push_back(entry.path().filename());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempFolder folder;
    fsys::path dir = folder.path();
    std::unique_ptr<FileSystem> fs = makeNativeFileSystem();
    test::FakeWindow w;
    MainControls controls = w.controls();
};

struct RoundTripCase {
    std::int64_t size;
    std::int64_t kilobytes;  // 0: the fixed block
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.size << "_bytes_in_" << c.kilobytes << "_KB";
}

class RoundTrip : public RealFiles, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(RoundTrip, SplitThenMergeGivesBackTheSource) {
    const fsys::path source = dir / "source.bin";
    writeRandom(source, GetParam().size, static_cast<std::uint64_t>(GetParam().size));
    split(source, GetParam().kilobytes);
    const std::int64_t block = GetParam().kilobytes == 0 ? 1447035 : GetParam().kilobytes * 1024;
    EXPECT_EQ(w.List1.count(), (GetParam().size + block - 1) / block);
    merge(dir / "joined.bin");
    EXPECT_TRUE(sameBytes(source, dir / "joined.bin"));
}

std::vector<RoundTripCase> roundTripCases() {
    // The fixed block's own examples, a block exactly the file's size, a
    // remainder of one byte, then random sizes with random blocks.
    std::vector<RoundTripCase> cases = {{3000000, 0}, {2894070, 0}, {1447035, 0},
                                        {4096, 4},    {4097, 4},    {1024, 1}};
    std::mt19937_64 random(20261207);
    for (int i = 0; i < 8; ++i) {
        const auto size = static_cast<std::int64_t>(random() % 5'000'000) + 1024;
        const auto maxKb = std::max<std::int64_t>(1, size / 1024);
        cases.push_back(
            {size, static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(maxKb)) + 1});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Sizes, RoundTrip, ::testing::ValuesIn(roundTripCases()),
                         [](const auto& p) {
                             return "Size" + std::to_string(p.param.size) + "Kb" +
                                    std::to_string(p.param.kilobytes);
                         });

TEST_F(RealFiles, ASourceOver2GiBRoundTripsWithBoundedMemory) {
    constexpr std::int64_t kSize = (std::int64_t{1} << 31) + 123457;
    const fsys::path source = dir / "huge.img";
    {
        // Sparse, with data at the start, around the 2 GiB mark and at the end.
        std::ofstream out(source, std::ios::binary);
        std::mt19937_64 random(7);
        for (const std::int64_t at :
             {std::int64_t{0}, (std::int64_t{1} << 31) - 5000, kSize - 777}) {
            out.seekp(at);
            for (int i = 0; i < 777; ++i) {
                out.put(static_cast<char>(random()));
            }
        }
    }
    ASSERT_EQ(static_cast<std::int64_t>(fsys::file_size(source)), kSize);

    split(source, 1024 * 1024);  // 1 GiB blocks: three pieces
    ASSERT_EQ(w.List1.count(), 3);
    merge(dir / "joined.img");
    EXPECT_TRUE(sameBytes(source, dir / "joined.img"));

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    EXPECT_LT(usage.ru_maxrss, 512 * 1024) << "peak resident kilobytes";
}

TEST_F(RealFiles, MoreThanAThousandPiecesComeBackInOrderThroughAdd) {
    const fsys::path source = dir / "many.bin";
    writeRandom(source, 1205 * 1024 + 17, 11);
    split(source, 1);
    const std::vector<Text> written = w.List1.items;
    ASSERT_EQ(written.size(), 1206u);
    EXPECT_EQ(written[1000], pathText(dir / "many$.bin.1001"));

    clearList(controls);
    w.Text4.value.clear();
    addFromDialog(dir / "many$.bin.001");
    EXPECT_EQ(w.List1.items, written);
    EXPECT_EQ(w.Text4.value, pathText(source));  // the proposal names the source again
    merge(dir / "joined.bin");
    EXPECT_TRUE(sameBytes(source, dir / "joined.bin"));
}

TEST_F(RealFiles, PiecesCutByCoreutilsSplitAreFoundInOrderAndMerged) {
    const fsys::path source = dir / "data.bin";
    writeRandom(source, 150 * 4000 + 99, 3);
    const std::string command = "split -b 4000 -d -a 3 --numeric-suffixes=1 " + quoted(source) +
                                " " + quoted(dir / "data.bin.");
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    addFromDialog(dir / "data.bin.001");
    ASSERT_EQ(w.List1.count(), 151);
    for (int i = 1; i <= 151; ++i) {
        EXPECT_EQ(w.List1.items[static_cast<std::size_t>(i - 1)], pieceName(pathText(source), i));
    }
    EXPECT_EQ(w.Text4.value, pathText(source));
    merge(dir / "joined.bin");
    EXPECT_TRUE(sameBytes(source, dir / "joined.bin"));
}

TEST_F(RealFiles, OurPiecesJoinedByCatGiveBackTheSource) {
    const fsys::path source = dir / "data.bin";
    writeRandom(source, 987654, 5);
    split(source, 100);
    std::string command = "cat";
    for (const fsys::path& piece : listed()) {
        command += " " + quoted(piece);
    }
    command += " > " + quoted(dir / "cat.bin");
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(sameBytes(source, dir / "cat.bin"));
}

TEST_F(RealFiles, AFailedMergeLeavesTheOutputAndTheFolderAsTheyWere) {
    const fsys::path source = dir / "data.bin";
    writeRandom(source, 300000, 9);
    split(source, 64);
    const fsys::path output = dir / "out.bin";
    writeRandom(output, 5000, 10);
    fsys::remove(listed()[2]);
    const auto before = folderContents();

    w.Text4.value = pathText(output);
    w.messages.shown.clear();
    startMerge(controls, *fs);

    ASSERT_FALSE(w.messages.shown.empty());
    EXPECT_EQ(w.messages.shown.back().prompt, u"文件不能被写入!请更换存放位置!");
    EXPECT_EQ(folderContents(), before);
    EXPECT_EQ(fsys::file_size(output), 5000u);
    EXPECT_FALSE(w.ProgressBar1.visible);
}

TEST_F(RealFiles, AHiddenOutputGetsTheOverwriteQuestion) {
    const fsys::path source = dir / "data.bin";
    writeRandom(source, 10000, 12);
    split(source, 4);
    const fsys::path output = dir / ".hidden.bin";
    writeRandom(output, 50000, 13);
    w.messages.answers = {mb::Yes, mb::Yes};
    merge(output);
    EXPECT_EQ(w.messages.shown[0].style, 292);
    EXPECT_TRUE(sameBytes(source, output));
}

}  // namespace
}  // namespace tessark
