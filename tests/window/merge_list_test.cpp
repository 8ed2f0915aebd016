// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/piece_names.h"
#include "engine/split/split_settings.h"
#include "fake_file_system.h"
#include "fake_window.h"
#include "forms/merge_list.h"
#include "forms/split_form.h"

namespace tessark {
namespace {

using test::FakeFileSystem;
using Items = std::vector<Text>;

const Text kPieceFilter =
    u"分割文件[*.001]|*.001|次分割文件[*.002,*.003,*.004,*.005,*.006,*.007,*.008,*.009]|*.002;*."
    u"003;"
    u"*.004;*.005;*.006;*.007;*.008;*.009|所有文件[*.*]|*.*";
const Text kAlreadyListed = u"该文件已存在列表中!";
const Text kX = u"D:\\x\\";

class MergeListTest : public ::testing::Test {
  protected:
    MergeListTest() {
        w.Text4.value = u"keep";
        w.List1.onClick = [this] { showPath(controls); };
    }
    void add(const Text& pick) {
        w.CommonDialog1.picks.push_back(pick);
        addPieces(controls, fs);
    }
    void addFiles(const std::vector<Text>& names) {
        for (const Text& name : names) {
            fs.addFile(kX + name, "x");
        }
    }
    std::vector<std::string> text4Events() const {
        return test::eventsStartingWith(w.log, "Text4.");
    }

    test::FakeWindow w;
    MainControls controls = w.controls();
    FakeFileSystem fs;
};

TEST_F(MergeListTest, AddSetsTheSharedDialogAndItsFilterStaysForTheNextUser) {
    w.CommonDialog1.fileName = u"D:\\src\\movie.avi";
    add(u"");  // cancelled

    ASSERT_EQ(w.CommonDialog1.openings.size(), 1u);
    const auto& opening = w.CommonDialog1.openings[0];
    EXPECT_EQ(opening.flags, 4100);
    EXPECT_EQ(opening.filter, kPieceFilter);
    EXPECT_EQ(opening.fileName, u"");
    EXPECT_EQ(opening.dialogTitle, u"请打开一个要分割的文件");
    EXPECT_EQ(opening.initDir, u"c:\\my documents");
    // A cancelled dialog changes nothing.
    EXPECT_TRUE(w.List1.items.empty());
    EXPECT_EQ(w.Text4.value, u"keep");
    EXPECT_TRUE(w.messages.shown.empty());

    // The source browse sets neither the filter nor the title: it opens the
    // dialog with this filter.
    browseSource(controls, fs);
    ASSERT_EQ(w.CommonDialog1.openings.size(), 2u);
    EXPECT_EQ(w.CommonDialog1.openings[1].filter, kPieceFilter);
}

TEST_F(MergeListTest, AnyOtherFileIsAddedAloneAndOnlyOnce) {
    addFiles({u"movie$.avi.001", u"movie$.avi.002", u"movie$.avi.003"});
    w.List1.items = {u"movie$.avi.003"};  // a bare name does not count here
    add(kX + u"movie$.avi.002");
    add(kX + u"movie$.avi.003");
    add(kX + u"movie$.avi.002");

    EXPECT_EQ(w.List1.items,
              (Items{u"movie$.avi.003", kX + u"movie$.avi.002", kX + u"movie$.avi.003"}));
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].prompt, kAlreadyListed);
    EXPECT_EQ(w.messages.shown[0].style, 64);
    EXPECT_EQ(w.messages.shown[0].title, u"文件分割机");
    EXPECT_EQ(w.Text4.value, u"keep");
    EXPECT_TRUE(text4Events().empty());
}

