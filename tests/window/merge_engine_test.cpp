// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "engine/core/runtime_error.h"
#include "fake_file_system.h"
#include "fake_window.h"
#include "forms/merge_form.h"

namespace tessark {
namespace {

using test::FakeFileSystem;
using Files = std::map<Text, std::string>;

const Text kOutput = u"D:\\out\\movie.avi";
const Text kPiece1 = u"D:\\p\\movie$.avi.001";
const Text kPiece2 = u"D:\\p\\movie$.avi.002";
const Text kPiece3 = u"D:\\p\\movie$.avi.003";

const Text kNoName = u"没有指定合并后的文件名!";
const Text kFolderOnly = u"目标文件框中只指定了文件夹，请指定文件名";
const Text kNoFolder = u"合并后的存储文件的路径不存在!";
const Text kNothing = u"没有项目供合并!";

Text overwriteQuestion(const Text& name) {
    return u"文件  " + name + u"  已存在，是否要覆盖？";
}
Text mergeQuestion(const Text& name) {
    return u"确定要合并文件  " + name + u"  吗？";
}

class MergeTest : public ::testing::Test {
  protected:
    MergeTest() {
        fs.addFolder(u"D:\\out");
        fs.addFile(kPiece1, "abc");
        fs.addFile(kPiece2, "defgh");
        fs.addFile(kPiece3, "ij");
    }

    void listPieces(const std::vector<Text>& pieces) { w.List1.items = pieces; }
    void merge() {
        MainControls controls = w.controls();
        startMerge(controls, fs);
    }
    Files snapshot() const {
        Files files;
        for (const Text& path : fs.allFiles()) {
            files[path] = *fs.contents(path);
        }
        return files;
    }
    std::vector<std::string> text4Events() const {
        return test::eventsStartingWith(w.log, "Text4.");
    }

