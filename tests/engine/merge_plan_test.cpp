// SPDX-License-Identifier: MIT
// The merge as values: refusals, and a stop that leaves the old output.
#include <gtest/gtest.h>

#include "engine/merge/merge_plan.h"
#include "fake_file_system.h"

namespace tessark {
namespace {

using test::FakeFileSystem;

struct RefusalCase {
    const char* name;
    Text output;
    std::vector<Text> pieces;
    std::optional<MergeCheck> refused;
    bool replaces = false;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class MergePlanTable : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(MergePlanTable, RefusesOrPlans) {
    FakeFileSystem fs(u'/');
    fs.addFolder(u"/out");
    fs.addFile(u"/out/old", "old");
    fs.addFile(u"/p.001", "a");
    const RefusalCase& c = GetParam();
    const auto result = planMerge(fs, {c.output, c.pieces});
    if (c.refused) {
        ASSERT_TRUE(std::holds_alternative<MergeRefusal>(result));
        EXPECT_EQ(std::get<MergeRefusal>(result).check, *c.refused);
    } else {
        ASSERT_TRUE(std::holds_alternative<MergePlan>(result));
        EXPECT_EQ(std::get<MergePlan>(result).replacesExisting, c.replaces);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Requests, MergePlanTable,
    ::testing::Values(RefusalCase{"New", u" /out/new ", {u"/p.001"}, {}, false},
                      RefusalCase{"Replaces", u"/out/old", {u"/p.001"}, {}, true},
                      RefusalCase{"NoOutput", u" ", {u"/p.001"}, MergeCheck::NoOutput},
                      RefusalCase{"Folder", u"/out/", {u"/p.001"}, MergeCheck::OutputIsFolder},
                      RefusalCase{
                          "NoFolder", u"/nowhere/x", {u"/p.001"}, MergeCheck::OutputFolderMissing},
                      RefusalCase{"BareName", u"x", {u"/p.001"}, MergeCheck::OutputFolderMissing},
                      RefusalCase{"NoPieces", u"/out/new", {}, MergeCheck::NoPieces}),
    [](const auto& p) { return std::string(p.param.name); });

class MergeStop : public ::testing::TestWithParam<int> {};

TEST_P(MergeStop, LeavesTheOldOutputAndNoStrayFile) {
    test::ChunkyFileSystem fs(u'/', 2);
    fs.addFolder(u"/out");
    fs.addFile(u"/out/m", "old output");
    fs.addFile(u"/out/m.001", "abcd");
    fs.addFile(u"/out/m.002", "efgh");
    const auto before = fs.allFiles();
    const auto plan =
        std::get<MergePlan>(planMerge(fs, {u"/out/m", {u"/out/m.001", u"/out/m.002"}}));
    int calls = 0;
    EXPECT_EQ(runMerge(fs, plan, [&](const Progress&) { return calls++ < GetParam(); }).result,
              MergeResult::Stopped);
    EXPECT_EQ(fs.contents(u"/out/m"), "old output");
    EXPECT_EQ(fs.allFiles(), before);
    EXPECT_EQ(fs.openHandles(), 0);
}

// Calls: 0 before the first piece, 1 inside it, 2 before the second, 3
// inside it, 4 when all are joined.
INSTANTIATE_TEST_SUITE_P(EveryMoment, MergeStop, ::testing::Values(0, 1, 2, 3, 4));

TEST(MergeRun, CompletesWithTheBytesInOrder) {
    test::ChunkyFileSystem fs(u'/', 2);
    fs.addFolder(u"/out");
    fs.addFile(u"/out/m.001", "abcd");
    fs.addFile(u"/out/m.002", "ef");
    const auto plan =
        std::get<MergePlan>(planMerge(fs, {u"/out/m", {u"/out/m.001", u"/out/m.002"}}));
    Progress last;
    EXPECT_EQ(runMerge(fs, plan,
                       [&](const Progress& p) {
                           last = p;
                           return true;
                       })
                  .result,
              MergeResult::Joined);
    EXPECT_EQ(fs.contents(u"/out/m"), "abcdef");
    EXPECT_EQ(last.bytesDone, 6);
    EXPECT_EQ(last.bytesTotal, 6);
    EXPECT_EQ(last.piecesDone, 2);
}

}  // namespace
}  // namespace tessark
