// SPDX-License-Identifier: MIT
// Recovery files through the Win32 file system on a real drive: the split
// writes them, and an in-place repair renames the damaged piece and puts the
// rebuilt one in its place.
#include <gtest/gtest.h>

#include "engine/platform/native_file_system.h"
#include "engine/recovery/par2_check.h"
#include "engine/recovery/par2_rebuild.h"
#include "engine/split/split_plan.h"
#include "win32_test_drive.h"

namespace tessark {
namespace {

TEST(Win32Recovery, SplitThenRepairAMissingAndADamagedPiece) {
    test::ScratchFolder dir;
    const auto fs = makeNativeFileSystem();
    const std::string source = test::sampleBytes(50000, 3);
    test::writeWholeFile(dir / u"src.bin", source);
    SplitRequest request;
    request.source = dir / u"src.bin";
    request.target = dir / u"影片 m";
    request.block = BlockSize::ofBytes(12001);
    request.writeScript = false;
    request.recoverySlices = 2;
    const auto checked = planSplit(*fs, request);
    ASSERT_TRUE(std::holds_alternative<SplitPlan>(checked));
    ASSERT_EQ(runSplit(*fs, std::get<SplitPlan>(checked), {}), RunOutcome::Completed);
    ASSERT_TRUE(fs->fileExists(dir / u"影片 m.par2"));
    ASSERT_TRUE(fs->fileExists(dir / u"影片 m.vol1+1.par2"));

    fs->removeFile(dir / u"影片 m.002");
    std::string third = source.substr(24002, 12001);
    third[5] = static_cast<char>(third[5] ^ 1);
    test::writeWholeFile(dir / u"影片 m.003", third);

    const std::vector<Text> names{u"影片 m.001", u"影片 m.002", u"影片 m.003", u"影片 m.004",
                                  u"影片 m.005"};
    Progress progress;
    const auto check = recovery::checkRecovery(*fs, dir.path(), names, {}, progress, {});
    ASSERT_TRUE(check && check->repairable());
    EXPECT_EQ(check->lostSlices, 2);
    const auto result = recovery::repairInPlace(*fs, *check, progress, {});
    ASSERT_EQ(result.outcome, recovery::RebuildOutcome::Rebuilt);
    std::string joined;
    for (const Text& name : names) {
        joined += test::readWholeFile(dir / name);
    }
    EXPECT_TRUE(joined == source);
    EXPECT_TRUE(test::readWholeFile(dir / u"影片 m.003.damaged") == third);
}

}  // namespace
}  // namespace tessark
