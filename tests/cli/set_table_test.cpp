// SPDX-License-Identifier: MIT
// One set through every front end on real files: what the engine finds, what
// Add shows, what `tessark-cli verify` says, and that a merge, from the
// command line or the window, writes the source's bytes or keeps the old
// output.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <functional>
#include <string>
#include <vector>

#include "cli_scene.h"
#include "engine/platform/native_file_system.h"
#include "engine/set/piece_set.h"
#include "fake_window.h"
#include "forms/merge_form.h"
#include "forms/merge_list.h"

namespace tessark::test {
namespace {

namespace fsys = std::filesystem;
using Names = std::vector<std::string>;

const std::string kSource = sampleBytes(35000, 7);  // m.001 ... m.004 of 10,000 bytes

struct SetCase {
    const char* name;
    std::function<void(const Scene&)> change;
    Names found;  // the pieces that are there, in the set's order
    Names missing;
    std::int64_t leftovers;
    std::string firstLeftover;
    std::string addBox;  // empty: none
    int verifyStatus;
    std::string verifySays;  // on standard output or error
    int mergeStatus;         // tessark-cli merge m.001
    bool joinsSource;        // else the old output is kept, by both front ends
    bool windowAsks;         // the list differs from the checksum file: answered No
};

void PrintTo(const SetCase& c, std::ostream* os) {
    *os << c.name;
}

void junk(const Scene& s, int from, int to) {
    for (int n = from; n <= to; ++n) {
        s.write(toUtf8(pieceName(u"m", n)), sampleBytes(1000, static_cast<unsigned>(n)));
    }
}

const Names kAll = {"m.001", "m.002", "m.003", "m.004"};

const SetCase kSetCases[] = {
    {"LeftoversPastTheLastPiece",
     [](const Scene& s) { junk(s, 5, 35); },
     kAll,
     {},
     31,
     "m.005",
     "另有 31 个文件（如 m.005）不在校验文件 m.sha256 中，未加入合并列表。",
     0,
     "31 files such as m.005 are not in m.sha256",
     0,
     true,
     false},
    {"AStrayPiece",
     [](const Scene& s) { s.write("m.016", std::string(100, 'x')); },
     kAll,
     {},
     1,
     "m.016",
     "另有 1 个文件（如 m.016）不在校验文件 m.sha256 中，未加入合并列表。",
     0,
     "1 file, m.016, is not in m.sha256",
     0,
     true,
     false},
    {"AListedPieceMissing",
     [](const Scene& s) {
         fsys::remove(s.at("m.003"));
         junk(s, 5, 5);
     },
     {"m.001", "m.002", "m.004"},
     {"m.003"},
     1,
     "m.005",
     "文件不完整，缺少 m.003 !\r另有 1 个文件（如 m.005）不在校验文件 m.sha256 "
     "中，未加入合并列表。",
     1,
     "m.003: MISSING",
     1,
     false,
     true},
    {"AChecksumFileInAnotherOrder",
     [](const Scene& s) {
         std::string sums = s.read("m.sha256");
         const std::size_t line = sums.find('\n') + 1;  // each line as long as the next
         const std::size_t length = sums.find('\n', line) + 1 - line;
         s.write("m.sha256", sums.substr(0, line) + sums.substr(line + length, length) +
                                 sums.substr(line, length) + sums.substr(line + 2 * length));
     },
     {"m.001", "m.003", "m.002", "m.004"},
     {},
     0,
     "",
     "",
     0,
     "4 OK, 0 FAILED, 0 MISSING",
     1,
     false,
     false},
    {"NoChecksumFile",
     [](const Scene& s) { fsys::remove(s.at("m.sha256")); },
     kAll,
     {},
     0,
     "",
     "",
     2,
     "no checksum file",
     0,
     true,
     false},
};

class SetTable : public ::testing::TestWithParam<SetCase> {};

TEST_P(SetTable, EveryFrontEndTakesTheSameSet) {
    const SetCase& c = GetParam();
    const Scene scene;
    scene.write("source.bin", kSource);
    ASSERT_EQ(
        scene.run({"split", "@/source.bin", "-b", "10000", "-o", "@/m", "--no-script", "--no-recovery"}).status, 0);
    c.change(scene);
    scene.write("out.bin", "old");
    scene.write("window.bin", "old");
    const auto fs = makeNativeFileSystem();
    const Text first = scene.at("m.001").u16string();

    const PieceSet set = readPieceSet(*fs, first);
    const PieceList present = set.present();
    std::vector<Text> paths;
    Names found;
    for (std::int64_t i = 0; i < present.size(); ++i) {
        paths.push_back(present[i]);
        found.push_back(toUtf8(GetFileName(present[i], fs->separator())));
    }
    EXPECT_EQ(found, c.found);
    Names missing;
    for (const Text& name : set.missing) {
        missing.push_back(toUtf8(name));
    }
    EXPECT_EQ(missing, c.missing);
    EXPECT_EQ(set.leftovers.count, c.leftovers);
    EXPECT_EQ(toUtf8(set.leftovers.first), c.firstLeftover);

    FakeWindow w;
    auto controls = w.controls();
    addPiecesFrom(controls, *fs, first);
    EXPECT_EQ(w.List1.items, paths);
    ASSERT_EQ(w.messages.shown.size(), c.addBox.empty() ? 0u : 1u);
    if (!c.addBox.empty()) {
        EXPECT_EQ(toUtf8(w.messages.shown[0].prompt), c.addBox);
    }

    const Finished verify = scene.run({"verify", "@/m.001"});
    EXPECT_EQ(verify.status, c.verifyStatus) << verify.err;
    EXPECT_NE((verify.out + verify.err).find(c.verifySays), std::string::npos)
        << verify.out << verify.err;

    const Finished merge = scene.run({"merge", "@/m.001", "-o", "@/out.bin", "-f", "-q"});
    EXPECT_EQ(merge.status, c.mergeStatus) << merge.err;
    w.messages.shown.clear();
    w.messages.answers = {c.windowAsks ? mb::No : mb::Yes};
    w.Text4.value = scene.at("window.bin").u16string();
    startMerge(controls, *fs);
    if (c.windowAsks) {
        EXPECT_EQ(toUtf8(w.messages.shown.at(0).prompt),
                  "合并列表与校验文件 m.sha256 不符，仍要合并吗？");
    }
    for (const char* output : {"out.bin", "window.bin"}) {
        EXPECT_TRUE(scene.read(output) == (c.joinsSource ? kSource : "old")) << output;
    }
}

INSTANTIATE_TEST_SUITE_P(Sets, SetTable, ::testing::ValuesIn(kSetCases),
                         [](const auto& p) { return std::string(p.param.name); });

#ifndef _WIN32
// Whatever lies under the checksum file's name and is not a file is a
// checksum file that cannot be read, never "no checksum file" (which would
// join a damaged piece unchecked), and it is never opened: a FIFO would hang.
struct OddCase {
    const char* name;
    std::function<void(const fsys::path&)> make;
};

void PrintTo(const OddCase& c, std::ostream* os) {
    *os << c.name;
}

const OddCase kOddCases[] = {
    {"Fifo", [](const fsys::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
    {"Folder", [](const fsys::path& p) { fsys::create_directory(p); }},
    {"DanglingLink", [](const fsys::path& p) { fsys::create_symlink("nowhere", p); }},
    {"LinkToADevice", [](const fsys::path& p) { fsys::create_symlink("/dev/urandom", p); }},
};

class OddChecksumFile : public ::testing::TestWithParam<OddCase> {};

TEST_P(OddChecksumFile, CannotBeReadAndHangsNothing) {
    const Scene scene;
    scene.write("source.bin", kSource);
    ASSERT_EQ(scene.run({"split", "@/source.bin", "-b", "10000", "-o", "@/m", "-q"}).status, 0);
    fsys::remove(scene.at("m.sha256"));
    GetParam().make(scene.at("m.sha256"));
    scene.write("m.002", std::string(10000, 'x'));  // damaged

    for (const Names& args : {Names{"verify", "@/m.001"}, Names{"merge", "@/m.001", "-o", "@/out"},
                              Names{"list", "@/m.001"}}) {
        const Finished run = scene.run(args);
        EXPECT_EQ(run.status, 1) << args[0];
        EXPECT_NE(run.err.find("cannot read"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(scene.has("out"));

    const auto fs = makeNativeFileSystem();
    FakeWindow w;
    auto controls = w.controls();
    addPiecesFrom(controls, *fs, scene.at("m.001").u16string());
    EXPECT_EQ(w.List1.count(), 4);
    w.Text4.value = scene.at("out").u16string();
    w.messages.answers = {mb::No};
    startMerge(controls, *fs);
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(toUtf8(w.messages.shown[0].prompt), "校验文件 m.sha256 无法识别，仍要合并吗？");
    EXPECT_FALSE(scene.has("out"));
}

INSTANTIATE_TEST_SUITE_P(Kinds, OddChecksumFile, ::testing::ValuesIn(kOddCases),
                         [](const auto& p) { return std::string(p.param.name); });
#endif

}  // namespace
}  // namespace tessark::test
