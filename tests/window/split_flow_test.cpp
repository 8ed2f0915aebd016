// SPDX-License-Identifier: MIT
// The split on the in-memory file system with Windows paths.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "engine/core/piece_names.h"
#include "engine/core/runtime_error.h"
#include "fake_file_system.h"
#include "fake_window.h"
#include "forms/split_form.h"

namespace tessark {
namespace {

using test::FakeFileSystem;
using Op = FakeFileSystem::Op;

std::string pattern(std::size_t length) {
    std::string bytes(length, '\0');
    for (std::size_t i = 0; i < length; ++i) {
        bytes[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
    }
    return bytes;
}

const Text kDone =
    u" 分割完成!\r\r你可以执行分割文件目录下的 Link 程序合并文件\r也可以用合并功能合并文件!";

class SplitTest : public ::testing::Test {
  protected:
    // A 3,000-byte source, a target in an existing folder, 1 KB custom blocks.
    void SetUp() override {
        fs.addFile(u"D:\\src\\a.bin", pattern(3000));
        fs.addFolder(u"D:\\out");
        w.Text1.value = u"D:\\src\\a.bin";
        w.Text2.value = u"D:\\out\\a$.bin";
        w.Option1.isSelected = false;
        w.Text3.value = u"1";
        w.List1.items = {u"old entry"};
        w.Text4.value = u"old name";
    }

    void split() {
        auto controls = w.controls();
        startSplit(controls, fs);
    }

    std::vector<std::int64_t> pieceSizes(const Text& target) {
        std::vector<std::int64_t> sizes;
        for (std::int64_t n = 1; fs.has(pieceName(target, n)); ++n) {
            sizes.push_back(static_cast<std::int64_t>(fs.contents(pieceName(target, n))->size()));
        }
        return sizes;
    }

    std::string joined(const Text& target) {
        std::string all;
        for (std::int64_t n = 1; fs.has(pieceName(target, n)); ++n) {
            all += *fs.contents(pieceName(target, n));
        }
        return all;
    }

    // The display after the error trap: default pointer, value 0, hidden.
    void expectDisplayReset() {
        ASSERT_GE(w.log.size(), 3u);
        const std::vector<std::string> tail(w.log.end() - 3, w.log.end());
        EXPECT_EQ(tail, (std::vector<std::string>{"pointer=0", "ProgressBar1.value=0",
                                                  "ProgressBar1.hide"}));
        EXPECT_FALSE(w.ProgressBar1.visible);
        EXPECT_EQ(w.pointer.current, pointer::Default);
        EXPECT_EQ(fs.openHandles(), 0);
    }

    FakeFileSystem fs{u'\\'};
    test::FakeWindow w;
};

TEST_F(SplitTest, WorkedExampleWithTheFixedBlock) {
    fs.addFile(u"D:\\video\\clip.avi", pattern(3000000));
    w.Text1.value = u"D:\\video\\clip.avi";
    w.Text2.value = u"D:\\out\\clip.avi";
    w.Option1.isSelected = true;
    split();

    EXPECT_EQ(pieceSizes(u"D:\\out\\clip.avi"),
              (std::vector<std::int64_t>{1447035, 1447035, 105930}));
    EXPECT_EQ(joined(u"D:\\out\\clip.avi"), pattern(3000000));
    EXPECT_EQ(w.ProgressBar1.maximum, 2);
    // Step 3 sets 0, then one value per piece, then the reset.
    EXPECT_EQ(w.ProgressBar1.values, (std::vector<double>{0, 0, 1, 2, 0}));
    EXPECT_EQ(w.List1.items, (std::vector<Text>{u"D:\\out\\clip.avi.001", u"D:\\out\\clip.avi.002",
                                                u"D:\\out\\clip.avi.003"}));
    EXPECT_EQ(w.Text4.value, u"D:\\out\\clip.avi");
    EXPECT_EQ(*fs.contents(u"D:\\out\\Link.bat"),
              "copy/B \"clip.avi.001\"+\"clip.avi.002\"+\"clip.avi.003\" \"clip.avi\"\r\n");
    EXPECT_EQ(fs.contents(u"D:\\out\\Link.bat")->size(), 64u);

    ASSERT_EQ(w.messages.shown.size(), 2u);
    EXPECT_EQ(w.messages.shown[0].prompt, u"确定要分割文件  D:\\video\\clip.avi  吗？");
    EXPECT_EQ(w.messages.shown[0].style, 4);
    EXPECT_EQ(w.messages.shown[1].prompt, u"D:\\video\\clip.avi" + kDone);
    EXPECT_EQ(w.messages.shown[1].style, 64);
    EXPECT_EQ(w.messages.shown[1].title, u"文件分割机");
    EXPECT_FALSE(w.ProgressBar1.visible);
    EXPECT_EQ(w.pointer.current, pointer::Default);
    EXPECT_EQ(fs.openHandles(), 0);
    EXPECT_EQ(w.Text1.value, u"D:\\video\\clip.avi");  // inputs stay as they were
    EXPECT_EQ(w.Text2.value, u"D:\\out\\clip.avi");
}

TEST_F(SplitTest, WorkedExampleWithTheProposedTarget) {
    fs.addFile(u"C:\\data\\movie.avi", pattern(2894070));
    w.Text1.value = u"C:\\data\\movie.avi";
    w.Text2.value = u"C:\\data\\movie$.avi";
    w.Option1.isSelected = true;
    split();

    EXPECT_EQ(pieceSizes(u"C:\\data\\movie$.avi"), (std::vector<std::int64_t>{1447035, 1447035}));
    EXPECT_EQ(w.ProgressBar1.maximum, 2);
    EXPECT_EQ(w.ProgressBar1.values, (std::vector<double>{0, 0, 1, 0}));
    EXPECT_EQ(w.Text4.value, u"C:\\data\\movie(1).avi");
    EXPECT_EQ(w.Text4.selectionStart, static_cast<int>(w.Text4.value.size()));
    EXPECT_EQ(w.Text4.selectionLength, 0);
    EXPECT_EQ(*fs.contents(u"C:\\data\\Link.bat"),
              "copy/B \"movie$.avi.001\"+\"movie$.avi.002\" \"movie(1).avi\"\r\n");
    EXPECT_TRUE(fs.has(u"C:\\data\\movie.avi"));
}

TEST_F(SplitTest, BusyPointerAndProgressBarDuringTheCut) {
    split();
    const std::vector<std::string> expected = {
        "msgbox style=4",       "List1.clear",       "pointer=11",           "ProgressBar1.max=2",
        "ProgressBar1.value=0", "ProgressBar1.show", "ProgressBar1.value=0", "ProgressBar1.value=1",
        "ProgressBar1.value=2", "Text4.setText",     "Text4.caretToEnd",     "pointer=0",
        "ProgressBar1.value=0", "ProgressBar1.hide", "msgbox style=64"};
    EXPECT_EQ(w.log, expected);
}

struct SizeCase {
    std::size_t length;
    Text customKb;  // empty: the fixed block
    std::vector<std::int64_t> pieces;
    double maximum;
    std::vector<double> values;  // one per piece
};

void PrintTo(const SizeCase& c, std::ostream* out) {
    *out << c.length << " bytes, "
         << (c.customKb.empty() ? "fixed block" : "custom '" + toUtf8(c.customKb) + "'");
}

class PieceSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(PieceSizes, CutsBlocksAndShowsOneValuePerPiece) {
    const SizeCase& c = GetParam();
    FakeFileSystem fs(u'\\');
    fs.addFile(u"C:\\in.bin", pattern(c.length));
    test::FakeWindow w;
    w.Text1.value = u"C:\\in.bin";
    w.Text2.value = u"C:\\p";
    w.Option1.isSelected = c.customKb.empty();
    w.Text3.value = c.customKb;
    auto controls = w.controls();
    startSplit(controls, fs);

    std::vector<std::int64_t> sizes;
    std::string all;
    for (std::int64_t n = 1; fs.has(pieceName(u"C:\\p", n)); ++n) {
        sizes.push_back(static_cast<std::int64_t>(fs.contents(pieceName(u"C:\\p", n))->size()));
        all += *fs.contents(pieceName(u"C:\\p", n));
    }
    EXPECT_EQ(sizes, c.pieces);
    EXPECT_EQ(all, pattern(c.length));
    EXPECT_EQ(w.ProgressBar1.maximum, c.maximum);
    std::vector<double> values = {0};
    values.insert(values.end(), c.values.begin(), c.values.end());
    values.push_back(0);
    EXPECT_EQ(w.ProgressBar1.values, values);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PieceSizes,
    ::testing::Values(SizeCase{3000000, u"", {1447035, 1447035, 105930}, 2, {0, 1, 2}},
                      SizeCase{2894070, u"", {1447035, 1447035}, 2, {0, 1}},
                      SizeCase{1447035, u"", {1447035}, 1, {0}},  // block as large as the file
                      SizeCase{4000, u"1.5", {1536, 1536, 928}, 2, {0, 1, 2}},
                      SizeCase{1024, u" 1 ", {1024}, 1, {0}},
                      SizeCase{2560,
                               u"2.5e-1KB",
                               {256, 256, 256, 256, 256, 256, 256, 256, 256, 256},
                               10,
                               {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
                      // One-byte blocks: the position over the block runs one ahead, and
                      // still reaches no more than the maximum.
                      SizeCase{3, u"0.0009765625", {1, 1, 1}, 3, {1, 2, 3}}));

TEST_F(SplitTest, PieceNumbersPastNineHundredNinetyNine) {
    fs.addFile(u"D:\\src\\many.bin", pattern(1000));
    w.Text1.value = u"D:\\src\\many.bin";
    w.Text2.value = u"D:\\out\\m";
    w.Text3.value = u"0.0009765625";  // one byte
    split();
    ASSERT_EQ(w.List1.count(), 1000);
    EXPECT_EQ(w.List1.item(0), u"D:\\out\\m.001");
    EXPECT_EQ(w.List1.item(9), u"D:\\out\\m.010");
    EXPECT_EQ(w.List1.item(99), u"D:\\out\\m.100");
    EXPECT_EQ(w.List1.item(998), u"D:\\out\\m.999");
    EXPECT_EQ(w.List1.item(999), u"D:\\out\\m.1000");
    EXPECT_EQ(*fs.contents(u"D:\\out\\m.1000"), pattern(1000).substr(999));
}

struct MergeNameCase {
    Text target;
    Text proposal;
    bool caretMoved;
};

void PrintTo(const MergeNameCase& c, std::ostream* out) {
    *out << toUtf8(c.target);
}

class MergeNameProposal : public ::testing::TestWithParam<MergeNameCase> {};

TEST_P(MergeNameProposal, FollowsTheDollarSign) {
    FakeFileSystem fs(u'\\');
    fs.addFile(u"C:\\src\\f.bin", pattern(2048));
    fs.addFolder(*folderPart(GetParam().target, u'\\'));
    test::FakeWindow w;
    w.Text1.value = u"C:\\src\\f.bin";
    w.Text2.value = GetParam().target;
    w.Option1.isSelected = false;
    w.Text3.value = u"1";
    auto controls = w.controls();
    startSplit(controls, fs);
    EXPECT_EQ(w.Text4.value, GetParam().proposal);
    const bool caretMoved =
        std::find(w.log.begin(), w.log.end(), "Text4.caretToEnd") != w.log.end();
    EXPECT_EQ(caretMoved, GetParam().caretMoved);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MergeNameProposal,
    ::testing::Values(MergeNameCase{u"D:\\out\\part.avi", u"D:\\out\\part.avi", false},
                      MergeNameCase{u"C:\\data\\movie$.avi", u"C:\\data\\movie(1).avi", true},
                      MergeNameCase{u"C:\\tools\\setup$.exe", u"C:\\tools\\setup(1).exe", true},
                      MergeNameCase{u"D:\\pics\\$a.gz", u"D:\\pics\\(1)a.gz", true},
                      MergeNameCase{u"D:\\x\\a$", u"D:\\x\\a(1)", true},
                      MergeNameCase{u"D:\\a$b\\file", u"D:\\a(1)b\\file", true},
                      MergeNameCase{u"D:\\$1\\x$y.z", u"D:\\$1\\x(1)y.z", true}));

// Each failing check: its message and style, then exactly its focus moves,
// with nothing else touched.
struct CheckCase {
    std::string name;
    std::function<void(test::FakeWindow&, FakeFileSystem&)> setup;
    Text prompt;
    int style;
    std::vector<std::string> afterwards;
};

void PrintTo(const CheckCase& c, std::ostream* out) {
    *out << c.name;
}

class FailedCheck : public SplitTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(FailedCheck, ShowsItsMessageAndTouchesNothing) {
    GetParam().setup(w, fs);
    const auto filesBefore = fs.allFiles();
    split();

    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].prompt, GetParam().prompt);
    EXPECT_EQ(w.messages.shown[0].style, GetParam().style);
    EXPECT_EQ(w.messages.shown[0].title, u"文件分割机");
    std::vector<std::string> expectedLog = {"msgbox style=" + std::to_string(GetParam().style)};
    expectedLog.insert(expectedLog.end(), GetParam().afterwards.begin(),
                       GetParam().afterwards.end());
    EXPECT_EQ(w.log, expectedLog);
    EXPECT_EQ(w.List1.items, std::vector<Text>{u"old entry"});
    EXPECT_EQ(w.Text4.value, u"old name");
    EXPECT_EQ(fs.allFiles(), filesBefore);
    EXPECT_EQ(fs.openHandles(), 0);
}

using W = test::FakeWindow;
using F = FakeFileSystem;
const Text kNoBlock = u"分割块大小没有指定!";
const Text kExists = u"指定的目标文件已经存在，请重新取名!";
const Text kTooBig = u"块文件比要分割的文件还要大!没必要分割!";
const std::vector<std::string> kText1Selected = {"Text1.selectAll", "Text1.focus"};
const std::vector<std::string> kText2Selected = {"Text2.selectAll", "Text2.focus"};

INSTANTIATE_TEST_SUITE_P(
    Checks, FailedCheck,
    ::testing::Values(
        CheckCase{"1_NoSource", [](W& w, F&) { w.Text1.value = u""; }, u"没有指定源文件!", 48,
                  {"Text1.focus"}},
        CheckCase{"1_OnlySpaces", [](W& w, F&) { w.Text1.value = u"   "; }, u"没有指定源文件!",
                  48, {"Text1.focus"}},
        CheckCase{"2_SourceIsAFolderPath", [](W& w, F&) { w.Text1.value = u"D:\\src\\"; },
                  u"没有指定源文件!", 48, kText1Selected},
        CheckCase{"3_SourceMissing", [](W& w, F&) { w.Text1.value = u"  D:\\src\\b.bin  "; },
                  u"源文件  D:\\src\\b.bin  不存在!", 48, kText1Selected},
        CheckCase{"3_SourceIsAFolder", [](W& w, F&) { w.Text1.value = u"D:\\src"; },
                  u"源文件  D:\\src  不存在!", 48, kText1Selected},
        CheckCase{"4_NoTarget", [](W& w, F&) { w.Text2.value = u" "; }, u"没有指定分割后的文件!",
                  48, {"Text2.focus"}},
        CheckCase{"5_TargetIsAFolder", [](W& w, F&) { w.Text2.value = u"D:\\out\\  "; },
                  u"目标文件框中只指定了文件夹，请指定文件名", 48,
                  {"Text2.caretToEnd", "Text2.focus"}},
        CheckCase{"6_TargetExists", [](W& w, F&) { w.Text2.value = u"D:\\src\\a.bin"; }, kExists,
                  64, kText2Selected},
        CheckCase{"6_HiddenTargetExists",
                  [](W&, F& fs) { fs.addFile(u"D:\\out\\a$.bin", "x", /*hidden=*/true); },
                  kExists, 64, kText2Selected},
        CheckCase{"7_FolderMissing", [](W& w, F&) { w.Text2.value = u"D:\\nowhere\\a"; },
                  u"目标文件中的路径不存在!", 48, kText2Selected},
        CheckCase{"7_NoFolderAtAll", [](W& w, F&) { w.Text2.value = u"a$.bin"; },
                  u"目标文件中的路径不存在!", 48, kText2Selected},
        CheckCase{"8_NoBlockSize", [](W& w, F&) { w.Text3.value = u""; }, kNoBlock, 64,
                  {"Text3.focus"}},
        CheckCase{"9_SpacesOnly", [](W& w, F&) { w.Text3.value = u"   "; }, kNoBlock, 64,
                  {"Text3.focus"}},
        CheckCase{"9_Letters", [](W& w, F&) { w.Text3.value = u"abc"; }, kNoBlock, 64,
                  {"Text3.focus"}},
        CheckCase{"9_Zero", [](W& w, F&) { w.Text3.value = u"0"; }, kNoBlock, 64,
                  {"Text3.focus"}},
        CheckCase{"9_Negative", [](W& w, F&) { w.Text3.value = u"-5"; }, kNoBlock, 64,
                  {"Text3.focus"}},
        CheckCase{"9_RoundsToNoBytes", [](W& w, F&) { w.Text3.value = u"0.0004"; }, kNoBlock,
                  64, {"Text3.focus"}},
        CheckCase{"10_BlockLargerThanFile", [](W& w, F&) { w.Text3.value = u"2.94"; }, kTooBig,
                  64, {}},
        CheckCase{"10_FixedBlock", [](W& w, F&) { w.Option1.isSelected = true; }, kTooBig, 64,
                  {}},
        CheckCase{"10_EmptySource",
                  [](W& w, F& fs) {
                      fs.addFile(u"D:\\src\\empty", "");
                      w.Text1.value = u"D:\\src\\empty";
                  },
                  kTooBig, 64, {}},
        CheckCase{"10_BeyondAnyNumber", [](W& w, F&) { w.Text3.value = u"1e300"; }, kTooBig, 64,
                  {}},
        CheckCase{"SourceWouldBeAPiece",
                  [](W& w, F& fs) {
                      fs.addFile(u"D:\\x\\a.002", pattern(3000));
                      w.Text1.value = u"D:\\x\\a.002";
                      w.Text2.value = u"D:\\x\\a";
                  },
                  kExists, 64, kText2Selected},
        CheckCase{"SourceWouldBeTheScript",
                  [](W& w, F& fs) {
                      fs.addFile(u"D:\\out\\Link.bat", pattern(3000));
                      w.Text1.value = u"D:\\out\\Link.bat";
                  },
                  kExists, 64, kText2Selected}));

TEST_F(SplitTest, ChecksRunInOrder) {
    // Every input is wrong: each fix reveals the next check's message.
    w.Text1.value = u"D:\\src\\nothing";
    w.Text2.value = u"D:\\src\\a.bin";
    w.Text3.value = u"x";
    const std::vector<std::pair<std::function<void()>, Text>> steps = {
        {[] {}, u"源文件  D:\\src\\nothing  不存在!"},
        {[&] { w.Text1.value = u"D:\\src\\a.bin"; }, kExists},
        {[&] { w.Text2.value = u"D:\\none\\a"; }, u"目标文件中的路径不存在!"},
        {[&] { w.Text2.value = u"D:\\out\\a"; }, kNoBlock},
        {[&] { w.Text3.value = u"4"; }, kTooBig},
    };
    for (const auto& [fix, prompt] : steps) {
        fix();
        w.messages.shown.clear();
        split();
        ASSERT_EQ(w.messages.shown.size(), 1u);
        EXPECT_EQ(w.messages.shown[0].prompt, prompt);
    }
}

TEST_F(SplitTest, SourceWithAPieceSuffixThatIsNoPieceIsSplit) {
    fs.addFile(u"D:\\x\\a.004", pattern(3000));
    w.Text1.value = u"D:\\x\\a.004";
    w.Text2.value = u"D:\\x\\a";
    split();
    EXPECT_EQ(w.List1.count(), 3);
    EXPECT_EQ(fs.contents(u"D:\\x\\a.003")->size(), 952u);
    EXPECT_EQ(*fs.contents(u"D:\\x\\a.004"), pattern(3000));
}

TEST_F(SplitTest, AnsweringNoChangesNothing) {
    w.messages.answers = {mb::No};
    const auto filesBefore = fs.allFiles();
    split();
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].prompt, u"确定要分割文件  D:\\src\\a.bin  吗？");
    EXPECT_EQ(w.messages.shown[0].style, 4);
    EXPECT_EQ(w.log, std::vector<std::string>{"msgbox style=4"});
    EXPECT_EQ(w.List1.items, std::vector<Text>{u"old entry"});
    EXPECT_EQ(w.Text4.value, u"old name");
    EXPECT_EQ(fs.allFiles(), filesBefore);
}

TEST_F(SplitTest, TrimsTheTargetAndReplacesLongerOldPieces) {
    w.Text2.value = u"  D:\\out\\a$.bin  ";
    fs.addFile(u"D:\\out\\a$.bin.001", pattern(10000));
    fs.addFile(u"D:\\out\\a$.bin.003", pattern(10000), /*hidden=*/true);
    fs.addFile(u"D:\\out\\Link.bat", "copy/B \"old.001\" \"old\"\r\nmore lines\r\n");
    split();
    EXPECT_EQ(pieceSizes(u"D:\\out\\a$.bin"), (std::vector<std::int64_t>{1024, 1024, 952}));
    EXPECT_EQ(joined(u"D:\\out\\a$.bin"), pattern(3000));
    EXPECT_EQ(*fs.contents(u"D:\\out\\Link.bat"),
              "copy/B \"a$.bin.001\"+\"a$.bin.002\"+\"a$.bin.003\" \"a(1).bin\"\r\n");
}

// A file system whose reads take a little while, as on a slow disk, for the
// plain copy and the hashing one alike.
class SlowFileSystem : public FakeFileSystem {
  public:
    using FakeFileSystem::FakeFileSystem;
    std::unique_ptr<InputFile> openRead(const Text& path) override {
        struct Slow : InputFile {
            std::unique_ptr<InputFile> inner;
            FileId id() const override { return inner->id(); }
            std::size_t readAt(std::int64_t offset, std::span<std::byte> buffer) override {
                std::this_thread::sleep_for(std::chrono::milliseconds(4));
                return inner->readAt(offset, buffer);
            }
        };
        auto slow = std::make_unique<Slow>();
        slow->inner = FakeFileSystem::openRead(path);
        return slow;
    }
};

class CountingRepaint : public StopListener {
  public:
    explicit CountingRepaint(const test::FakeProgressBar& bar) : bar_(bar) {}
    void listen() override { valuesSeen.push_back(bar_.value); }
    void ask(StopRequest) override {}
    StopRequest takeStopRequest() override { return StopRequest::None; }
    std::vector<double> valuesSeen;