TEST_F(MergeListTest, TheFirstPieceBringsItsSetAndProposesTheSourceName) {
    addFiles({u"movie$.avi.001", u"movie$.avi.002", u"movie$.avi.003", u"movie$.avi.txt",
              u"movie$.avi.000", u"Link.bat", u"movie$.avi", u"other$.avi.001"});
    fs.addFile(kX + u"movie$.avi.004", "x", /*hidden=*/true);
    fs.addFile(u"D:\\y\\movie$.avi.005", "x");
    add(kX + u"movie$.avi.001");

    EXPECT_EQ(w.List1.items,
              (Items{kX + u"movie$.avi.001", kX + u"movie$.avi.002", kX + u"movie$.avi.003"}));
    EXPECT_EQ(w.Text4.value, u"D:\\x\\movie.avi");
    EXPECT_EQ(text4Events(), (std::vector<std::string>{"Text4.setText", "Text4.caretToEnd"}));
    EXPECT_TRUE(w.messages.shown.empty());
}

TEST_F(MergeListTest, OnlyNumbersAboveZeroAfterTheFixedPartArePieces) {
    addFiles({u"a.001", u"a.1000", u"a.000", u"a.txt", u"a.01a", u"a.", u"a.0010", u"a.-1",
              u"a. 12", u"a.12 ", u"ab.002", u"a.002.bak"});
    add(kX + u"a.001");
    EXPECT_EQ(w.List1.items, (Items{kX + u"a.001", kX + u"a.0010", kX + u"a.1000"}));
}

class PieceOrder : public MergeListTest, public ::testing::WithParamInterface<bool> {};

TEST_P(PieceOrder, AscendingByNumberWhateverTheDirectoryOrder) {
    fs.setListingDescending(GetParam());
    constexpr int kPieces = 1205;
    for (int i = 1; i <= kPieces; ++i) {
        fs.addFile(pieceName(u"D:\\x\\big$.iso", i), "");
    }
    add(u"D:\\x\\big$.iso.001");
    ASSERT_EQ(w.List1.count(), kPieces);
    for (int i = 1; i <= kPieces; ++i) {
        ASSERT_EQ(w.List1.items[static_cast<std::size_t>(i - 1)], pieceName(u"D:\\x\\big$.iso", i));
    }
}

INSTANTIATE_TEST_SUITE_P(Listing, PieceOrder, ::testing::Bool(), [](const auto& p) {
    return std::string(p.param ? "Descending" : "Ascending");
});

struct DuplicateCase {
    const char* name;
    Text alreadyListed;
    Items expected;
};

void PrintTo(const DuplicateCase& c, std::ostream* os) {
    *os << c.name;
}

class DuplicateInSet : public MergeListTest, public ::testing::WithParamInterface<DuplicateCase> {};

TEST_P(DuplicateInSet, EndsTheAddAtTheDuplicate) {
    addFiles({u"movie$.avi.001", u"movie$.avi.002", u"movie$.avi.003"});
    w.List1.items = {GetParam().alreadyListed};
    add(kX + u"movie$.avi.001");
    EXPECT_EQ(w.List1.items, GetParam().expected);
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].prompt, kAlreadyListed);
    EXPECT_EQ(w.messages.shown[0].style, 64);
    EXPECT_EQ(w.Text4.value, u"keep");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DuplicateInSet,
    ::testing::Values(
        DuplicateCase{
            "FullPath", kX + u"movie$.avi.002", {kX + u"movie$.avi.002", kX + u"movie$.avi.001"}},
        DuplicateCase{"BareName", u"movie$.avi.002", {u"movie$.avi.002", kX + u"movie$.avi.001"}},
        DuplicateCase{"FirstPiece", kX + u"movie$.avi.001", {kX + u"movie$.avi.001"}}),
    [](const auto& p) { return std::string(p.param.name); });

struct ProposalCase {
    const char* name;
    Text chosen;
    Text proposed;
    bool caretToEnd;
};

void PrintTo(const ProposalCase& c, std::ostream* os) {
    *os << c.name;
}

class OutputProposal : public MergeListTest, public ::testing::WithParamInterface<ProposalCase> {};

