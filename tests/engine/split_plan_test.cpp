// SPDX-License-Identifier: MIT
// The split as values: requests checked into refusals or plans, a stopped
// run, and the guards that keep the source and Link.bat safe.
#include <gtest/gtest.h>

#include "engine/checksum/checksum_file.h"
#include "engine/core/piece_names.h"
#include "engine/core/runtime_error.h"
#include "engine/split/split_plan.h"
#include "fake_file_system.h"
#include "fake_window.h"
#include "forms/error_report.h"
#include "forms/split_form.h"
#include "heap_probe.h"

namespace tessark {
namespace {

using test::FakeFileSystem;

const Text kSource = u"D:\\src\\a.bin";

class SplitPlanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs.addFile(kSource, std::string(3000, 'x'));
        fs.addFolder(u"D:\\out");
        fs.addFile(u"D:\\out\\taken", "t");
    }
    FakeFileSystem fs{u'\\'};
};

struct PlanCase {
    const char* name;
    Text source, target;
    BlockSize block;
    std::optional<SplitCheck> refused;  // nothing: a plan
    std::vector<std::int64_t> sizes;    // of the planned pieces
};

void PrintTo(const PlanCase& c, std::ostream* os) {
    *os << c.name;
}

class PlanTable : public SplitPlanTest, public ::testing::WithParamInterface<PlanCase> {};

TEST_P(PlanTable, RefusesOrPlans) {
    const PlanCase& c = GetParam();
    const auto result = planSplit(fs, {c.source, c.target, c.block});
    if (c.refused) {
        ASSERT_TRUE(std::holds_alternative<SplitRefusal>(result));
        EXPECT_EQ(std::get<SplitRefusal>(result).check, *c.refused);
        return;
    }
    ASSERT_TRUE(std::holds_alternative<SplitPlan>(result));
    const auto& plan = std::get<SplitPlan>(result);
    std::vector<std::int64_t> sizes;
    std::int64_t offset = 0;
    for (std::int64_t i = 0; i < plan.pieceCount(); ++i) {
        const PlannedPiece piece = plan.piece(i);
        EXPECT_EQ(piece.offset, offset);
        EXPECT_EQ(piece.name, pieceName(plan.target, static_cast<std::int64_t>(sizes.size()) + 1));
        sizes.push_back(piece.size);
        offset += piece.size;
    }
    EXPECT_EQ(sizes, c.sizes);
    EXPECT_EQ(fs.allFiles().size(), 2u) << "planning touches nothing";
}

using K = SplitCheck;
INSTANTIATE_TEST_SUITE_P(
    Requests, PlanTable,
    ::testing::Values(
        PlanCase{
            "Bytes", kSource, u" D:\\out\\a ", BlockSize::ofBytes(1000), {}, {1000, 1000, 1000}},
        PlanCase{"TypedKilobytes",
                 kSource,
                 u"D:\\out\\a",
                 BlockSize::typedKilobytes(u" 1.5kb"),
                 {},
                 {1536, 1464}},
        PlanCase{"WholeFileInOne", kSource, u"D:\\out\\a", BlockSize::ofBytes(3000), {}, {3000}},
        PlanCase{"NoSource", u"  ", u"D:\\out\\a", BlockSize::ofBytes(1), K::NoSource, {}},
        PlanCase{"SourceIsFolder", u"D:\\src\\", u"D:\\out\\a", {}, K::SourceIsFolder, {}},
        PlanCase{"SourceMissing", u"D:\\src\\b", u"D:\\out\\a", {}, K::SourceMissing, {}},
        PlanCase{"NoTarget", kSource, u"", {}, K::NoTarget, {}},
        PlanCase{"TargetIsFolder", kSource, u"D:\\out\\", {}, K::TargetIsFolder, {}},
        PlanCase{"TargetExists", kSource, u"D:\\out\\taken", {}, K::TargetExists, {}},
        PlanCase{"TargetFolderMissing", kSource, u"D:\\nowhere\\a", {}, K::TargetFolderMissing, {}},
        PlanCase{"BareTarget", kSource, u"a", {}, K::TargetFolderMissing, {}},
        PlanCase{"QuoteInTarget", kSource, u"D:\\out\\a\"b", {}, K::UnsafeScriptName, {}},
        PlanCase{"ZeroBytes", kSource, u"D:\\out\\a", BlockSize::ofBytes(0), K::NoBlockSize, {}},
        PlanCase{"TypedNothing",
                 kSource,
                 u"D:\\out\\a",
                 BlockSize::typedKilobytes(u"abc"),
                 K::NoBlockSize,
                 {}},
        PlanCase{"FloppyLargerThanFile",
                 kSource,
                 u"D:\\out\\a",
                 BlockSize::floppy(),
                 K::BlockLargerThanFile,
                 {}},
        PlanCase{"TypedTooLargeToHold",
                 kSource,
                 u"D:\\out\\a",
                 BlockSize::typedKilobytes(u"1e300"),
                 K::BlockLargerThanFile,
                 {}}),
    [](const auto& p) { return std::string(p.param.name); });