    test::FakeWindow w;
    FakeFileSystem fs;
};

// ---- Checks before anything is touched ------------------------------------

struct ValidationCase {
    const char* name;
    Text text4;
    bool withPieces;
    int existingOutput;  // 0 none, 1 ordinary, 2 hidden
    std::deque<int> answers;
    std::vector<std::pair<Text, int>> boxes;
    std::vector<std::string> effects;  // what happens to Text4, in order
};

void PrintTo(const ValidationCase& c, std::ostream* os) {
    *os << c.name;
}

class MergeValidation : public MergeTest, public ::testing::WithParamInterface<ValidationCase> {};

TEST_P(MergeValidation, StopsWithItsMessageAndTouchesNoFile) {
    const ValidationCase& c = GetParam();
    w.Text4.value = c.text4;
    if (c.withPieces) {
        listPieces({kPiece1, kPiece2, kPiece3});
    }
    if (c.existingOutput != 0) {
        fs.addFile(kOutput, "old", c.existingOutput == 2);
    }
    w.messages.answers = c.answers;
    const Files before = snapshot();

    merge();

    ASSERT_EQ(w.messages.shown.size(), c.boxes.size());
    for (std::size_t i = 0; i < c.boxes.size(); ++i) {
        EXPECT_EQ(w.messages.shown[i].prompt, c.boxes[i].first) << "box " << i;
        EXPECT_EQ(w.messages.shown[i].style, c.boxes[i].second) << "box " << i;
        EXPECT_EQ(w.messages.shown[i].title, u"文件分割机");
    }
    EXPECT_EQ(text4Events(), c.effects);
    EXPECT_EQ(w.Text4.value, c.text4);  // never rewritten with the trimmed name
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(fs.openHandles(), 0);
    for (const auto& e : w.log) {
        EXPECT_FALSE(e.starts_with("pointer") || e.starts_with("ProgressBar1")) << e;
    }
}

const std::deque<int> kNo = {mb::No};
const std::deque<int> kYesNo = {mb::Yes, mb::No};
const std::vector<std::string> kFocus = {"Text4.focus"};
const std::vector<std::string> kSelectFocus = {"Text4.selectAll", "Text4.focus"};

INSTANTIATE_TEST_SUITE_P(
    Steps, MergeValidation,
    ::testing::Values(
        ValidationCase{"EmptyName", u"", true, 0, {}, {{kNoName, 48}}, kFocus},
        ValidationCase{"OnlySpaces", u"   ", true, 0, {}, {{kNoName, 48}}, kFocus},
        ValidationCase{"OnlyAFolder", u"D:\\out\\", true, 0, {}, {{kFolderOnly, 48}}, kSelectFocus},
        // The trailing separator is seen before the folder is looked for.
        ValidationCase{
            "MissingFolderOnly", u"D:\\nodir\\", true, 0, {}, {{kFolderOnly, 48}}, kSelectFocus},
        ValidationCase{
            "MissingFolder", u"D:\\nodir\\x.avi", true, 0, {}, {{kNoFolder, 48}}, kSelectFocus},
        ValidationCase{
            "NoSeparatorAtAll", u"movie.avi", true, 0, {}, {{kNoFolder, 48}}, kSelectFocus},
        ValidationCase{"MissingFolderBeforeEmptyList",
                       u"D:\\nodir\\x.avi",
                       false,
                       0,
                       {},
                       {{kNoFolder, 48}},
                       kSelectFocus},
        ValidationCase{"EmptyList", u"D:\\out\\movie.avi", false, 0, {}, {{kNothing, 48}}, {}},
        ValidationCase{
            "EmptyListBeforeOverwrite", u"D:\\out\\movie.avi", false, 1, {}, {{kNothing, 48}}, {}},
        ValidationCase{"NoToOverwrite",
                       u"D:\\out\\movie.avi",
                       true,
                       1,
                       kNo,
                       {{overwriteQuestion(kOutput), 292}},
                       kSelectFocus},
        ValidationCase{"NoToOverwriteHidden",
                       u"D:\\out\\movie.avi",
                       true,
                       2,
                       kNo,
                       {{overwriteQuestion(kOutput), 292}},
                       kSelectFocus},
        ValidationCase{"YesToOverwriteThenNo",
                       u"D:\\out\\movie.avi",
                       true,
                       1,
                       kYesNo,
                       {{overwriteQuestion(kOutput), 292}, {mergeQuestion(kOutput), 36}},
                       {}},
        ValidationCase{"NoToMergeTrimmedName",
                       u"  D:\\out\\movie.avi ",
                       true,
                       0,
                       kNo,
                       {{mergeQuestion(kOutput), 36}},
                       {}}),
    [](const auto& p) { return std::string(p.param.name); });

// ---- The copy ---------------------------------------------------------------

struct CopyCase {
    const char* name;
    std::vector<Text> list;
    std::string expected;
};

void PrintTo(const CopyCase& c, std::ostream* os) {
    *os << c.name;
}

class MergeCopy : public MergeTest, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(MergeCopy, OutputIsTheListedFilesInListOrder) {
    fs.addFile(u"D:\\p\\empty", "");
    listPieces(GetParam().list);
    w.Text4.value = kOutput;
    merge();
    EXPECT_EQ(fs.contents(kOutput), GetParam().expected);
    EXPECT_EQ(w.List1.items, GetParam().list);
    EXPECT_EQ(fs.allFiles().size(), 5u);  // the pieces, the empty file and the output
    EXPECT_EQ(fs.openHandles(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, MergeCopy,
    ::testing::Values(CopyCase{"ThreePieces", {kPiece1, kPiece2, kPiece3}, "abcdefghij"},
                      CopyCase{"ListOrderNotNameOrder", {kPiece3, kPiece1, kPiece2}, "ijabcdefgh"},
                      CopyCase{"SingleEntry", {kPiece2}, "defgh"},
                      CopyCase{"EmptyPiece", {kPiece1, u"D:\\p\\empty", kPiece3}, "abcij"},
                      CopyCase{"SamePieceTwice", {kPiece3, kPiece3}, "ijij"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(MergeTest, ProgressMovesOncePerPieceAndTheBarStaysUpForTheCompletionBox) {
    listPieces({kPiece1, kPiece2, kPiece3});
    w.Text4.value = kOutput;
    bool checkedCompletion = false;
    w.messages.whileShown = [&](const test::ShownBox& box) {
        if (box.style != mb::Information) {
            return;
        }
        checkedCompletion = true;
        EXPECT_TRUE(w.ProgressBar1.visible);
        EXPECT_EQ(w.ProgressBar1.value, 2);
        EXPECT_EQ(w.pointer.current, pointer::Default);
        EXPECT_EQ(w.StatusBar1.panels[0], u"");
        EXPECT_EQ(fs.contents(kOutput), "abcdefghij");
    };

    merge();

    EXPECT_TRUE(checkedCompletion);
    EXPECT_EQ(w.messages.shown.back().prompt, u"D:\\out\\movie.avi合并完成!");
    const std::vector<std::string> expected = {
        "msgbox style=36",   "pointer=11",           "ProgressBar1.max=2",   "ProgressBar1.value=0",
        "ProgressBar1.show", "ProgressBar1.value=0", "ProgressBar1.value=1", "ProgressBar1.value=2",
        "pointer=0",         "msgbox style=64",      "ProgressBar1.value=0", "ProgressBar1.hide"};
    EXPECT_EQ(w.log, expected);
    EXPECT_EQ(w.Text4.value, kOutput);
    EXPECT_EQ(w.StatusBar1.panels[1], u"");
    EXPECT_EQ(w.StatusBar1.panels[0], u"");
}

TEST_F(MergeTest, SingleEntryHasAMaximumOfZero) {
    listPieces({kPiece2});
    w.Text4.value = kOutput;
    merge();
    EXPECT_EQ(w.ProgressBar1.maximum, 0);
    EXPECT_EQ(fs.contents(kOutput), "defgh");
}

TEST_F(MergeTest, OverwritingALongerFileLeavesExactlyTheMergedBytes) {
    fs.addFile(kOutput, "0123456789ABCDEFGHIJ");
    listPieces({kPiece1, kPiece2, kPiece3});
    w.Text4.value = kOutput;
    merge();
    ASSERT_EQ(w.messages.shown.size(), 3u);
    EXPECT_EQ(w.messages.shown[0].style, 292);
    EXPECT_EQ(w.messages.shown[1].style, 36);
    EXPECT_EQ(fs.contents(kOutput), "abcdefghij");
}

TEST_F(MergeTest, MergesIntoAFileThatIsItselfInTheList) {
    listPieces({kPiece1, kPiece2, kPiece3});
    w.Text4.value = kPiece1;
    merge();
    EXPECT_EQ(w.messages.shown.front().prompt, overwriteQuestion(kPiece1));
    EXPECT_EQ(fs.contents(kPiece1), "abcdefghij");
    EXPECT_EQ(fs.contents(kPiece2), "defgh");
    EXPECT_EQ(fs.allFiles().size(), 3u);
}

TEST_F(MergeTest, OutputsInARootFolderAreFine) {
    listPieces({kPiece1, kPiece3});
    for (const Text& output : {Text(u"D:\\merged.bin"), Text(u"\\merged.bin")}) {
        w.Text4.value = output;
        merge();
        EXPECT_EQ(fs.contents(output), "abcij");
        EXPECT_EQ(w.messages.shown.back().prompt, output + u"合并完成!");
    }
}

// ---- Failures -----------------------------------------------------------------

const Text kNoDrive = u"指定的磁盘驱动器不可用!\r\r可能不存在此驱动器或驱动器内无磁盘!";

struct FailureCase {
    const char* name;
    std::function<void(FakeFileSystem&)> arrange;
    Text message;        // the report, or nothing for a number outside the table
    bool duringTheCopy;  // the failure comes after the hourglass and the bar went up
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class MergeFailure : public MergeTest,
                     public ::testing::WithParamInterface<std::tuple<FailureCase, bool>> {};

TEST_P(MergeFailure, ReportsAndLeavesTheOutputAsItWas) {
    const auto& [c, outputExisted] = GetParam();
    if (outputExisted) {
        fs.addFile(kOutput, "OLD CONTENT");
    }
    listPieces({kPiece1, kPiece2, kPiece3});
    w.Text4.value = kOutput;
    c.arrange(fs);
    const Files before = snapshot();
    bool reported = false;
    w.messages.whileShown = [&](const test::ShownBox& box) {
        if (box.style == mb::Critical) {
            reported = true;
            EXPECT_EQ(w.pointer.current, c.duringTheCopy ? pointer::Hourglass : pointer::Default);
            EXPECT_EQ(w.ProgressBar1.visible, c.duringTheCopy);
        }
    };

    merge();

    EXPECT_EQ(reported, !c.message.empty());
    if (reported) {
        EXPECT_EQ(w.messages.shown.back().prompt, c.message);
    }
    for (const auto& box : w.messages.shown) {
        EXPECT_NE(box.style, mb::Information) << "no completion after a failure";
    }
    EXPECT_EQ(snapshot(), before);  // no partial output, no temporary file
    EXPECT_EQ(fs.openHandles(), 0);
    EXPECT_EQ(w.pointer.current, pointer::Default);
    EXPECT_FALSE(w.ProgressBar1.visible);
    EXPECT_EQ(w.ProgressBar1.value, 0);
    const std::vector<std::string> tail(w.log.end() - 3, w.log.end());
    EXPECT_EQ(tail,
              (std::vector<std::string>{"pointer=0", "ProgressBar1.value=0", "ProgressBar1.hide"}));
    EXPECT_EQ(w.List1.items, (std::vector<Text>{kPiece1, kPiece2, kPiece3}));
}

using Op = FakeFileSystem::Op;

INSTANTIATE_TEST_SUITE_P(
    Table, MergeFailure,
    ::testing::Combine(
        ::testing::Values(
            FailureCase{"PieceDeletedAfterItWasAdded",
                        [](FakeFileSystem& fs) { fs.remove(kPiece2); },
                        u"文件不能被写入!请更换存放位置!", true},
            FailureCase{"DiskFull", [](FakeFileSystem& fs) { fs.setCapacity(fs.usedBytes() + 6); },
                        u"磁盘满，空间不够!", true},
            FailureCase{
                "ReadError",
                [](FakeFileSystem& fs) { fs.injectFault(Op::Read, kPiece3, err::DeviceIo); },
                u"磁盘I/0错误，操作被终止!", true},
            FailureCase{"WriteProtected",
                        [](FakeFileSystem& fs) {
                            fs.injectFault(Op::Write, u"", err::PermissionDenied, 1);
                        },
                        u"磁盘被写保护 或 文件被保护!", true},
            FailureCase{"CloseFails",
                        [](FakeFileSystem& fs) { fs.injectFault(Op::Close, u"", err::DiskFull); },
                        u"磁盘满，空间不够!", true},
            FailureCase{"ReplaceRefused",
                        [](FakeFileSystem& fs) {
                            fs.injectFault(Op::Replace, kOutput, err::PermissionDenied);
                        },
                        u"磁盘被写保护 或 文件被保护!", true},
            FailureCase{
                "CreateNotReady",
                [](FakeFileSystem& fs) { fs.injectFault(Op::Create, u"", err::DiskNotReady); },
                u"磁盘没准备好!", true},
            FailureCase{"LengthDeviceUnavailable",
                        [](FakeFileSystem&
                               fs) { fs.injectFault(Op::Length, kPiece1, err::DeviceUnavailable); },
                        kNoDrive, true},
            FailureCase{"OpenAlreadyOpenSaysNothing",
                        [](FakeFileSystem&
                               fs) { fs.injectFault(Op::OpenRead, kPiece3, err::FileAlreadyOpen); },
                        u"", true},
            FailureCase{"FolderLookupFails",
                        [](FakeFileSystem&
                               fs) { fs.injectFault(Op::Exists, u"D:\\out", err::BadFileName); },
                        kNoDrive, false},
            FailureCase{
                "OutputLookupFails",
                [](FakeFileSystem& fs) { fs.injectFault(Op::Exists, kOutput, err::DiskNotReady); },
                u"磁盘没准备好!", false}),
        ::testing::Bool()),
    [](const auto& p) {
        return std::string(std::get<0>(p.param).name) +
               (std::get<1>(p.param) ? "_OverExistingFile" : "_NewFile");
    });

TEST_F(MergeTest, AFailedMergeCanBeRunAgain) {
    listPieces({kPiece1, kPiece2});
    w.Text4.value = kOutput;
    fs.injectFault(Op::Read, kPiece2, err::DeviceIo);
    merge();
    EXPECT_FALSE(fs.has(kOutput));
    merge();
    EXPECT_EQ(fs.contents(kOutput), "abcdefgh");
    EXPECT_EQ(fs.openHandles(), 0);
}

}  // namespace
}  // namespace tessark
