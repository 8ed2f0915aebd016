// SPDX-License-Identifier: MIT
// The split's worked examples with their own Windows paths, on real drives of
// the wine prefix: C: is the prefix's fresh drive, D: and T: come from the
// wine fixture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/platform/native_file_system.h"
#include "engine/split/split_settings.h"
#include "fake_window.h"
#include "forms/controls.h"
#include "forms/split_form.h"
#include "win32_test_drive.h"

namespace tessark {
namespace {

using test::readWholeFile;
using test::writeWholeFile;

constexpr std::size_t kThreeMillion = 3'000'000;

class Win32SplitTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TESSARK_REQUIRE_WINE_FIXTURE();
        for (const Text& folder : folders) {
            test::removeFolder(folder);
            test::makeFolder(folder);
        }
    }
    void TearDown() override {
        if (test::wineFixtureReady()) {
            for (const Text& folder : folders) {
                test::removeFolder(folder);
            }
        }
    }

    void split(const Text& source, const Text& target) {
        window.Text1.value = source;
        window.Text2.value = target;
        startSplit(controls, *fs);
    }

    std::vector<Text> folders = {u"C:\\data", u"D:\\video", u"D:\\out"};
    std::unique_ptr<FileSystem> fs = makeNativeFileSystem();
    test::FakeWindow window;
    MainControls controls = window.controls();
};