TEST_P(OutputProposal, ComesFromTheChosenName) {
    fs.addFile(GetParam().chosen, "x");
    add(GetParam().chosen);
    EXPECT_EQ(w.List1.items, Items{GetParam().chosen});
    EXPECT_EQ(w.Text4.value, GetParam().proposed);
    std::vector<std::string> expected = {"Text4.setText"};
    if (GetParam().caretToEnd) {
        expected.push_back("Text4.caretToEnd");
    }
    EXPECT_EQ(text4Events(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutputProposal,
    ::testing::Values(
        ProposalCase{"SplitTarget", u"D:\\x\\movie$.avi.001", u"D:\\x\\movie.avi", true},
        ProposalCase{"DollarInTheMiddle", u"D:\\x\\a$b.c.001", u"D:\\x\\ab.c", true},
        ProposalCase{"DollarRightBeforeTheSuffix", u"D:\\x\\movie$.001", u"D:\\x\\movie", true},
        ProposalCase{"NoDollar", u"D:\\x\\movie.avi.001", u"D:\\x\\movie.avi", false},
        ProposalCase{"DollarInTheFolder", u"D:\\a$b\\movie.avi.001", u"D:\\ab\\movie.avi", true},
        // No sound proposal: the name without its piece number.
        ProposalCase{"NoDotAtAll", u"D:\\x\\movie001", u"D:\\x\\movie", false},
        ProposalCase{"NoDotButADollar", u"D:\\x\\mo$vie001", u"D:\\x\\mo$vie", true},
        ProposalCase{"DollarAfterTheLastDot", u"D:\\x.y\\mo$vie001", u"D:\\x.y\\mo$vie", true}),
    [](const auto& p) { return std::string(p.param.name); });

// ---- Remove, Clear, Move --------------------------------------------------------

struct ListCase {
    const char* name;
    void (*operation)(MainControls&);
    Items items;
    std::int64_t selected;
    Items expectedItems;
    std::int64_t expectedSelected;
    Text expectedToolTip;  // the clicks that the new selection makes
};

void PrintTo(const ListCase& c, std::ostream* os) {
    *os << c.name;
}

class ListOperation : public MergeListTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(ListOperation, ChangesTheListAndShowsTheNewSelection) {
    const ListCase& c = GetParam();
    w.List1.items = c.items;
    w.List1.selected = c.selected;
    w.List1.toolTip = u"before";
    c.operation(controls);
    EXPECT_EQ(w.List1.items, c.expectedItems);
    EXPECT_EQ(w.List1.selected, c.expectedSelected);
    EXPECT_EQ(w.List1.toolTip, c.expectedToolTip);
    EXPECT_EQ(w.Text4.value, u"keep");
}

const Items kABC = {u"a", u"b", u"c"};

INSTANTIATE_TEST_SUITE_P(
    Cases, ListOperation,
    ::testing::Values(ListCase{"RemoveFirst", removeSelected, kABC, 0, {u"b", u"c"}, 0, u"b"},
                      ListCase{"RemoveMiddle", removeSelected, kABC, 1, {u"a", u"c"}, 0, u"a"},
                      ListCase{"RemoveLast", removeSelected, kABC, 2, {u"a", u"b"}, 1, u"b"},
                      ListCase{"RemoveOnly", removeSelected, {u"a"}, 0, {}, -1, u"before"},
                      ListCase{"RemoveNoSelection", removeSelected, kABC, -1, kABC, -1, u"before"},
                      ListCase{"Clear", clearList, kABC, 1, {}, -1, u"before"},
                      ListCase{"MoveDownFirst", moveDown, kABC, 0, {u"b", u"a", u"c"}, 1, u"a"},
                      ListCase{"MoveDownLast", moveDown, kABC, 2, kABC, 2, u"before"},
                      ListCase{"MoveDownNoSelection", moveDown, kABC, -1, kABC, -1, u"before"},
                      ListCase{"MoveDownEmpty", moveDown, {}, -1, {}, -1, u"before"},
                      ListCase{"MoveUpLast", moveUp, kABC, 2, {u"a", u"c", u"b"}, 1, u"c"},
                      ListCase{"MoveUpFirst", moveUp, kABC, 0, kABC, 0, u"before"},
                      ListCase{"MoveUpNoSelection", moveUp, kABC, -1, kABC, -1, u"before"},
                      ListCase{"MoveUpEmpty", moveUp, {}, -1, {}, -1, u"before"}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace tessark
