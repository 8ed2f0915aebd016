// SPDX-License-Identifier: MIT
// The rebuild through the whole engine on the in-memory disk, so that the
// same table runs with Windows' hashes under wine: sets protected, damaged,
// checked and repaired in place.
#include <gtest/gtest.h>

#include "engine/core/runtime_error.h"
#include "engine/recovery/par2_check.h"
#include "engine/recovery/par2_create.h"
#include "engine/recovery/par2_rebuild.h"
#include "fake_file_system.h"

namespace tessark {
namespace {

using namespace recovery;

enum class Harm { Delete, Flip, Cut };

struct Row {
    const char* name;
    std::vector<std::int64_t> lengths;
    std::uint32_t recovery;
    std::vector<std::pair<std::size_t, Harm>> damage;
    std::int64_t memory;
    RebuildOutcome expected;
    std::int64_t lost;  // slices the check finds lost
};

class FakeDiskRebuilds : public ::testing::TestWithParam<Row> {};

TEST_P(FakeDiskRebuilds, RepairInPlaceRestoresThePieces) {
    const Row& row = GetParam();
    test::FakeFileSystem fs(u'/');
    fs.addFolder(u"/d");
    CreateRequest request;
    std::vector<Text> names;
    std::vector<std::string> originals;
    for (std::size_t i = 0; i < row.lengths.size(); ++i) {
        std::string bytes(static_cast<std::size_t>(row.lengths[i]), '\0');
        for (std::size_t k = 0; k < bytes.size(); ++k) {
            bytes[k] = static_cast<char>((k * 131 + i * 7919) % 251);
        }
        names.push_back(u"m.00" + decimal(static_cast<std::int64_t>(i + 1)));
        fs.addFile(u"/d/" + names.back(), bytes);
        originals.push_back(bytes);
        request.pieces.push_back(u"/d/" + names.back());
    }
    request.base = u"/d/m";
    request.recoverySlices = row.recovery;
    request.memory = row.memory;
    ASSERT_EQ(std::get<ProtectOutcome>(protectPieces(fs, request, {})), ProtectOutcome::Written);
    for (const auto& [piece, harm] : row.damage) {
        const Text path = request.pieces[piece];
        std::string bytes = *fs.contents(path);
        switch (harm) {
            case Harm::Delete:
                fs.remove(path);
                continue;
            case Harm::Flip:
                bytes[bytes.size() - 1] = static_cast<char>(bytes.back() ^ 0x40);
                break;
            case Harm::Cut:
                bytes.resize(bytes.size() / 2);
                break;
        }
        fs.addFile(path, bytes);
    }
    Progress progress;
    const auto check = checkRecovery(fs, u"/d", names, {}, progress, {});
    ASSERT_TRUE(check && check->setFound);
    EXPECT_EQ(check->lostSlices, row.lost);
    EXPECT_EQ(check->recoverySlices(), row.recovery);
    const auto result = repairInPlace(fs, *check, progress, {}, row.memory);
    ASSERT_EQ(result.outcome, row.expected);
    if (row.expected != RebuildOutcome::Rebuilt) {
        return;
    }
    EXPECT_EQ(result.repaired.size(), row.damage.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(fs.contents(request.pieces[i]), originals[i]) << toUtf8(names[i]);
    }
    EXPECT_EQ(fs.openHandles(), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, FakeDiskRebuilds,
                         ::testing::Values(Row{"OneMissing",
                                               {3000, 3000, 3000},
                                               1,
                                               {{0, Harm::Delete}},
                                               kRecoveryMemory,
                                               RebuildOutcome::Rebuilt,
                                               1},
                                           Row{"ShortLastDamaged",
                                               {3001, 3001, 5},
                                               1,
                                               {{2, Harm::Flip}},
                                               kRecoveryMemory,
                                               RebuildOutcome::Rebuilt,
                                               1},
                                           Row{"ThreeOfFour",
                                               {2000, 2000, 2000, 1999},
                                               3,
                                               {{0, Harm::Cut}, {1, Harm::Delete}, {3, Harm::Flip}},
                                               kRecoveryMemory,
                                               RebuildOutcome::Rebuilt,
                                               3},
                                           Row{"WindowPasses",
                                               {30000, 30000, 30000, 77},
                                               2,
                                               {{1, Harm::Flip}, {3, Harm::Delete}},
                                               4096,
                                               RebuildOutcome::Rebuilt,
                                               2},
                                           Row{"TooFew",
                                               {3000, 3000, 3000},
                                               1,
                                               {{0, Harm::Delete}, {1, Harm::Flip}},
                                               kRecoveryMemory,
                                               RebuildOutcome::NotEnough,
                                               2}),
                         [](const auto& p) { return std::string(p.param.name); });

// A stop part-way through leaves every piece as it was.
TEST(FakeDiskRebuild, AStopChangesNoPiece) {
    test::FakeFileSystem fs(u'/');
    fs.addFolder(u"/d");
    fs.addFile(u"/d/m.001", std::string(5000, 'a'));
    fs.addFile(u"/d/m.002", std::string(5000, 'b'));
    CreateRequest request{{u"/d/m.001", u"/d/m.002"}, u"/d/m", 0, 1, {}};
    ASSERT_EQ(std::get<ProtectOutcome>(protectPieces(fs, request, {})), ProtectOutcome::Written);
    fs.addFile(u"/d/m.002", std::string(5000, 'c'));
    Progress progress;
    const auto check = checkRecovery(fs, u"/d", {u"m.001", u"m.002"}, {}, progress, {});
    ASSERT_TRUE(check);
    int calls = 0;
    const auto result =
        repairInPlace(fs, *check, progress, [&](const Progress&) { return ++calls < 2; });
    EXPECT_EQ(result.outcome, RebuildOutcome::Stopped);
    EXPECT_EQ(fs.contents(u"/d/m.002"), std::string(5000, 'c'));
    EXPECT_FALSE(fs.has(u"/d/m.002.damaged"));
}

}  // namespace
}  // namespace tessark

namespace tessark {
namespace {

// Recovery data that changes between the check and the rebuild gives wrong
// bytes: the repair says so and changes no piece.
TEST(FakeDiskRebuild, RecoveryDataChangedAfterTheCheckIsCaught) {
    test::FakeFileSystem fs(u'/');
    fs.addFolder(u"/d");
    fs.addFile(u"/d/m.001", std::string(5000, 'a'));
    fs.addFile(u"/d/m.002", std::string(5000, 'b'));
    CreateRequest request{{u"/d/m.001", u"/d/m.002"}, u"/d/m", 0, 1, {}};
    ASSERT_EQ(std::get<ProtectOutcome>(protectPieces(fs, request, {})), ProtectOutcome::Written);
    fs.remove(u"/d/m.002");
    Progress progress;
    const auto check = checkRecovery(fs, u"/d", {u"m.001", u"m.002"}, {}, progress, {});
    ASSERT_TRUE(check && check->repairable());
    std::string volume = *fs.contents(u"/d/m.vol0+1.par2");
    volume[100] = static_cast<char>(volume[100] ^ 1);
    fs.addFile(u"/d/m.vol0+1.par2", volume);
    EXPECT_EQ(repairInPlace(fs, *check, progress, {}).outcome, RebuildOutcome::WrongResult);
    EXPECT_FALSE(fs.has(u"/d/m.002"));
}

}  // namespace
}  // namespace tessark

namespace tessark {
namespace {

// The merge's way: pieces whose SHA-256 matched are known good and not read
// again; the joined output gets the sound pieces whole, the sound slices of a
// damaged piece and the sink's bytes at their places.
TEST(FakeDiskRebuild, AMergeWritesTheRebuiltBytesStraightIntoItsOutput) {
    test::FakeFileSystem fs(u'/');
    fs.addFolder(u"/d");
    std::string whole;
    for (int i = 0; i < 4; ++i) {
        whole += std::string(i == 3 ? 1500 : 4000, static_cast<char>('k' + i));
    }
    whole[4100] = 'X';
    const std::vector<Text> names{u"m.001", u"m.002", u"m.003", u"m.004"};
    CreateRequest request{{}, u"/d/m", 1000, 5, {}};
    for (std::size_t i = 0; i < names.size(); ++i) {
        fs.addFile(u"/d/" + names[i], whole.substr(i * 4000, 4000));
        request.pieces.push_back(u"/d/" + names[i]);
    }
    ASSERT_EQ(std::get<ProtectOutcome>(protectPieces(fs, request, {})), ProtectOutcome::Written);
    std::string damaged = whole.substr(4000, 4000);
    damaged[3999] = '!';  // the last of four slices
    fs.addFile(u"/d/m.002", damaged);
    fs.remove(u"/d/m.003");
    // Known good, so never opened: the fault would make the check throw.
    fs.injectFault(test::FakeFileSystem::Op::OpenRead, u"/d/m.001", 57);
    const std::vector<PieceKnown> known{PieceKnown::Good, PieceKnown::Unknown, PieceKnown::Unknown,
                                        PieceKnown::Good};
    Progress progress;
    const auto check = checkRecovery(fs, u"/d", names, known, progress, {});
    ASSERT_TRUE(check && check->repairable());
    EXPECT_EQ(check->lostSlices, 5);  // one slice of m.002, all four of m.003
    EXPECT_THROW(fs.openRead(u"/d/m.001"), RuntimeError) << "the check left it unopened";

    auto out = fs.createStaged(u"/d/joined");
    std::vector<std::int64_t> starts{0};
    for (const auto& piece : check->pieceReports) {
        starts.push_back(starts.back() + piece.expectedLength);
    }
    out->writeAt(0, std::as_bytes(std::span(whole.data(), 4000)));
    out->writeAt(12000, std::as_bytes(std::span(whole.data() + 12000, 1500)));
    ASSERT_TRUE(copySoundSlices(fs, *check, 1, *out, starts[1], progress, {}));
    const RebuildSink sink = [&](std::size_t piece, std::int64_t offset,
                                 std::span<const std::byte> bytes) {
        out->writeAt(starts[piece] + offset, bytes);
    };
    ASSERT_EQ(rebuildLost(fs, *check, sink, progress, {}), RebuildOutcome::Rebuilt);
    out->commit();
    EXPECT_TRUE(fs.contents(u"/d/joined") == whole);
}

}  // namespace
}  // namespace tessark