  private:
    const test::FakeProgressBar& bar_;
};

TEST(SplitRepaint, WindowRepaintsWhileManyShortPiecesAreCut) {
    SlowFileSystem fs(u'\\');
    fs.addFile(u"C:\\in.bin", pattern(80 * 1024));
    test::FakeWindow w;
    w.Text1.value = u"C:\\in.bin";
    w.Text2.value = u"C:\\p";
    w.Option1.isSelected = false;
    w.Text3.value = u"1";
    CountingRepaint repaint(w.ProgressBar1);
    MainControls controls{w.Text1,    w.Text2,         w.Text3,        w.Text4,      w.Option1,
                          w.Label2,   w.List1,         w.ProgressBar1, w.StatusBar1, w.pointer,
                          w.messages, w.CommonDialog1, repaint};
    startSplit(controls, fs);
    ASSERT_EQ(w.List1.count(), 80);
    // 80 copies of 4 ms each: several repaints, showing a moving bar.
    ASSERT_GE(repaint.valuesSeen.size(), 2u);
    EXPECT_LT(repaint.valuesSeen.front(), repaint.valuesSeen.back());
}

struct FaultCase {
    std::string name;
    Op op;
    Text path;
    int number;
    int skip;
    Text message;  // empty: none
    std::vector<Text> piecesLeft;
    std::vector<Text> listed;
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

class InjectedFault : public SplitTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(InjectedFault, ReportsResetsAndLeavesNothingOpen) {
    const FaultCase& c = GetParam();
    fs.injectFault(c.op, c.path, c.number, c.skip);
    split();