// The pieces are named on demand: a million of them hold no memory of their
// own, and the last is named, placed and sized like the first.
TEST_F(SplitPlanTest, AMillionPiecesTakeNoMemoryOfTheirOwn) {
    fs.addFile(u"D:\\src\\big", std::string(1'000'000, 'x'));
    const auto before = test::heapInUse();
    const auto result = planSplit(fs, {u"D:\\src\\big", u"D:\\out\\b", BlockSize::ofBytes(1)});
    const auto after = test::heapInUse();
    ASSERT_TRUE(std::holds_alternative<SplitPlan>(result));
    if (before && after) {
        EXPECT_LT(*after - *before, 64 << 10) << "bytes held by the plan";
    }
    const auto& plan = std::get<SplitPlan>(result);
    EXPECT_EQ(plan.pieceCount(), 1'000'000);
    const PlannedPiece last = plan.piece(999'999);
    EXPECT_EQ(last.name, u"D:\\out\\b.1000000");
    EXPECT_EQ(last.offset, 999'999);
    EXPECT_EQ(last.size, 1);
}

// A split never writes a checksum file its reader would refuse: not more
// lines than it takes, nor more bytes (long names make long lines).
TEST_F(SplitPlanTest, ThePiecesFitTheChecksumFileOrTheSplitIsRefused) {
    constexpr std::int64_t kLines = static_cast<std::int64_t>(kMaxChecksumEntries);
    fs.addFile(u"D:\\src\\big", std::string(static_cast<std::size_t>(kLines), 'x'));
    // Lines of about 2,075 bytes: 131,072 of them are over the byte limit,
    // 65,536 are not.
    const Text longName = u"D:\\out\\" + Text(2000, u'n');
    struct Case {
        Text target;
        std::int64_t block;
        bool refused;
    };
    for (const Case& c : {Case{u"D:\\out\\b", 1, true},  // one line too many
                          Case{longName, 32, true}, Case{longName, 64, false}}) {
        SplitRequest request{u"D:\\src\\big", c.target, BlockSize::ofBytes(c.block)};
        request.writeChecksum = true;
        const auto result = planSplit(fs, request);
        const auto* refusal = std::get_if<SplitRefusal>(&result);
        EXPECT_EQ(refusal != nullptr, c.refused) << toUtf8(c.target) << " " << c.block;
        if (refusal) {
            EXPECT_EQ(refusal->check, SplitCheck::TooManyForChecksum);
        }
    }
}

// Link.bat is written a block of lines at a time: many blocks' worth must
// come out exactly as the whole script.
TEST_F(SplitPlanTest, ALongScriptIsWrittenWhole) {
    fs.addFile(u"D:\\src\\many", std::string(20000, 'x'));
    const auto plan = std::get<SplitPlan>(
        planSplit(fs, {u"D:\\src\\many", u"D:\\out\\m", BlockSize::ofBytes(1)}));
    ASSERT_EQ(runSplit(fs, plan, nullptr), RunOutcome::Completed);
    const std::string expected = plan.scriptBytes(fs);
    EXPECT_GT(expected.size(), std::size_t{128} << 10);
    EXPECT_EQ(fs.contents(u"D:\\out\\Link.bat"), expected);
}

TEST_F(SplitPlanTest, UnsafeNamesPassWithoutAScript) {
    const auto result = planSplit(fs, {kSource, u"D:\\out\\a\"b", BlockSize::ofBytes(1000), false});
    ASSERT_TRUE(std::holds_alternative<SplitPlan>(result));
    EXPECT_TRUE(std::get<SplitPlan>(result).scriptBytes(fs).empty());
}

// Any piece, or Link.bat, that is the source under another name is refused
// before anything is written, whichever piece number it has.
struct LinkCase {
    const char* name;
    Text link;
    bool symbolic;
};

void PrintTo(const LinkCase& c, std::ostream* os) {
    *os << c.name;
}

class SourceLinkedAs : public SplitPlanTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(SourceLinkedAs, IsRefusedAndTheSourceIsUntouched) {
    if (GetParam().symbolic) {
        fs.addSymlink(GetParam().link, kSource);
    } else {
        fs.addHardLink(kSource, GetParam().link);
    }
    const auto before = fs.allFiles();
    test::FakeWindow w;
    w.Text1.value = kSource;
    w.Text2.value = u"D:\\out\\m";
    w.Option1.isSelected = false;
    w.Text3.value = u"1";
    auto controls = w.controls();
    startSplit(controls, fs);

    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].prompt, u"指定的目标文件已经存在，请重新取名!");
    EXPECT_EQ(w.messages.shown[0].style, 64);
    EXPECT_EQ(test::eventsStartingWith(w.log, "Text2."),
              (std::vector<std::string>{"Text2.selectAll", "Text2.focus"}));
    EXPECT_EQ(fs.contents(kSource), std::string(3000, 'x'));
    EXPECT_EQ(fs.allFiles(), before);
}

