// SPDX-License-Identifier: MIT
// The checksum file through the window's handlers, on the in-memory file
// system: written by Start split, checked by Start merge with its questions
// and its message, used by Add to name a missing last piece.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "engine/core/sha256.h"
#include "engine/split/split_plan.h"
#include "fake_file_system.h"
#include "fake_window.h"
#include "forms/merge_form.h"
#include "forms/merge_list.h"
#include "forms/split_form.h"

namespace tessark {
namespace {

using Op = test::FakeFileSystem::Op;

std::string line(const std::string& bytes, const std::string& name) {
    Sha256 hash;
    hash.update(std::as_bytes(std::span(bytes.data(), bytes.size())));
    return toHex(hash.finish()) + "  " + name + "\n";
}

const std::string kSource = std::string(1024, 'a') + std::string(1024, 'b') + "c";  // 3 pieces
const Text kSums = u"D:\\out\\影$.bin.sha256";
const Text kOutput = u"D:\\out\\joined.bin";
const Text kIndex = u"D:\\out\\影$.bin.par2";
const Text kVolume = u"D:\\out\\影$.bin.vol0+1.par2";
constexpr int kAskNoDefault = 292;

class ChecksumWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        fs.addFile(u"D:\\src\\影.bin", kSource);
        fs.addFolder(u"D:\\out");
        w.Text1.value = u"D:\\src\\影.bin";
        w.Text2.value = u"D:\\out\\影$.bin";
        w.Option1.isSelected = false;
        w.Text3.value = u"1";
    }
    void split() {
        auto controls = w.controls();
        startSplit(controls, fs);
    }
    // Merges what the split listed into kOutput, over an older file.
    void merge(std::deque<int> answers) {
        fs.addFile(kOutput, "old");
        w.Text4.value = kOutput;
        w.messages.shown.clear();
        w.messages.answers = std::move(answers);
        auto controls = w.controls();
        startMerge(controls, fs);
    }

    test::FakeFileSystem fs;
    test::FakeWindow w;
};

TEST_F(ChecksumWindow, StartSplitWritesTheChecksumFileLast) {
    split();
    EXPECT_EQ(*fs.contents(kSums), line(kSource.substr(0, 1024), "影$.bin.001") +
                                       line(kSource.substr(1024, 1024), "影$.bin.002") +
                                       line(kSource.substr(2048), "影$.bin.003") +
                                       line(kSource, "影(1).bin"));
}

TEST_F(ChecksumWindow, AFailedOrStoppedSplitWritesNone) {
    fs.injectFault(Op::Create, u"D:\\out\\Link.bat", 61);
    split();
    EXPECT_FALSE(fs.has(kSums));
    EXPECT_EQ(w.messages.shown.back().style, 16);

    SplitRequest request{u"D:\\src\\影.bin", u"D:\\out\\影$.bin", BlockSize::ofBytes(1024)};
    request.writeChecksum = true;
    const auto plan = std::get<SplitPlan>(planSplit(fs, request));
    EXPECT_EQ(runSplit(fs, plan, [](const Progress& p) { return p.piecesDone < 2; }),
              RunOutcome::Stopped);
    EXPECT_FALSE(fs.has(kSums));
    for (const Text& name : fs.allFiles()) {
        EXPECT_EQ(name.find(u".tmp"), Text::npos) << toUtf8(name);
    }
}

TEST_F(ChecksumWindow, NeverWritesOverASourceReachedByTheChecksumName) {
    fs.addHardLink(u"D:\\src\\影.bin", kSums);
    split();
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].prompt, u"指定的目标文件已经存在，请重新取名!");
    EXPECT_EQ(*fs.contents(u"D:\\src\\影.bin"), kSource);
}