    std::vector<Text> boxes;
    for (const auto& box : w.messages.shown) {
        if (box.style != mb::YesNo) {
            boxes.push_back(box.prompt);
            EXPECT_EQ(box.style, 16);
        }
    }
    EXPECT_EQ(boxes, c.message.empty() ? std::vector<Text>{} : std::vector<Text>{c.message});
    expectDisplayReset();
    EXPECT_EQ(w.ProgressBar1.value, 0);
    std::vector<Text> pieces;
    for (const auto& path : fs.allFiles()) {
        if (path.starts_with(u"D:\\out\\a$.bin.")) {
            pieces.push_back(path);
        }
    }
    EXPECT_EQ(pieces, c.piecesLeft);
    EXPECT_FALSE(fs.has(u"D:\\out\\Link.bat"));
    EXPECT_EQ(w.List1.items, c.listed);
}

const Text kP1 = u"D:\\out\\a$.bin.001";
const Text kP2 = u"D:\\out\\a$.bin.002";
const Text kP3 = u"D:\\out\\a$.bin.003";
const Text kScript = u"D:\\out\\Link.bat";
const Text kSrc = u"D:\\src\\a.bin";
const Text kNoDrive = u"指定的磁盘驱动器不可用!\r\r可能不存在此驱动器或驱动器内无磁盘!";

INSTANTIATE_TEST_SUITE_P(
    ErrorTable, InjectedFault,
    ::testing::Values(
        FaultCase{"NotReadyWhileCheckingTheSource",
                  Op::Exists,
                  kSrc,
                  71,
                  0,
                  u"磁盘没准备好!",
                  {},
                  {u"old entry"}},
        FaultCase{"DeviceGoneWhileReadingTheLength",
                  Op::Length,
                  kSrc,
                  68,
                  0,
                  kNoDrive,
                  {},
                  {u"old entry"}},
        FaultCase{
            "ProtectedSource", Op::OpenRead, kSrc, 70, 0, u"磁盘被写保护 或 文件被保护!", {}, {}},
        FaultCase{"ReadFailsOnTheSecondPiece",
                  Op::Read,
                  kSrc,
                  57,
                  1,
                  u"磁盘I/0错误，操作被终止!",
                  {kP1},
                  {kP1}},
        FaultCase{"BadNameForTheSecondPiece", Op::Create, kP2, 52, 0, kNoDrive, {kP1}, {kP1}},
        FaultCase{"DiskFullOnTheThirdPiece",
                  Op::Write,
                  kP3,
                  61,
                  0,
                  u"磁盘满，空间不够!",
                  {kP1, kP2},
                  {kP1, kP2}},
        FaultCase{"CloseFailsOnTheFirstPiece",
                  Op::Close,
                  kP1,
                  53,
                  0,
                  u"文件不能被写入!请更换存放位置!",
                  {},
                  {}},
        FaultCase{"UnknownNumberSaysNothing", Op::Write, kP2, 75, 0, u"", {kP1}, {kP1}},
        FaultCase{"ScriptCannotBeCreated",
                  Op::Create,
                  kScript,
                  70,
                  0,
                  u"磁盘被写保护 或 文件被保护!",
                  {kP1, kP2, kP3},
                  {kP1, kP2, kP3}},
        FaultCase{"ScriptCannotBeWritten",
                  Op::Write,
                  kScript,
                  61,
                  0,
                  u"磁盘满，空间不够!",
                  {kP1, kP2, kP3},
                  {kP1, kP2, kP3}}));

TEST_F(SplitTest, DiskFullRemovesThePartialPieceAndASecondRunSucceeds) {
    fs.setCapacity(3000 + 1500);
    split();
    ASSERT_EQ(w.messages.shown.size(), 2u);
    EXPECT_EQ(w.messages.shown[1].prompt, u"磁盘满，空间不够!");
    expectDisplayReset();
    EXPECT_TRUE(fs.has(kP1));
    EXPECT_FALSE(fs.has(kP2));  // not left behind truncated
    EXPECT_EQ(w.List1.items, std::vector<Text>{kP1});
    EXPECT_EQ(w.Text4.value, u"old name");

    fs.setCapacity(-1);
    w.messages.shown.clear();
    split();
    ASSERT_EQ(w.messages.shown.size(), 2u);
    EXPECT_EQ(w.messages.shown[1].prompt, kSrc + kDone);
    EXPECT_EQ(joined(u"D:\\out\\a$.bin"), pattern(3000));
}

TEST_F(SplitTest, ErrorsOutsideTheRunTimeNumbersAreTrappedToo) {
    // An unexpected exception from a control still ends in the reset display.
    struct ThrowingList : test::FakeListBox {
        using FakeListBox::FakeListBox;
        void addItem(const Text&) override { throw std::logic_error("list full"); }
    } list(w.log);
    MainControls controls{
        w.Text1,        w.Text2,      w.Text3,   w.Text4,    w.Option1,       w.Label2, list,
        w.ProgressBar1, w.StatusBar1, w.pointer, w.messages, w.CommonDialog1, w.stop};
    startSplit(controls, fs);
    EXPECT_EQ(w.messages.shown.size(), 1u);  // the confirmation only
    expectDisplayReset();
}

}  // namespace
}  // namespace tessark
