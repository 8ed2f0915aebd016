// SPDX-License-Identifier: MIT
// A merge that rebuilds lost pieces from recovery data, through the real
// program on real files: what `merge` and `verify` say, what the output
// holds, and that the pieces on the disk are never changed. The rows with
// another client's recovery files run where `par2` is installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "cli_scene.h"

namespace tessark::test {
namespace {

namespace fsys = std::filesystem;
using Names = std::vector<std::string>;

const std::string kSource = sampleBytes(35000, 9);  // m.001 ... m.003 of 10,000, m.004 of 5,000

void flip(const Scene& s, const std::string& name) {
    std::string bytes = s.read(name);
    bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x40);
    s.write(name, bytes);
}

void removeOurRecoveryFiles(const Scene& s) {
    for (const std::string& name : s.names()) {
        if (name.ends_with(".par2")) {
            fsys::remove(s.at(name));
        }
    }
}

bool havePar2() {
#ifdef _WIN32
    return false;  // a Linux program: not there under wine
#else
    return std::system("command -v par2 >/dev/null 2>&1") == 0;
#endif
}

// `par2` in the scene's folder; its exit status.
int par2(const Scene& s, const std::string& arguments) {
#ifdef _WIN32
    (void)s;
    (void)arguments;
    return -1;
#else
    const std::string command =
        "cd '" + s.at(".").string() + "' && par2 " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

struct RebuildCase {
    const char* name;
    Names splitArgs;  // besides the source, the block and the name
    int theirSlices;  // > 0: our recovery files replaced by par2 create -c N
    std::function<void(const Scene&)> harm;
    Names mergeArgs;  // besides the set, the output and -f
    int mergeStatus;
    Names mergeSays;             // on standard error
    std::string verifyLastLine;  // its start
};

void PrintTo(const RebuildCase& c, std::ostream* os) {
    *os << c.name;
}

const RebuildCase kCases[] = {
    {"AFlippedByteRebuiltPastAHostileRecoveryFile",
     {},
     0,
     [](const Scene& s) {
         flip(s, "m.003");
         s.write("junk.par2", std::string("PAR2\0PKT", 8) + sampleBytes(500, 3));
     },
     {},
     0,
     {"rebuilt m.003 from recovery data", "passed over 'junk.par2'"},
     "repairable with the recovery data in m.par2, m.vol0+1.par2"},
    {"AMissingPieceRebuilt",
     {},
     0,
     [](const Scene& s) { fsys::remove(s.at("m.002")); },
     {},
     0,
     {"rebuilt m.002 from recovery data"},
     "repairable with the recovery data in m.par2, m.vol0+1.par2"},
    {"TheFirstAndTheShortLastRebuilt",
     {"-r", "2"},
     0,
     [](const Scene& s) {
         fsys::remove(s.at("m.001"));
         flip(s, "m.004");
     },
     {},
     0,
     {"rebuilt m.001", "rebuilt m.004"},
     "repairable with the recovery data in m.par2, m.vol0+1.par2, m.vol1+1.par2"},
    {"TwoDamagedOneSlice",
     {},
     0,
     [](const Scene& s) {
         flip(s, "m.002");
         flip(s, "m.003");
     },
     {},
     1,
     {"m.002' is damaged", "not enough recovery data: 2 slices are needed, there are 1"},
     "not enough recovery data: 2 slices are needed, there are 1"},
    {"NoRepairRefusesADamagedPiece",
     {},
     0,
     [](const Scene& s) { flip(s, "m.003"); },
     {"--no-repair"},
     1,
     {"m.003' is damaged", "can rebuild m.003", "--no-repair"},
     "repairable with the recovery data in m.par2, m.vol0+1.par2"},
    {"NoRepairRefusesAMissingPiece",
     {},
     0,
     [](const Scene& s) { fsys::remove(s.at("m.004")); },
     {"--no-repair"},
     1,
     {"is incomplete", "m.004' missing", "can rebuild m.004"},
     "repairable with the recovery data in m.par2, m.vol0+1.par2"},
    {"NoRecoveryData",
     {"--no-recovery"},
     0,
     [](const Scene& s) { flip(s, "m.003"); },
     {},
     1,
     {"m.003' is damaged"},
     "no recovery data beside the set"},
    {"Par2CreatedOneDamaged",
     {},
     2,
     [](const Scene& s) { flip(s, "m.002"); },
     {},
     0,
     {"rebuilt m.002 from recovery data"},
     "repairable with the recovery data in theirs.par2, theirs.vol0+1.par2, theirs.vol1+1.par2"},
    {"Par2CreatedTwoLost",
     {},
     2,
     [](const Scene& s) {
         fsys::remove(s.at("m.001"));
         flip(s, "m.004");
     },
     {},
     0,
     {"rebuilt m.001", "rebuilt m.004"},
     "repairable with the recovery data in theirs.par2, theirs.vol0+1.par2, theirs.vol1+1.par2"},
};

class RebuildingMerge : public ::testing::TestWithParam<RebuildCase> {};

TEST_P(RebuildingMerge, RebuildsOrRefusesAndNeverChangesThePieces) {
    const RebuildCase& c = GetParam();
    const Scene scene;
    scene.write("source.bin", kSource);
    Names split = {"split", "@/source.bin", "-b", "10000", "-o", "@/m", "--no-script", "-q"};
    split.insert(split.end(), c.splitArgs.begin(), c.splitArgs.end());
    ASSERT_EQ(scene.run(split).status, 0);
    if (c.theirSlices > 0) {
        if (!havePar2()) {
            GTEST_SKIP() << "par2 is not installed";
        }
        removeOurRecoveryFiles(scene);
        ASSERT_EQ(par2(scene, "create -q -s10000 -c" + std::to_string(c.theirSlices) +
                                  " theirs.par2 m.001 m.002 m.003 m.004"),
                  0);
    }
    c.harm(scene);
    scene.write("out.bin", "old");
    std::map<std::string, std::string> before;
    for (const std::string& name : scene.names()) {
        before[name] = scene.read(name);
    }

    const Finished verify = scene.run({"verify", "@/m.001", "-q"});
    EXPECT_EQ(verify.status, 1) << "a damaged set stays damaged, however repairable";
    const std::string err = verify.err.substr(0, verify.err.size() - 1);
    EXPECT_TRUE(err.substr(err.rfind('\n') + 1).starts_with("tessark-cli: " + c.verifyLastLine))
        << verify.err;

    Names merge = {"merge", "@/m.001", "-o", "@/out.bin", "-f", "-q"};
    merge.insert(merge.end(), c.mergeArgs.begin(), c.mergeArgs.end());
    const Finished run = scene.run(merge);
    EXPECT_EQ(run.status, c.mergeStatus) << run.err;
    for (const std::string& text : c.mergeSays) {
        EXPECT_NE(run.err.find(text), std::string::npos) << "'" << text << "' in " << run.err;
    }
    EXPECT_TRUE(scene.read("out.bin") == (c.mergeStatus == 0 ? kSource : "old"));

    before.erase("out.bin");
    std::map<std::string, std::string> after;
    for (const std::string& name : scene.names()) {
        after[name] = scene.read(name);
    }
    after.erase("out.bin");
    EXPECT_TRUE(after == before) << "the pieces and recovery files stay as they were";
}

INSTANTIATE_TEST_SUITE_P(Sets, RebuildingMerge, ::testing::ValuesIn(kCases),
                         [](const auto& p) { return std::string(p.param.name); });

// The other way: `par2 repair` restores a piece of a set split here, with
// the recovery files the command line wrote, and a merge then needs none.
TEST(RecoveryFilesOfASplit, Par2RepairsThemByteForByte) {
    const Scene scene;
    scene.write("a b.bin", kSource);
    ASSERT_EQ(scene.run({"split", "@/a b.bin", "-b", "10000", "-r", "2", "-q"}).status, 0);
    const std::string second = scene.read("a b$.bin.002");
    fsys::remove(scene.at("a b$.bin.002"));
    flip(scene, "a b$.bin.004");
    if (!havePar2()) {
        GTEST_SKIP() << "par2 is not installed";
    }
    ASSERT_EQ(par2(scene, "repair -q 'a b$.bin.par2'"), 0);
    EXPECT_TRUE(scene.read("a b$.bin.002") == second);
    const Finished merge = scene.run({"merge", "@/a b$.bin.001", "-o", "@/out.bin", "-q"});
    EXPECT_EQ(merge.status, 0) << merge.err;
    EXPECT_EQ(merge.err, "");
    EXPECT_TRUE(scene.read("out.bin") == kSource);
}

}  // namespace
}  // namespace tessark::test
