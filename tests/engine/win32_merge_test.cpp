// SPDX-License-Identifier: MIT
// The merge on a real drive: the output is staged in a temporary file beside
// it and moved into place, which only the real file system can prove.
#include <windows.h>

#include <gtest/gtest.h>

#include "engine/platform/native_file_system.h"
#include "fake_window.h"
#include "forms/merge_form.h"
#include "win32_test_drive.h"

namespace tessark {
namespace {

using test::readWholeFile;
using test::writeWholeFile;

class Win32MergeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        writeWholeFile(dir / u"clip.avi.001", "first piece, ");
        writeWholeFile(dir / u"clip.avi.002", "second piece");
        window.List1.items = {dir / u"clip.avi.001", dir / u"clip.avi.002"};
        window.Text4.value = dir / u"clip.avi";
    }

    // Nothing of the staging is left behind, whatever the outcome.
    void expectNoTemporaryFiles() { EXPECT_EQ(fs->findFiles(dir / u"*.tmp"), std::vector<Text>{}); }

    test::ScratchFolder dir;
    std::unique_ptr<FileSystem> fs = makeNativeFileSystem();
    test::FakeWindow window;
    MainControls controls = window.controls();
};

TEST_F(Win32MergeTest, ReplacesAnExistingHiddenOutputWhenTheUserAgrees) {
    writeWholeFile(dir / u"clip.avi", "an older, longer file of the same name");
    test::setAttributes(dir / u"clip.avi", FILE_ATTRIBUTE_HIDDEN);
    startMerge(controls, *fs);

    ASSERT_EQ(window.messages.shown.size(), 3u);  // replace?, start?, done
    EXPECT_EQ(window.messages.shown[2].prompt, dir / u"clip.avi" + u"合并完成!");
    EXPECT_EQ(readWholeFile(dir / u"clip.avi"), "first piece, second piece");
    expectNoTemporaryFiles();
}

TEST_F(Win32MergeTest, AReadOnlyOutputIsProtectedAndKept) {
    writeWholeFile(dir / u"clip.avi", "keep");
    test::setAttributes(dir / u"clip.avi", FILE_ATTRIBUTE_READONLY);
    startMerge(controls, *fs);

    ASSERT_EQ(window.messages.shown.size(), 3u);  // replace?, start?, the report
    EXPECT_EQ(window.messages.shown[2].prompt, u"磁盘被写保护 或 文件被保护!");
    EXPECT_EQ(readWholeFile(dir / u"clip.avi"), "keep");
    EXPECT_FALSE(window.ProgressBar1.visible);
    expectNoTemporaryFiles();
}

TEST_F(Win32MergeTest, APieceHeldByAnotherProgramStopsTheMergeSilently) {
    const HANDLE holder = CreateFileW(
        reinterpret_cast<const wchar_t*>((dir / u"clip.avi.002").c_str()),
        GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    startMerge(controls, *fs);
    CloseHandle(holder);

    ASSERT_EQ(window.messages.shown.size(), 1u);  // start?, then no report for 75
    EXPECT_FALSE(fs->fileExists(dir / u"clip.avi"));
    EXPECT_FALSE(window.ProgressBar1.visible);
    EXPECT_EQ(window.pointer.current, pointer::Default);
    expectNoTemporaryFiles();
}

}  // namespace
}  // namespace tessark

namespace tessark {
namespace {

// A staging file left by a merge that was killed goes with the next staging
// in its folder; the file of a staging still under way stays, so that it
// still takes its output's place.
TEST(Win32Staging, AnAbandonedStagingFileGoesAndOneInUseStays) {
    const test::ScratchFolder dir;
    const auto fs = makeNativeFileSystem();
    test::writeWholeFile(dir / u"~tessark4242-0.tmp", "left by a killed merge");
    test::writeWholeFile(dir / u"~tessark-mine.tmp", "not a staging file");

    const auto first = fs->createStaged(dir / u"one.bin");
    EXPECT_EQ(fs->findFiles(dir / u"~tessark4242-*.tmp"), std::vector<Text>{});
    EXPECT_EQ(fs->findFiles(dir / u"~tessark-mine.tmp").size(), 1u);
    const std::byte bytes[] = {std::byte{'1'}};
    first->writeAt(0, bytes);
    first->close();  // written and closed, but not in place yet

    const auto second = fs->createStaged(dir / u"two.bin");
    first->commit();
    second->writeAt(0, bytes);
    second->commit();
    EXPECT_EQ(test::readWholeFile(dir / u"one.bin"), "1");
    EXPECT_EQ(test::readWholeFile(dir / u"two.bin"), "1");
}

}  // namespace
}  // namespace tessark