TEST_F(ChecksumWindow, ADamagedPieceStopsTheMergeNamingIt) {
    split();
    for (const Text& volume : {kIndex, kVolume}) {
        fs.remove(volume);  // no recovery data to rebuild it with
    }
    fs.files()[u"D:\\out\\影$.bin.002"]->bytes[500] = 'x';
    merge({});
    ASSERT_EQ(w.messages.shown.size(), 3u);  // replace?, merge?, the damage
    EXPECT_EQ(w.messages.shown[2].prompt, u"文件 影$.bin.002 已损坏（校验值不符），合并已停止!");
    EXPECT_EQ(w.messages.shown[2].style, 16);
    EXPECT_EQ(*fs.contents(kOutput), "old");
    EXPECT_FALSE(w.ProgressBar1.visible);
    EXPECT_EQ(w.pointer.current, pointer::Default);
}

struct QuestionCase {
    const char* name;
    std::function<void(test::FakeFileSystem&, test::FakeWindow&)> change;
    Text question;
    int answer;
    std::string output;  // what kOutput holds afterwards
};

void PrintTo(const QuestionCase& c, std::ostream* os) {
    *os << c.name;
}

class ChecksumQuestion : public ChecksumWindow,
                         public ::testing::WithParamInterface<QuestionCase> {};

const Text kDiffers = u"合并列表与校验文件 影$.bin.sha256 不符，仍要合并吗？";
const Text kUnrecognised = u"校验文件 影$.bin.sha256 无法识别，仍要合并吗？";

void reorder(test::FakeFileSystem&, test::FakeWindow& w) {
    std::swap(w.List1.items[1], w.List1.items[2]);
}
void dropLast(test::FakeFileSystem&, test::FakeWindow& w) {
    w.List1.items.pop_back();
}
void garble(test::FakeFileSystem& fs, test::FakeWindow&) {
    fs.addFile(kSums, "not a checksum file\n");
}

const QuestionCase kQuestionCases[] = {
    {"ListDiffersNo", reorder, kDiffers, mb::No, "old"},
    {"ListDiffersYes", dropLast, kDiffers, mb::Yes, kSource.substr(0, 2048)},
    // Every piece in another order makes another file: checked against the
    // whole file's line, and the old output kept.
    {"ReorderedYesKeepsTheOldOutput", reorder, kDiffers, mb::Yes, "old"},
    {"UnrecognisedNo", garble, kUnrecognised, mb::No, "old"},
    {"UnrecognisedYes", garble, kUnrecognised, mb::Yes, kSource},
};

TEST_P(ChecksumQuestion, AsksFirstAndNoChangesNothing) {
    const QuestionCase& c = GetParam();
    split();
    c.change(fs, w);
    merge({c.answer});
    ASSERT_FALSE(w.messages.shown.empty());
    EXPECT_EQ(w.messages.shown[0].prompt, c.question);
    EXPECT_EQ(w.messages.shown[0].style, kAskNoDefault);
    EXPECT_EQ(w.messages.shown.size(), c.answer == mb::No ? 1u : 4u);
    EXPECT_EQ(*fs.contents(kOutput), c.output);
}

INSTANTIATE_TEST_SUITE_P(Answers, ChecksumQuestion, ::testing::ValuesIn(kQuestionCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(ChecksumWindow, AddNamesAMissingLastPiece) {
    split();
    for (const Text& volume : {kIndex, kVolume}) {
        fs.remove(volume);  // without recovery data it cannot be rebuilt
    }
    fs.remove(u"D:\\out\\影$.bin.003");
    w.List1.items.clear();
    auto controls = w.controls();
    w.messages.shown.clear();
    addPiecesFrom(controls, fs, u"D:\\out\\影$.bin.001");
    EXPECT_EQ(w.List1.count(), 2);
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].prompt, u"文件不完整，缺少 影$.bin.003 !");
}

