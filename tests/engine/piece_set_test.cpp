// SPDX-License-Identifier: MIT
// Piece sets with pieces missing, and Add of a large set in one batch.
#include <gtest/gtest.h>

#include "engine/merge/piece_list.h"
#include "engine/set/piece_set.h"
#include "fake_file_system.h"
#include "fake_window.h"
#include "forms/merge_list.h"

namespace tessark {
namespace {

using test::FakeFileSystem;

struct GapCase {
    const char* name;
    std::vector<Text> present;                            // in D:\x
    std::vector<Text> listed;                             // what Add lists, bare names
    Text warning;                                         // empty: none
    std::optional<std::int64_t> numbered = std::nullopt;  // exactly 1..n, as a split names them
};

void PrintTo(const GapCase& c, std::ostream* os) {
    *os << c.name;
}

class Gaps : public ::testing::TestWithParam<GapCase> {};

TEST_P(Gaps, AddListsWhatIsThereAndNamesTheFirstMissingPiece) {
    const GapCase& c = GetParam();
    FakeFileSystem fs;
    fs.addFolder(u"D:\\x");
    for (const Text& name : c.present) {
        fs.addFile(u"D:\\x\\" + name, "p");
    }
    test::FakeWindow w;
    auto controls = w.controls();
    addPiecesFrom(controls, fs, u"D:\\x\\x.001");

    std::vector<Text> listed;
    for (const Text& item : w.List1.items) {
        listed.push_back(item.substr(5));
    }
    EXPECT_EQ(listed, c.listed);
    EXPECT_EQ(w.Text4.value, u"D:\\x\\x") << "the name is proposed all the same";
    // A numbered run names the very pieces Add lists.
    const std::int64_t counted = readPieceSet(fs, u"D:\\x\\x.001").run;
    EXPECT_EQ(counted > 0 ? std::optional(counted) : std::nullopt, c.numbered);
    if (c.numbered) {
        const PieceList run = PieceList::numbered(u"D:\\x\\x.001", *c.numbered);
        ASSERT_EQ(run.size(), w.List1.count());
        for (std::int64_t i = 0; i < run.size(); ++i) {
            EXPECT_EQ(run[i], w.List1.items[static_cast<std::size_t>(i)]);
        }
    }
    if (c.warning.empty()) {
        EXPECT_TRUE(w.messages.shown.empty());
    } else {
        ASSERT_EQ(w.messages.shown.size(), 1u);
        EXPECT_EQ(w.messages.shown[0].prompt, c.warning);
        EXPECT_EQ(w.messages.shown[0].style, 48);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sets, Gaps,
    ::testing::Values(
        GapCase{"Complete", {u"x.001", u"x.002", u"x.003"}, {u"x.001", u"x.002", u"x.003"}, u"", 3},
        GapCase{"OtherNamesBeside",
                {u"x.001", u"x.002", u"x.txt", u"x.000"},
                {u"x.001", u"x.002"},
                u"",
                2},
        GapCase{"InTheMiddle",
                {u"x.001", u"x.002", u"x.003", u"x.005", u"x.007"},
                {u"x.001", u"x.002", u"x.003", u"x.005", u"x.007"},
                u"文件不完整，缺少 x.004 !"},
        GapCase{
            "SecondOfTwo", {u"x.001", u"x.003"}, {u"x.001", u"x.003"}, u"文件不完整，缺少 x.002 !"},
        GapCase{
            "FirstPiece", {u"x.002", u"x.003"}, {u"x.002", u"x.003"}, u"文件不完整，缺少 x.001 !"},
        GapCase{"PastNineHundredNinetyNine",
                {u"x.001", u"x.999", u"x.1001"},
                {u"x.001", u"x.999", u"x.1001"},
                u"文件不完整，缺少 x.002 !"},
        GapCase{"AfterTheLastIsNoGap", {u"x.001", u"x.002"}, {u"x.001", u"x.002"}, u"", 2},
        GapCase{"ANumberSpelledShort",
                {u"x.001", u"x.002", u"x.03"},
                {u"x.001", u"x.002", u"x.03"},
                u""},
        GapCase{"LeadingZerosOfOneNumber",
                {u"x.001", u"x.0001", u"x.002"},
                {u"x.0001", u"x.001", u"x.002"},
                u""}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(PieceSet, ListsEachMissingPieceUpToTheLimit) {
    FakeFileSystem fs(u'/');
    fs.addFolder(u"/d");
    fs.addFile(u"/d/x.001", "p");
    fs.addFile(u"/d/x.004", "p");
    fs.addFile(u"/d/x.1000", "p");
    const PieceSet set = readPieceSet(fs, u"/d/x.001");
    ASSERT_EQ(set.pieces.size(), 3u);
    EXPECT_EQ(set.pieces[2].number, 1000);
    EXPECT_EQ(set.pathOf(set.pieces[2]), u"/d/x.1000");
    ASSERT_EQ(set.missing.size(), kMaxMissing);
    EXPECT_EQ(set.missing[0], u"x.002");
    EXPECT_EQ(set.missing[1], u"x.003");
    EXPECT_EQ(set.missing[2], u"x.005");
}

TEST(AddBatch, ALargeSetReachesTheListInOneBatch) {
    FakeFileSystem fs(u'/');
    fs.addFolder(u"/d");
    constexpr std::int64_t kPieces = 5000;
    for (std::int64_t n = 1; n <= kPieces; ++n) {
        fs.addFile(pieceName(u"/d/big", n), "");
    }
    test::FakeWindow w;
    w.List1.items = {u"/d/other"};
    auto controls = w.controls();
    addPiecesFrom(controls, fs, u"/d/big.001");

    ASSERT_EQ(w.List1.count(), kPieces + 1);
    EXPECT_EQ(w.List1.items[1], u"/d/big.001");
    EXPECT_EQ(w.List1.items[kPieces], u"/d/big.5000");
    EXPECT_EQ(w.List1.addItemsCalls, 1);
    EXPECT_EQ(w.List1.addItemCalls, 0);
    EXPECT_TRUE(w.messages.shown.empty());
}

TEST(AddBatch, AListedMemberStopsTheAddAfterTheOnesBeforeIt) {
    FakeFileSystem fs(u'/');
    fs.addFolder(u"/d");
    for (const char16_t* name : {u"/d/x.001", u"/d/x.002", u"/d/x.003"}) {
        fs.addFile(name, "");
    }
    test::FakeWindow w;
    w.List1.items = {u"x.003"};  // a bare name counts for a set
    w.Text4.value = u"keep";
    auto controls = w.controls();
    addPiecesFrom(controls, fs, u"/d/x.001");

    EXPECT_EQ(w.List1.items, (std::vector<Text>{u"x.003", u"/d/x.001", u"/d/x.002"}));
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].prompt, u"该文件已存在列表中!");
    EXPECT_EQ(w.Text4.value, u"keep");
}

}  // namespace
}  // namespace tessark