TEST_F(Win32SplitTest, ThreeMillionBytesWithTheProposedTargetAndMergeName) {
    const std::string source = test::sampleBytes(kThreeMillion, 1);
    writeWholeFile(u"C:\\data\\movie.avi", source);

    window.CommonDialog1.picks = {u"C:\\data\\movie.avi"};
    browseSource(controls, *fs);
    EXPECT_EQ(window.Text2.value, u"C:\\data\\movie$.avi");
    EXPECT_EQ(window.Label2.caption, u"文件大小：2929 KB");

    startSplit(controls, *fs);

    const std::vector<Text> pieces = {u"C:\\data\\movie$.avi.001", u"C:\\data\\movie$.avi.002",
                                      u"C:\\data\\movie$.avi.003"};
    EXPECT_EQ(window.List1.items, pieces);
    EXPECT_EQ(readWholeFile(pieces[0]), source.substr(0, 1'447'035));
    EXPECT_EQ(readWholeFile(pieces[1]), source.substr(1'447'035, 1'447'035));
    EXPECT_EQ(readWholeFile(pieces[2]), source.substr(2'894'070));
    EXPECT_EQ(readWholeFile(pieces[2]).size(), 105'930u);

    EXPECT_EQ(window.ProgressBar1.maximum, 2);
    EXPECT_EQ(window.ProgressBar1.values, (std::vector<double>{0, 0, 1, 2, 0}));
    EXPECT_FALSE(window.ProgressBar1.visible);
    EXPECT_EQ(window.pointer.current, pointer::Default);

    EXPECT_EQ(window.Text4.value, u"C:\\data\\movie(1).avi");
    EXPECT_EQ(window.Text4.selectionStart, static_cast<int>(window.Text4.value.size()));
    EXPECT_EQ(window.Text4.selectionLength, 0);

    const std::string script = readWholeFile(u"C:\\data\\Link.bat");
    EXPECT_EQ(script,
              "copy/B \"movie$.avi.001\"+\"movie$.avi.002\"+\"movie$.avi.003\" "
              "\"movie(1).avi\"\r\n");
    EXPECT_EQ(script.size(), 74u);

    ASSERT_EQ(window.messages.shown.size(), 2u);
    EXPECT_EQ(window.messages.shown[0].prompt, u"确定要分割文件  C:\\data\\movie.avi  吗？");
    EXPECT_EQ(window.messages.shown[0].style, 4);
    EXPECT_EQ(window.messages.shown[1].prompt,
              u"C:\\data\\movie.avi 分割完成!\r\r你可以执行分割文件目录下的 Link "
              u"程序合并文件\r也可以用合并功能合并文件!");
    EXPECT_EQ(window.messages.shown[1].style, 64);
    EXPECT_EQ(window.messages.shown[1].title, u"文件分割机");

    // Run in C:\data, the script makes movie(1).avi beside movie.avi.
    EXPECT_EQ(test::runCommandProcessor(u"C:\\data", u"Link.bat"), 0u);
    EXPECT_TRUE(readWholeFile(u"C:\\data\\movie(1).avi") == source);
    EXPECT_TRUE(readWholeFile(u"C:\\data\\movie.avi") == source);
}

TEST_F(Win32SplitTest, ATargetWithoutDollarIsItsOwnMergeName) {
    writeWholeFile(u"D:\\video\\clip.avi", test::sampleBytes(kThreeMillion, 2));
    split(u"D:\\video\\clip.avi", u"D:\\out\\clip.avi");

    EXPECT_EQ(window.List1.items,
              (std::vector<Text>{u"D:\\out\\clip.avi.001", u"D:\\out\\clip.avi.002",
                                 u"D:\\out\\clip.avi.003"}));
    EXPECT_EQ(window.Text4.value, u"D:\\out\\clip.avi");
    EXPECT_EQ(window.Text4.selectionStart, -1);  // the caret was not moved
    const std::string expected = {0x63, 0x6F, 0x70, 0x79, 0x2F, 0x42, 0x20, 0x22, 0x63, 0x6C, 0x69,
                                  0x70, 0x2E, 0x61, 0x76, 0x69, 0x2E, 0x30, 0x30, 0x31, 0x22, 0x2B,
                                  0x22, 0x63, 0x6C, 0x69, 0x70, 0x2E, 0x61, 0x76, 0x69, 0x2E, 0x30,
                                  0x30, 0x32, 0x22, 0x2B, 0x22, 0x63, 0x6C, 0x69, 0x70, 0x2E, 0x61,
                                  0x76, 0x69, 0x2E, 0x30, 0x30, 0x33, 0x22, 0x20, 0x22, 0x63, 0x6C,
                                  0x69, 0x70, 0x2E, 0x61, 0x76, 0x69, 0x22, 0x0D, 0x0A};
    EXPECT_EQ(readWholeFile(u"D:\\out\\Link.bat"), expected);
}

TEST_F(Win32SplitTest, ATargetInADriveRootPutsTheScriptThere) {
    writeWholeFile(u"D:\\video\\clip.avi", test::sampleBytes(2'000'000, 3));
    split(u"D:\\video\\clip.avi", u"D:\\clip.avi");
    EXPECT_EQ(window.List1.items, (std::vector<Text>{u"D:\\clip.avi.001", u"D:\\clip.avi.002"}));
    EXPECT_EQ(readWholeFile(u"D:\\Link.bat"),
              "copy/B \"clip.avi.001\"+\"clip.avi.002\" \"clip.avi\"\r\n");
    for (const char16_t* name : {u"D:\\clip.avi.001", u"D:\\clip.avi.002", u"D:\\Link.bat"}) {
        fs->removeFile(name);
    }
}

struct CheckCase {
    const char* what;
    Text source;
    Text target;
    Text prompt;
    int style;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.what;
}

class Win32SplitChecks : public Win32SplitTest, public ::testing::WithParamInterface<CheckCase> {};

// The checks that ask the drive, answered by the real one; nothing is written.
TEST_P(Win32SplitChecks, RefuseWithTheirMessageAndTouchNothing) {
    writeWholeFile(u"C:\\data\\movie.avi", test::sampleBytes(1000, 4));
    writeWholeFile(u"C:\\data\\taken.avi", "x");
    writeWholeFile(u"C:\\data\\hidden.avi", "x");
    test::setAttributes(u"C:\\data\\hidden.avi", 2 /* hidden */);
    test::makeFolder(u"C:\\data\\folder.avi");
    split(GetParam().source, GetParam().target);

    ASSERT_EQ(window.messages.shown.size(), 1u);
    EXPECT_EQ(window.messages.shown[0].prompt, GetParam().prompt);
    EXPECT_EQ(window.messages.shown[0].style, GetParam().style);
    EXPECT_TRUE(window.List1.items.empty());
    EXPECT_FALSE(fs->fileExists(u"C:\\data\\Link.bat"));
    EXPECT_FALSE(fs->fileExists(GetParam().target + u".001"));
}

INSTANTIATE_TEST_SUITE_P(
    RealDrive, Win32SplitChecks,
    ::testing::Values(
        CheckCase{"missing source", u"C:\\data\\nope.avi", u"C:\\data\\nope$.avi",
                  u"源文件  C:\\data\\nope.avi  不存在!", 48},
        CheckCase{"a folder is no source", u"C:\\data\\folder.avi", u"C:\\data\\folder$.avi",
                  u"源文件  C:\\data\\folder.avi  不存在!", 48},
        CheckCase{"target exists", u"C:\\data\\movie.avi", u"C:\\data\\taken.avi",
                  u"指定的目标文件已经存在，请重新取名!", 64},
        CheckCase{"hidden target exists", u"C:\\data\\movie.avi", u"C:\\data\\hidden.avi",
                  u"指定的目标文件已经存在，请重新取名!", 64},
        CheckCase{"target folder missing", u"C:\\data\\movie.avi", u"C:\\nowhere\\movie$.avi",
                  u"目标文件中的路径不存在!", 48},
        CheckCase{"block larger than the file", u"C:\\data\\movie.avi", u"C:\\data\\movie$.avi",
                  u"块文件比要分割的文件还要大!没必要分割!", 64}));

// Faults the drive really produces during the cut, each reported with its
// words and followed by the reset of the display.
TEST_F(Win32SplitTest, AFullDiskStopsTheSplitWithItsMessage) {
    writeWholeFile(u"C:\\data\\movie.avi", test::sampleBytes(kThreeMillion, 5));
    // T:\movie$.avi.002 is the host's /dev/full.
    split(u"C:\\data\\movie.avi", u"T:\\movie$.avi");

    ASSERT_EQ(window.messages.shown.size(), 2u);
    EXPECT_EQ(window.messages.shown[1].prompt, u"磁盘满，空间不够!");
    EXPECT_EQ(window.messages.shown[1].style, 16);
    EXPECT_FALSE(window.ProgressBar1.visible);
    EXPECT_EQ(window.ProgressBar1.value, 0);
    EXPECT_EQ(window.pointer.current, pointer::Default);
    EXPECT_EQ(window.List1.items, std::vector<Text>{u"T:\\movie$.avi.001"});
    EXPECT_EQ(fs->fileLength(u"T:\\movie$.avi.001"), 1'447'035);
    EXPECT_FALSE(fs->fileExists(u"T:\\Link.bat"));
    fs->removeFile(u"T:\\movie$.avi.001");
}

TEST_F(Win32SplitTest, AReadOnlyPieceIsAProtectedFile) {
    writeWholeFile(u"C:\\data\\movie.avi", test::sampleBytes(kThreeMillion, 6));
    writeWholeFile(u"C:\\data\\movie$.avi.002", "an older piece");
    test::setAttributes(u"C:\\data\\movie$.avi.002", 1 /* read-only */);
    split(u"C:\\data\\movie.avi", u"C:\\data\\movie$.avi");

    ASSERT_EQ(window.messages.shown.size(), 2u);
    EXPECT_EQ(window.messages.shown[1].prompt, u"磁盘被写保护 或 文件被保护!");
    EXPECT_EQ(readWholeFile(u"C:\\data\\movie$.avi.002"), "an older piece");
    EXPECT_FALSE(window.ProgressBar1.visible);
}

TEST_F(Win32SplitTest, AFolderWithAPieceNameStopsTheSplitSilently) {
    writeWholeFile(u"C:\\data\\movie.avi", test::sampleBytes(kThreeMillion, 7));
    test::makeFolder(u"C:\\data\\movie$.avi.001");
    split(u"C:\\data\\movie.avi", u"C:\\data\\movie$.avi");

    ASSERT_EQ(window.messages.shown.size(), 1u);  // the confirmation, no report
    EXPECT_FALSE(window.ProgressBar1.visible);
    EXPECT_EQ(window.pointer.current, pointer::Default);
    EXPECT_TRUE(fs->folderExists(u"C:\\data\\movie$.avi.001"));
}

}  // namespace
}  // namespace tessark
