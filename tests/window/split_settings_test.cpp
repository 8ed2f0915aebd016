// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "engine/split/split_settings.h"
#include "fake_file_system.h"
#include "fake_window.h"
#include "forms/split_form.h"

namespace tessark {
namespace {

struct TargetCase {
    Text source;
    Text target;
};

void PrintTo(const TargetCase& c, std::ostream* out) {
    *out << toUtf8(c.source);
}

class TargetName : public ::testing::TestWithParam<TargetCase> {};

TEST_P(TargetName, InsertsADollarBeforeTheLastFourCharacters) {
    EXPECT_EQ(DeriveTargetName(GetParam().source), GetParam().target);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TargetName,
    ::testing::Values(TargetCase{u"C:\\tools\\setup.exe", u"C:\\tools\\setup$.exe"},
                      TargetCase{u"D:\\data\\notes.txt", u"D:\\data\\notes$.txt"},
                      TargetCase{u"D:\\backup\\archive", u"D:\\backup\\archive"},
                      TargetCase{u"D:\\pics\\a.gz", u"D:\\pics\\$a.gz"},
                      TargetCase{u"D:\\pics\\photo.jpeg", u"D:\\pics\\photo.$jpeg"},
                      TargetCase{u"E:\\x.tar.gz", u"E:\\x.ta$r.gz"},
                      TargetCase{u"C:\\my.docs\\readme", u"C:\\my.docs\\re$adme"},
                      TargetCase{u"a.b", u"$a.b"},  // shorter than four characters
                      // Never between the halves of one character.
                      TargetCase{u"/m/x.😀abc", u"/m/x.$😀abc"}));

TEST(SizeCaption, WholeKilobytes) {
    EXPECT_EQ(sizeCaption(0), u"文件大小：0 KB");
    EXPECT_EQ(sizeCaption(1023), u"文件大小：0 KB");
    EXPECT_EQ(sizeCaption(1024), u"文件大小：1 KB");
    EXPECT_EQ(sizeCaption(1474560), u"文件大小：1440 KB");
    EXPECT_EQ(sizeCaption(5LL * 1024 * 1024 * 1024 + 1023), u"文件大小：5242880 KB");
}

class BrowseSource : public ::testing::Test {
  protected:
    void browse() {
        auto controls = w.controls();
        browseSource(controls, fs);
    }
    test::FakeFileSystem fs{u'\\'};
    test::FakeWindow w;
};

TEST_F(BrowseSource, FillsSourceTargetAndSize) {
    fs.addFile(u"C:\\data\\movie.avi", std::string(1474560, 'x'));
    w.Text1.value = u"typed";
    w.Text2.value = u"D:\\hand\\picked";
    w.CommonDialog1.filter = u"Add's filter|*.001";
    w.CommonDialog1.fileName = u"C:\\previous.bin";
    w.CommonDialog1.picks = {u"C:\\data\\movie.avi"};
    browse();

    ASSERT_EQ(w.CommonDialog1.openings.size(), 1u);
    const auto& opening = w.CommonDialog1.openings[0];
    EXPECT_EQ(opening.flags, 4100);
    // Only the flags are set: what the dialog held stays.
    EXPECT_EQ(opening.filter, u"Add's filter|*.001");
    EXPECT_EQ(opening.dialogTitle, u"请打开一个要分割的文件");
    EXPECT_EQ(opening.initDir, u"c:\\my documents");
    EXPECT_EQ(opening.fileName, u"C:\\previous.bin");
    EXPECT_EQ(w.Text1.value, u"C:\\data\\movie.avi");
    EXPECT_EQ(w.Text2.value, u"C:\\data\\movie$.avi");
    EXPECT_EQ(w.Label2.caption, u"文件大小：1440 KB");
}

TEST_F(BrowseSource, CancelChangesNothing) {
    w.Text1.value = u"a";
    w.Text2.value = u"b";
    w.Label2.caption = u"c";
    browse();
    EXPECT_EQ(w.CommonDialog1.openings.size(), 1u);
    EXPECT_EQ(w.Text1.value, u"a");
    EXPECT_EQ(w.Text2.value, u"b");
    EXPECT_EQ(w.Label2.caption, u"c");
    EXPECT_TRUE(w.log.empty());
}

TEST_F(BrowseSource, VanishedFileKeepsTheOldSizeCaption) {
    w.Label2.caption = u"文件大小：7 KB";
    w.CommonDialog1.picks = {u"C:\\gone.txt"};
    browse();
    EXPECT_EQ(w.Text1.value, u"C:\\gone.txt");
    EXPECT_EQ(w.Text2.value, u"C:\\gone$.txt");
    EXPECT_EQ(w.Label2.caption, u"文件大小：7 KB");
}

}  // namespace
}  // namespace tessark