// A damaged or missing piece and the recovery data the split wrote (one
// recovery slice): asked, rebuilt into the output, the pieces on the disk
// left as they are; or said how far the recovery data falls short.
struct RebuildCase {
    const char* name;
    std::vector<int> damaged;  // pieces with a byte changed
    int missing;               // a piece taken away before Add, or 0
    std::deque<int> answers;
    Text addBox;    // what Add says, when a piece is missing
    Text question;  // the rebuild question, when asked
    Text last;      // the last box
    bool joins;
};

const Text kJoined = kOutput + u"合并完成!\r已用恢复数据重建 影$.bin.002。";
const Text kAsk2 = u"文件 影$.bin.002 已损坏，可以用恢复数据修复。是否修复后合并？";
const Text kShort =
    u"文件 影$.bin.001 已损坏（校验值不符），合并已停止!\r"
    u"恢复数据不足：需要 2 块，只有 1 块。";

const RebuildCase kRebuildCases[] = {
    {"DamagedYes", {2}, 0, {}, {}, kAsk2, kJoined, true},
    {"DamagedNo", {2}, 0, {mb::Yes, mb::Yes, mb::No}, {}, kAsk2, kAsk2, false},
    {"TwoDamaged", {1, 3}, 0, {}, {}, {}, kShort, false},
    {"MissingYes",
     {},
     2,
     {},
     u"文件不完整，缺少 影$.bin.002 !（可以用恢复数据重建）",
     u"文件 影$.bin.002 缺少，可以用恢复数据修复。是否修复后合并？",
     kJoined,
     true},
    {"MissingAndAnotherDamaged",
     {1},
     2,
     {},
     u"文件不完整，缺少 影$.bin.002 !（可以用恢复数据重建）",
     u"文件 影$.bin.002 缺少，可以用恢复数据修复。是否修复后合并？",
     kShort,
     false},
};

void PrintTo(const RebuildCase& c, std::ostream* os) {
    *os << c.name;
}

class RebuildFlow : public ChecksumWindow, public ::testing::WithParamInterface<RebuildCase> {};

TEST_P(RebuildFlow, AsksRebuildsAndLeavesThePiecesAsTheyWere) {
    const RebuildCase& c = GetParam();
    split();
    const auto piece = [](int n) { return u"D:\\out\\影$.bin.00" + Text(1, char16_t(u'0' + n)); };
    for (const int n : c.damaged) {
        fs.files()[piece(n)]->bytes[0] ^= 1;
    }
    std::map<Text, std::string> before;
    for (int n = 1; n <= 3; ++n) {
        if (n != c.missing) {
            before[piece(n)] = *fs.contents(piece(n));
        }
    }
    if (c.missing != 0) {
        fs.remove(piece(c.missing));
        w.List1.items.clear();
        w.messages.shown.clear();
        auto controls = w.controls();
        addPiecesFrom(controls, fs, piece(1));
        ASSERT_EQ(w.messages.shown.size(), 1u);
        EXPECT_EQ(w.messages.shown[0].prompt, c.addBox);
    }
    merge(c.answers);
    ASSERT_FALSE(w.messages.shown.empty());
    const auto asked = std::find_if(w.messages.shown.begin(), w.messages.shown.end(),
                                    [&](const auto& box) { return box.prompt == c.question; });
    EXPECT_EQ(asked != w.messages.shown.end(), !c.question.empty());
    if (asked != w.messages.shown.end()) {
        EXPECT_EQ(asked->style, 36);
    }
    EXPECT_EQ(w.messages.shown.back().prompt, c.last);
    EXPECT_EQ(*fs.contents(kOutput), c.joins ? kSource : "old");
    for (const auto& [path, bytes] : before) {
        EXPECT_EQ(*fs.contents(path), bytes) << toUtf8(path);
    }
    for (const Text& name : fs.allFiles()) {
        EXPECT_EQ(name.find(u".tmp"), Text::npos) << toUtf8(name);
    }
}

INSTANTIATE_TEST_SUITE_P(Recovery, RebuildFlow, ::testing::ValuesIn(kRebuildCases),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace tessark