INSTANTIATE_TEST_SUITE_P(Links, SourceLinkedAs,
                         ::testing::Values(LinkCase{"FirstPiece", u"D:\\out\\m.001", false},
                                           LinkCase{"MiddlePiece", u"D:\\out\\m.002", false},
                                           LinkCase{"LastPiece", u"D:\\out\\m.003", false},
                                           LinkCase{"SymbolicMiddlePiece", u"D:\\out\\m.002", true},
                                           LinkCase{"Script", u"D:\\out\\Link.bat", false},
                                           LinkCase{"SymbolicScript", u"D:\\out\\Link.bat", true}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(SplitPlanTest, ALinkMadeAfterTheCheckIsRefusedWhenThePieceIsOpened) {
    const auto plan =
        std::get<SplitPlan>(planSplit(fs, {kSource, u"D:\\out\\m", BlockSize::ofBytes(1024)}));
    fs.addHardLink(kSource, u"D:\\out\\m.002");
    try {
        runSplit(fs, plan, {});
        FAIL() << "the source was written over";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::PermissionDenied);
    }
    EXPECT_EQ(fs.contents(kSource), std::string(3000, 'x'));
    EXPECT_FALSE(fs.has(u"D:\\out\\Link.bat"));
    EXPECT_EQ(fs.openHandles(), 0);
}

TEST_F(SplitPlanTest, AFailureShowsTheTableMessageAndTellsStandardError) {
    fs.injectFault(FakeFileSystem::Op::Write, u"D:\\out\\m.002", err::DiskFull);
    test::FakeWindow w;
    w.Text1.value = kSource;
    w.Text2.value = u"D:\\out\\m";
    w.Option1.isSelected = false;
    w.Text3.value = u"1";
    auto controls = w.controls();
    ::testing::internal::CaptureStderr();
    startSplit(controls, fs);
    const std::string line = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(line, "tessark: " + errorLine(RuntimeError(err::DiskFull)) + "\n");
    EXPECT_EQ(line, "tessark: 运行时错误 61\n");
    ASSERT_EQ(w.messages.shown.size(), 2u);
    EXPECT_EQ(w.messages.shown[1].prompt, u"磁盘满，空间不够!");
}

TEST_F(SplitPlanTest, ALinkBeyondTheLastPieceIsNoConcern) {
    fs.addHardLink(kSource, u"D:\\out\\m.004");
    const auto result = planSplit(fs, {kSource, u"D:\\out\\m", BlockSize::ofBytes(1024)});
    EXPECT_TRUE(std::holds_alternative<SplitPlan>(result));
}

struct StopCase {
    const char* name;
    int callsAllowed;  // calls answered true before the one that stops
    std::vector<Text> left;
};

void PrintTo(const StopCase& c, std::ostream* os) {
    *os << c.name;
}

class SplitStop : public ::testing::TestWithParam<StopCase> {};

// "/out/m.002" is there before the run: it stays, old or rewritten whole,
// unless the stop came while it was being written.
TEST_P(SplitStop, RemovesThePiecesItCreatedAndWritesNoScript) {
    test::ChunkyFileSystem fs(u'/', 100);
    fs.addFile(u"/src", std::string(2500, 's'));
    fs.addFolder(u"/out");
    fs.addFile(u"/out/m.002", "old");
    const auto plan =
        std::get<SplitPlan>(planSplit(fs, {u"/src", u"/out/m", BlockSize::ofBytes(1000)}));
    int calls = 0;
    const auto outcome =
        runSplit(fs, plan, [&](const Progress&) { return calls++ < GetParam().callsAllowed; });
    EXPECT_EQ(outcome, RunOutcome::Stopped);
    std::vector<Text> left;
    for (const Text& f : fs.allFiles()) {
        if (f.starts_with(u"/out/")) {
            left.push_back(f);
        }
    }
    EXPECT_EQ(left, GetParam().left);
    EXPECT_EQ(fs.openHandles(), 0);
    if (fs.has(u"/out/m.002")) {
        const std::string bytes = *fs.contents(u"/out/m.002");
        EXPECT_TRUE(bytes == "old" || bytes == std::string(1000, 's')) << bytes.size();
    }
}

// Per 1,000-byte piece: one call before it and nine inside its copy; one
// call after the last piece.
INSTANTIATE_TEST_SUITE_P(Moments, SplitStop,
                         ::testing::Values(StopCase{"BeforeTheFirstPiece", 0, {u"/out/m.002"}},
                                           StopCase{"InsideTheFirstPiece", 4, {u"/out/m.002"}},
                                           StopCase{"BeforeTheSecondPiece", 10, {u"/out/m.002"}},
                                           StopCase{"InsideTheSecondPiece", 14, {}},
                                           StopCase{"InsideTheThirdPiece", 22, {u"/out/m.002"}},
                                           StopCase{"AfterTheLastPiece", 25, {u"/out/m.002"}}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(SplitProgress, CountsEveryByteAndPiece) {
    test::ChunkyFileSystem fs(u'/', 100);
    fs.addFile(u"/src", std::string(2500, 's'));
    fs.addFolder(u"/out");
    const auto plan =
        std::get<SplitPlan>(planSplit(fs, {u"/src", u"/out/m", BlockSize::ofBytes(1000)}));
    std::vector<Progress> seen;
    EXPECT_EQ(runSplit(fs, plan,
                       [&](const Progress& p) {
                           seen.push_back(p);
                           return true;
                       }),
              RunOutcome::Completed);
    ASSERT_FALSE(seen.empty());
    for (std::size_t i = 1; i < seen.size(); ++i) {
        EXPECT_GE(seen[i].bytesDone, seen[i - 1].bytesDone);
        EXPECT_EQ(seen[i].bytesTotal, 2500);
        EXPECT_EQ(seen[i].piecesTotal, 3);
    }
    EXPECT_EQ(seen.back().bytesDone, 2500);
    EXPECT_EQ(seen.back().piecesDone, 3);
    EXPECT_EQ(fs.contents(u"/out/Link.bat"), "copy/B \"m.001\"+\"m.002\"+\"m.003\" \"m\"\r\n");
}

// Names Link.bat cannot quote are refused from the window before anything is
// touched; every other name is quoted as it is, with "%" doubled.
struct NameCase {
    const char* name;
    Text target;         // in D:\\out
    std::string script;  // empty: refused
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.name;
}

class ScriptName : public SplitPlanTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(ScriptName, IsRefusedOrQuoted) {
    const NameCase& c = GetParam();
    test::FakeWindow w;
    w.Text1.value = kSource;
    w.Text2.value = u"D:\\out\\" + c.target;
    w.Option1.isSelected = false;
    w.Text3.value = u"2";
    auto controls = w.controls();
    startSplit(controls, fs);
    if (!c.script.empty()) {
        EXPECT_EQ(fs.contents(u"D:\\out\\Link.bat"), c.script);
        return;
    }
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].prompt, u"目标文件名中含有批处理文件不能使用的字符!");
    EXPECT_EQ(w.messages.shown[0].style, 48);
    EXPECT_EQ(test::eventsStartingWith(w.log, "Text2."),
              (std::vector<std::string>{"Text2.selectAll", "Text2.focus"}));
    EXPECT_EQ(fs.allFiles().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ScriptName,
    ::testing::Values(
        NameCase{"Quote", u"a\" & echo PWNED & \"b", ""}, NameCase{"CarriageReturn", u"a\rb", ""},
        NameCase{"LineFeed", u"a\nb", ""}, NameCase{"Tab", u"a\tb", ""},
        NameCase{"Escape", u"a\x1B", ""}, NameCase{"Delete", u"a\x7F", ""},
        NameCase{"Operators", u"a&b^c|d<e>(f)",
                 "copy/B \"a&b^c|d<e>(f).001\"+\"a&b^c|d<e>(f).002\" \"a&b^c|d<e>(f)\"\r\n"},
        NameCase{"SpacesAndPercent", u"50% off$.txt",
                 "copy/B \"50%% off$.txt.001\"+\"50%% off$.txt.002\" \"50%% off(1).txt\"\r\n"}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace tessark
