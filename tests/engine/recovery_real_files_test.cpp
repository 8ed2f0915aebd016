// SPDX-License-Identifier: MIT
// Recovery files on real files: sets damaged in every way a transfer damages
// them are rebuilt byte for byte, and the files are read both ways by the
// common PAR 2.0 client (`par2`), when it is installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "engine/platform/native_file_system.h"
#include "engine/recovery/par2_check.h"
#include "engine/recovery/par2_create.h"
#include "engine/recovery/par2_rebuild.h"
#include "engine/split/split_plan.h"
#include "temp_folder.h"

namespace tessark {
namespace {

namespace fsys = std::filesystem;
using namespace recovery;

std::string readAll(const fsys::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const fsys::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

enum class Harm { Delete, Flip, Truncate, Extend };

struct Damage {
    std::size_t piece;
    Harm harm;
};

void harm(const fsys::path& path, Harm how) {
    std::string bytes = readAll(path);
    switch (how) {
        case Harm::Delete:
            fsys::remove(path);
            return;
        case Harm::Flip:
            bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x5a);
            break;
        case Harm::Truncate:
            bytes.resize(bytes.size() / 3);
            break;
        case Harm::Extend:
            bytes += "tail";
            break;
    }
    writeAll(path, bytes);
}

bool havePar2() {
    return std::system("command -v par2 >/dev/null 2>&1") == 0;
}

// Runs par2 in `folder`; its exit status.
int par2(const std::string& folder, const std::string& arguments) {
    const std::string command = "cd '" + folder + "' && par2 " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class RecoveryOnDisk : public ::testing::Test {
  protected:
    // Pieces BASE.001 ... of the given lengths, random bytes.
    void makePieces(const std::vector<std::int64_t>& lengths, const std::string& baseName = "m") {
        std::mt19937 random(static_cast<unsigned>(lengths.size() * 7919 + lengths.front()));
        names.clear();
        originals.clear();
        for (std::size_t i = 0; i < lengths.size(); ++i) {
            char suffix[32];
            std::snprintf(suffix, sizeof suffix, ".%03zu", i + 1);
            std::string bytes(static_cast<std::size_t>(lengths[i]), '\0');
            for (char& c : bytes) {
                c = static_cast<char>(random());
            }
            names.push_back(baseName + suffix);
            writeAll(at(names.back()), bytes);
            originals.push_back(bytes);
        }
        base = baseName;
    }
    fsys::path at(const std::string& name) const { return fsys::path(dir.path()) / name; }
    Text folder() const { return fromUtf8(dir.path()); }
    std::vector<Text> pieceNames() const {
        std::vector<Text> out;
        for (const auto& name : names) {
            out.push_back(fromUtf8(name));
        }
        return out;
    }
    void protect(std::uint32_t count, std::int64_t slice = 0,
                 std::int64_t memory = kRecoveryMemory) {
        CreateRequest request;
        for (const auto& name : names) {
            request.pieces.push_back(fromUtf8(at(name).string()));
        }
        request.base = fromUtf8(at(base).string());
        request.sliceSize = slice;
        request.recoverySlices = count;
        request.memory = memory;
        const auto outcome = protectPieces(*fs, request, {});
        ASSERT_TRUE(std::holds_alternative<ProtectOutcome>(outcome));
        ASSERT_EQ(std::get<ProtectOutcome>(outcome), ProtectOutcome::Written);
    }
    RecoveryCheck check() {
        Progress progress;
        auto found = checkRecovery(*fs, folder(), pieceNames(), {}, progress, {});
        EXPECT_TRUE(found.has_value());
        return found.value_or(RecoveryCheck{});
    }
    RebuildOutcome repair(std::int64_t memory = kRecoveryMemory) {
        Progress progress;
        return repairInPlace(*fs, check(), progress, {}, memory).outcome;
    }
    void expectOriginals() {
        for (std::size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(readAll(at(names[i])), originals[i]) << names[i];
        }
    }

    test::TempFolder dir;
    std::unique_ptr<FileSystem> fs = makeNativeFileSystem();
    std::vector<std::string> names;
    std::vector<std::string> originals;
    std::string base;
};

struct RebuildCase {
    const char* name;
    std::vector<std::int64_t> lengths;
    std::int64_t slice;  // 0: one slice per piece
    std::uint32_t recovery;
    std::vector<Damage> damage;
    bool harmVolume;  // a byte of the first volume's recovery data flipped
    RebuildOutcome expected;
    std::int64_t memory = kRecoveryMemory;  // small: many window passes
};

class Rebuilds : public RecoveryOnDisk, public ::testing::WithParamInterface<RebuildCase> {};

TEST_P(Rebuilds, RestoreEveryPieceByteForByte) {
    const RebuildCase& c = GetParam();
    makePieces(c.lengths);
    protect(c.recovery, c.slice, c.memory);
    EXPECT_FALSE(check().anyDamage());
    for (const Damage& d : c.damage) {
        harm(at(names[d.piece]), d.harm);
    }
    if (c.harmVolume) {
        harm(at(base + ".vol0+1.par2"), Harm::Flip);
    }
    const auto before = check();
    EXPECT_TRUE(before.setFound);
    EXPECT_EQ(before.repairable(), c.expected == RebuildOutcome::Rebuilt);
    ASSERT_EQ(repair(c.memory), c.expected);
    if (c.expected != RebuildOutcome::Rebuilt) {
        return;
    }
    expectOriginals();
    for (const Damage& d : c.damage) {
        EXPECT_EQ(fsys::exists(at(names[d.piece] + ".damaged")), d.harm != Harm::Delete);
    }
    EXPECT_FALSE(check().anyDamage());
}

INSTANTIATE_TEST_SUITE_P(
    Table, Rebuilds,
    ::testing::Values(RebuildCase{"OneDeleted",
                                  {4000, 4000, 4000, 1234},
                                  0,
                                  1,
                                  {{1, Harm::Delete}},
                                  false,
                                  RebuildOutcome::Rebuilt},
                      RebuildCase{"ShortLastFlipped",
                                  {4001, 4001, 17},
                                  0,
                                  1,
                                  {{2, Harm::Flip}},
                                  false,
                                  RebuildOutcome::Rebuilt},
                      RebuildCase{"TwoLost",
                                  {3000, 3000, 3000, 3000, 5},
                                  0,
                                  2,
                                  {{0, Harm::Flip}, {4, Harm::Delete}},
                                  false,
                                  RebuildOutcome::Rebuilt},
                      RebuildCase{"ThreeOfFive",
                                  {999, 999, 999, 999, 999, 998},
                                  0,
                                  5,
                                  {{0, Harm::Delete}, {2, Harm::Truncate}, {5, Harm::Flip}},
                                  false,
                                  RebuildOutcome::Rebuilt},
                      RebuildCase{"LongerPieceCut",
                                  {2000, 2000, 700},
                                  0,
                                  1,
                                  {{1, Harm::Extend}},
                                  false,
                                  RebuildOutcome::Rebuilt},
                      RebuildCase{"DamagedVolumePassedOver",
                                  {5000, 5000, 5000},
                                  0,
                                  2,
                                  {{1, Harm::Delete}},
                                  true,
                                  RebuildOutcome::Rebuilt},
                      RebuildCase{"TooFewSlices",
                                  {5000, 5000, 5000},
                                  0,
                                  1,
                                  {{0, Harm::Delete}, {2, Harm::Flip}},
                                  false,
                                  RebuildOutcome::NotEnough},
                      RebuildCase{"SeveralSlicesPerPiece",
                                  {4000, 4000, 4000, 2500},
                                  1000,
                                  6,
                                  {{0, Harm::Flip}, {3, Harm::Delete}},
                                  false,
                                  RebuildOutcome::Rebuilt},
                      // Slices of 40 KB through windows of 4 KiB: passes each way.
                      RebuildCase{"WindowPasses",
                                  {40000, 40000, 40000, 12345},
                                  0,
                                  2,
                                  {{1, Harm::Flip}, {3, Harm::Delete}},
                                  false,
                                  RebuildOutcome::Rebuilt,
                                  4096},
                      RebuildCase{"WindowPassesSeveralSlices",
                                  {40000, 40000, 30001},
                                  16000,
                                  4,
                                  {{0, Harm::Truncate}, {2, Harm::Flip}},
                                  false,
                                  RebuildOutcome::Rebuilt,
                                  8192}),
    [](const auto& p) { return std::string(p.param.name); });

// Our recovery files read by par2: accepted whole, and used to repair.
struct OursCase {
    const char* name;
    const char* base;
    std::vector<std::int64_t> lengths;
    std::uint32_t recovery;
    std::vector<Damage> damage;
};

class OursReadByPar2 : public RecoveryOnDisk, public ::testing::WithParamInterface<OursCase> {};

TEST_P(OursReadByPar2, VerifiesAndRepairs) {
    if (!havePar2()) {
        GTEST_SKIP() << "par2 is not installed";
    }
    const OursCase& c = GetParam();
    makePieces(c.lengths, c.base);
    protect(c.recovery);
    const std::string index = "'" + base + ".par2'";
    ASSERT_EQ(par2(dir.path(), "verify -q " + index), 0);
    for (const Damage& d : c.damage) {
        harm(at(names[d.piece]), d.harm);
    }
    ASSERT_EQ(par2(dir.path(), "repair -q " + index), 0);
    expectOriginals();
}

INSTANTIATE_TEST_SUITE_P(
    Table, OursReadByPar2,
    ::testing::Values(
        OursCase{"OneDeleted", "m", {10000, 10000, 10000, 3333}, 1, {{2, Harm::Delete}}},
        OursCase{"SpacesAndChinese", "a b 文件$.txt", {6000, 6000, 6000, 6}, 1, {{3, Harm::Flip}}},
        OursCase{"TwoOfSeven",
                 "m",
                 {4096, 4096, 4096, 4096, 4096, 4096, 1},
                 3,
                 {{0, Harm::Flip}, {6, Harm::Delete}}}),
    [](const auto& p) { return std::string(p.param.name); });

// Sets protected by par2 create, repaired here.
struct TheirsCase {
    const char* name;
    std::vector<std::int64_t> lengths;
    std::int64_t slice;
    std::uint32_t recovery;
    std::vector<Damage> damage;
};

class Par2SetsRepaired : public RecoveryOnDisk, public ::testing::WithParamInterface<TheirsCase> {};

TEST_P(Par2SetsRepaired, ByteForByte) {
    if (!havePar2()) {
        GTEST_SKIP() << "par2 is not installed";
    }
    const TheirsCase& c = GetParam();
    makePieces(c.lengths);
    std::string files;
    for (const auto& name : names) {
        files += " " + name;
    }
    ASSERT_EQ(par2(dir.path(), "create -q -s" + std::to_string(c.slice) + " -c" +
                                   std::to_string(c.recovery) + " theirs.par2" + files),
              0);
    for (const Damage& d : c.damage) {
        harm(at(names[d.piece]), d.harm);
    }
    const auto found = check();
    ASSERT_TRUE(found.setFound);
    EXPECT_TRUE(found.anyDamage());
    ASSERT_EQ(repair(), RebuildOutcome::Rebuilt);
    expectOriginals();
    EXPECT_EQ(par2(dir.path(), "verify -q theirs.par2"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Par2SetsRepaired,
    ::testing::Values(
        TheirsCase{"OneDamaged", {8000, 8000, 8000, 8000}, 8000, 1, {{1, Harm::Flip}}},
        TheirsCase{
            "TwoDamaged", {8000, 8000, 8000, 8000}, 8000, 3, {{0, Harm::Delete}, {3, Harm::Flip}}},
        TheirsCase{"AllItCanShortLast",
                   {8000, 8000, 8000, 8000, 100},
                   8000,
                   3,
                   {{0, Harm::Flip}, {2, Harm::Delete}, {4, Harm::Delete}}},
        TheirsCase{"SeveralSlicesPerFile",
                   {8000, 8000, 8000, 5000},
                   2000,
                   5,
                   {{1, Harm::Truncate}, {3, Harm::Flip}}}),
    [](const auto& p) { return std::string(p.param.name); });

// The split writes recovery files par2 accepts, keeps them out of a stopped
// run, and never lets one of their names reach the source.
class SplitRecoveryFiles : public RecoveryOnDisk {
  protected:
    std::variant<SplitRefusal, SplitPlan> plan(const std::string& target, std::int64_t block,
                                               int recovery = 1) {
        SplitRequest request;
        request.source = fromUtf8(at("source.bin").string());
        request.target = fromUtf8(at(target).string());
        request.block = BlockSize::ofBytes(block);
        request.writeChecksum = true;
        request.recoverySlices = recovery;
        return planSplit(*fs, request);
    }
    std::string source = std::string(100003, '\0');
    void SetUp() override {
        std::mt19937 random(7);
        for (char& c : source) {
            c = static_cast<char>(random());
        }
        writeAll(at("source.bin"), source);
    }
};

TEST_F(SplitRecoveryFiles, Par2VerifiesAndRepairsAFreshSplit) {
    const std::string target = "a b 文件$.bin";
    const auto checked = plan(target, 30001);
    ASSERT_TRUE(std::holds_alternative<SplitPlan>(checked));
    const auto& planned = std::get<SplitPlan>(checked);
    EXPECT_EQ(planned.recovery, SplitRecovery::On);
    ASSERT_EQ(runSplit(*fs, planned, {}), RunOutcome::Completed);
    EXPECT_TRUE(fsys::exists(at(target + ".par2")));
    EXPECT_TRUE(fsys::exists(at(target + ".vol0+1.par2")));
    if (!havePar2()) {
        GTEST_SKIP() << "par2 is not installed";
    }
    const std::string index = "'" + target + ".par2'";
    ASSERT_EQ(par2(dir.path(), "verify -q " + index), 0);
    const std::string last = readAll(at(target + ".004"));
    fsys::remove(at(target + ".004"));
    ASSERT_EQ(par2(dir.path(), "repair -q " + index), 0);
    EXPECT_EQ(readAll(at(target + ".004")), last);
    const std::string second = readAll(at(target + ".002"));
    harm(at(target + ".002"), Harm::Flip);
    ASSERT_EQ(par2(dir.path(), "repair -q " + index), 0);
    EXPECT_EQ(readAll(at(target + ".002")), second);
}

TEST_F(SplitRecoveryFiles, AStopWhileComputingLeavesNothing) {
    const auto checked = plan("m", 20000, 3);
    ASSERT_TRUE(std::holds_alternative<SplitPlan>(checked));
    int atTheEnd = 0;
    const auto outcome = runSplit(*fs, std::get<SplitPlan>(checked), [&](const Progress& p) {
        return p.piecesDone < p.piecesTotal || ++atTheEnd < 3;
    });
    EXPECT_EQ(outcome, RunOutcome::Stopped);
    EXPECT_GE(atTheEnd, 3) << "the computation heard the stop";
    std::vector<std::string> left;
    for (const auto& entry : fsys::directory_iterator(dir.path())) {
        left.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(left, std::vector<std::string>{"source.bin"});
}

TEST_F(SplitRecoveryFiles, ALinkToTheSourceUnderARecoveryNameIsRefused) {
    for (const bool symbolic : {true, false}) {
        for (const std::string name : {"m.par2", "m.vol0+1.par2"}) {
            if (symbolic) {
                fsys::create_symlink(at("source.bin"), at(name));
            } else {
                fsys::create_hard_link(at("source.bin"), at(name));
            }
            const auto checked = plan("m", 30000);
            ASSERT_TRUE(std::holds_alternative<SplitRefusal>(checked)) << name;
            EXPECT_EQ(std::get<SplitRefusal>(checked).check, SplitCheck::TargetIsSource);
            fsys::remove(at(name));
        }
    }
    EXPECT_EQ(readAll(at("source.bin")), source);
}

TEST_F(SplitRecoveryFiles, MoreThan32768PiecesGetNone) {
    writeAll(at("source.bin"), std::string(32769, 'x'));
    const auto checked = plan("m", 1);
    ASSERT_TRUE(std::holds_alternative<SplitPlan>(checked));
    EXPECT_EQ(std::get<SplitPlan>(checked).recovery, SplitRecovery::TooManyPieces);
    EXPECT_TRUE(std::get<SplitPlan>(checked).recoveryPaths().empty());
}

}  // namespace
}  // namespace tessark
