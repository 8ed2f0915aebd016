// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "fake_window.h"
#include "forms/error_report.h"

namespace tessark {
namespace {

struct ReportCase {
    int number;
    ErrorTable table;
    Text message;  // empty: nothing is shown
};

void PrintTo(const ReportCase& c, std::ostream* os) {
    *os << c.number << (c.table == ErrorTable::Full ? "_full" : "_without_not_found");
}

class DiskErrorReportTest : public ::testing::TestWithParam<ReportCase> {};

TEST_P(DiskErrorReportTest, ShowsTheFixedWordsOrNothing) {
    test::EventLog log;
    test::FakeMessageBox box(log);
    DiskErrorReport(GetParam().number, GetParam().table, box);
    if (GetParam().message.empty()) {
        EXPECT_TRUE(box.shown.empty());
    } else {
        ASSERT_EQ(box.shown.size(), 1u);
        EXPECT_EQ(box.shown[0].prompt, GetParam().message);
        EXPECT_EQ(box.shown[0].style, 16);
        EXPECT_EQ(box.shown[0].title, u"文件分割机");
    }
}

const Text kNoDrive = u"指定的磁盘驱动器不可用!\r\r可能不存在此驱动器或驱动器内无磁盘!";
using T = ErrorTable;

INSTANTIATE_TEST_SUITE_P(
    Table, DiskErrorReportTest,
    ::testing::Values(ReportCase{52, T::Full, kNoDrive}, ReportCase{68, T::Full, kNoDrive},
                      ReportCase{53, T::Full, u"文件不能被写入!请更换存放位置!"},
                      ReportCase{57, T::Full, u"磁盘I/0错误，操作被终止!"},
                      ReportCase{61, T::Full, u"磁盘满，空间不够!"},
                      ReportCase{70, T::Full, u"磁盘被写保护 或 文件被保护!"},
                      ReportCase{71, T::Full, u"磁盘没准备好!"}, ReportCase{0, T::Full, u""},
                      ReportCase{5, T::Full, u""}, ReportCase{6, T::Full, u""},
                      ReportCase{55, T::Full, u""}, ReportCase{75, T::Full, u""},
                      ReportCase{76, T::Full, u""}, ReportCase{53, T::WithoutNotFound, u""},
                      ReportCase{52, T::WithoutNotFound, kNoDrive},
                      ReportCase{61, T::WithoutNotFound, u"磁盘满，空间不够!"},
                      ReportCase{71, T::WithoutNotFound, u"磁盘没准备好!"}));

}  // namespace
}  // namespace tessark
