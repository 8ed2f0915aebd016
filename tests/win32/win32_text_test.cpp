// SPDX-License-Identifier: MIT
// The conversions the Win32 calls need: the dialog's filter list and pixels
// from twips.
#include "win32/win32_text.h"

#include "design/window_design.h"

#include <gtest/gtest.h>

#include <string>

namespace tessark::win32 {
namespace {

struct FilterCase {
    Text filter;
    std::wstring list;  // with its NULs
};

TEST(Win32FilterList, PairsBecomeNulSeparatedStringsEndingInTwoNuls) {
    using namespace std::string_literals;
    const FilterCase cases[] = {
        {u"所有文件[*.*]|*.*", L"所有文件[*.*]\0*.*\0\0"s},
        {u"执行文件[*.exe]|*.exe|压缩文件[*.zip;*.arj;*.rar]|*.zip;*.rar;*.arj",
         L"执行文件[*.exe]\0*.exe\0压缩文件[*.zip;*.arj;*.rar]\0*.zip;*.rar;*.arj\0\0"s},
        // A description without its pattern would make the dialog read past the end.
        {u"a|*.a|b", L"a\0*.a\0\0"s},
        {u"a|*.a|", L"a\0*.a\0\0"s},
        {u"", L"\0\0"s},
        {u"lonely", L"\0\0"s},
    };
    for (const FilterCase& c : cases) {
        EXPECT_EQ(filterList(c.filter), c.list) << std::string(c.filter.begin(), c.filter.end());
    }
}

// The windows' one twips rule, at the DPIs Windows offers: the fraction of a
// pixel is dropped.
TEST(Win32Twips, FifteenTwipsAPixelAtNinetySixDpi) {
    struct Case {
        int twips, dpi, pixels;
    };
    const Case cases[] = {
        {7935, 96, 529},  {7680, 96, 512}, {375, 96, 25},    {120, 96, 8},  {0, 96, 0},
        {7935, 144, 793}, {375, 144, 37},  {1440, 120, 120}, {355, 96, 23}, {7, 96, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(design::toPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
    }
}

}  // namespace
}  // namespace tessark::win32
