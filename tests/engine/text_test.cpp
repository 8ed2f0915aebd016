// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cmath>

#include "engine/core/piece_names.h"
#include "engine/core/text.h"
#include "engine/core/wildcard.h"

namespace tessark {
namespace {

struct NumberCase {
    Text text;
    double expected;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << '"' << toUtf8(c.text) << '"';
}

class LeadingNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(LeadingNumber, ReadsTheLongestLeadingNumber) {
    EXPECT_DOUBLE_EQ(leadingNumber(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LeadingNumber,
    ::testing::Values(NumberCase{u"", 0}, NumberCase{u"abc", 0}, NumberCase{u"1440", 1440},
                      NumberCase{u"1.5", 1.5}, NumberCase{u"  1 4 4 0 KB", 1440},
                      NumberCase{u"-3", -3}, NumberCase{u"0", 0}, NumberCase{u"12abc", 12},
                      NumberCase{u"1.2.3", 1.2}, NumberCase{u".5", 0.5}, NumberCase{u"1e3", 1000},
                      NumberCase{u"2E-1", 0.2}, NumberCase{u"1e", 1}, NumberCase{u"1d2", 100},
                      NumberCase{u"001", 1}, NumberCase{u"bat", 0}, NumberCase{u"-", 0},
                      NumberCase{u"\t7", 7}, NumberCase{u"１２", 0}));

TEST(LeadingNumberTest, HugeExponentIsInfinite) {
    EXPECT_TRUE(std::isinf(leadingNumber(u"1e999")));
}

TEST(RoundHalfEvenTest, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(1447034.88), 1447035);
    EXPECT_EQ(roundHalfEven(1536.0), 1536);
    EXPECT_EQ(roundHalfEven(9.3e18), std::nullopt);
    EXPECT_EQ(roundHalfEven(INFINITY), std::nullopt);
}

TEST(PieceNameTest, ZeroFillsToThreeDigitsOnly) {
    EXPECT_EQ(pieceSuffix(1), u".001");
    EXPECT_EQ(pieceSuffix(10), u".010");
    EXPECT_EQ(pieceSuffix(100), u".100");
    EXPECT_EQ(pieceSuffix(999), u".999");
    EXPECT_EQ(pieceSuffix(1000), u".1000");
    EXPECT_EQ(pieceSuffix(40000), u".40000");
    EXPECT_EQ(pieceName(u"C:\\data\\movie$.avi", 2), u"C:\\data\\movie$.avi.002");
}

TEST(TrimTest, TrimsSpacesOnly) {
    EXPECT_EQ(trimSpaces(u"  a b  "), u"a b");
    EXPECT_EQ(trimSpaces(u"   "), u"");
    EXPECT_EQ(trimSpaces(u"\ta\t"), u"\ta\t");
}

TEST(PathPartsTest, NameAndFolderParts) {
    EXPECT_EQ(GetFileName(u"C:\\dir\\file.001", u'\\'), u"file.001");
    EXPECT_EQ(GetFileName(u"file.001", u'\\'), u"file.001");
    EXPECT_EQ(GetFileName(u"C:\\dir\\", u'\\'), u"");
    EXPECT_EQ(GetFileName(u"/home/a/b.txt", u'/'), u"b.txt");
    EXPECT_EQ(folderPart(u"C:\\dir\\file", u'\\'), u"C:\\dir");
    EXPECT_EQ(folderPart(u"file", u'\\'), std::nullopt);
    EXPECT_EQ(folderToLookUp(u"/x", u'/'), u"/");
    EXPECT_EQ(folderToLookUp(u"C:\\x", u'\\'), u"C:");
}

TEST(Utf8Test, RoundTripsBeyondTheBasicPlane) {
    const Text text = u"电影 $%.avi 😀";
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
    EXPECT_EQ(toUtf8(u"电"), "\xE7\x94\xB5");
}

TEST(WildcardTest, StarAndQuestionMark) {
    EXPECT_TRUE(wildcardMatch(u"movie$.avi.*", u"movie$.avi.001"));
    EXPECT_TRUE(wildcardMatch(u"movie$.avi.*", u"movie$.avi."));
    EXPECT_FALSE(wildcardMatch(u"movie$.avi.*", u"movie$.avi"));
    EXPECT_FALSE(wildcardMatch(u"movie$.avi.*", u"Link.bat"));
    EXPECT_TRUE(wildcardMatch(u"a?c*d", u"abcxxd"));
    EXPECT_FALSE(wildcardMatch(u"a?c*d", u"acxxd"));
    EXPECT_TRUE(wildcardMatch(u"*", u""));
}

}  // namespace
}  // namespace tessark
