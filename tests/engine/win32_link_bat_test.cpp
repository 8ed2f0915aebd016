// SPDX-License-Identifier: MIT
// Link.bat proven by a command processor this project did not write: the
// split writes it on a real drive, cmd runs it in the pieces' folder, and the
// joined file must be the source byte for byte. The tests run with GBK
// (code page 936) as the ANSI code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/platform/native_file_system.h"
#include "engine/split/split_settings.h"
#include "fake_window.h"
#include "forms/split_form.h"
#include "win32_test_drive.h"

namespace tessark {
namespace {

using test::readWholeFile;

// The command processor's longest batch line, in bytes of the script.
constexpr std::size_t kMaxLine = 8191;

std::vector<std::string> linesOf(const std::string& script) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < script.size()) {
        const std::size_t end = script.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "the script does not end with CR LF";
            break;
        }
        lines.push_back(script.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

class Win32LinkBat : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 936u)
            << "run with LANG=zh_CN.UTF-8 (localedef -i zh_CN -f UTF-8 zh_CN.UTF-8) so that "
               "the ANSI code page is GBK";
    }

    // Splits `name` (holding `bytes`) in the scratch folder with the proposed
    // target, then runs Link.bat there; returns the script's bytes.
    std::string splitAndJoin(const Text& name, const std::string& bytes,
                             const Text& customKilobytes = {}) {
        const Text source = dir / name;
        test::writeWholeFile(source, bytes);
        window.CommonDialog1.picks = {source};
        browseSource(controls, *fs);
        if (!customKilobytes.empty()) {
            window.Option1.isSelected = false;
            window.Text3.value = customKilobytes;
        }
        startSplit(controls, *fs);
        EXPECT_EQ(window.messages.shown.size(), 2u) << "the split did not complete";
        const std::string script = readWholeFile(dir / u"Link.bat");
        EXPECT_EQ(test::runCommandProcessor(dir.path(), u"Link.bat"), 0u);
        return script;
    }

    test::ScratchFolder dir;
    std::unique_ptr<FileSystem> fs = makeNativeFileSystem();
    test::FakeWindow window;
    MainControls controls = window.controls();
};

TEST_F(Win32LinkBat, AChineseNameIsWrittenInGbkAndJoinedByCmd) {
    const std::string source = test::sampleBytes(3'000'000, 11);
    const std::string script = splitAndJoin(u"电影.avi", source);

    const std::string movie = "\xB5\xE7\xD3\xB0";  // 电影 in GBK
    EXPECT_EQ(script, "copy/B \"" + movie + "$.avi.001\"+\"" + movie + "$.avi.002\"+\"" + movie +
                          "$.avi.003\" \"" + movie + "(1).avi\"\r\n");
    EXPECT_EQ(window.Text4.value, dir / u"电影(1).avi");
    EXPECT_TRUE(readWholeFile(dir / u"电影(1).avi") == source);
}

// 1001 pieces of 1 KB: the piece names pass .999, and one line naming them
// all would be far longer than cmd accepts, so the script chains its lines.
// The name has many two-byte characters, so a line that fits in characters
// can still be too long in bytes.
TEST_F(Win32LinkBat, AThousandPiecesChainLinesThatCmdJoins) {
    const std::string source = test::sampleBytes(1000 * 1024 + 5, 12);
    const std::string script = splitAndJoin(u"一部很长的假日电影 2026.avi", source, u"1");

    ASSERT_EQ(window.List1.items.size(), 1001u);
    const Text target = dir / u"一部很长的假日电影 2026$.avi";
    EXPECT_EQ(window.List1.items[9], target + u".010");
    EXPECT_EQ(window.List1.items[99], target + u".100");
    EXPECT_EQ(window.List1.items[999], target + u".1000");
    EXPECT_EQ(window.List1.items[1000], target + u".1001");

    const auto lines = linesOf(script);
    EXPECT_GT(lines.size(), 1u);
    for (const std::string& line : lines) {
        EXPECT_EQ(line.rfind("copy/B \"", 0), 0u) << line.substr(0, 40);
        EXPECT_LE(line.size(), kMaxLine);
    }
    EXPECT_TRUE(readWholeFile(dir / u"一部很长的假日电影 2026(1).avi") == source);
}

TEST_F(Win32LinkBat, PercentSignsAndSpacesSurviveCmd) {
    const std::string source = test::sampleBytes(3'000'000, 13);
    const std::string script = splitAndJoin(u"100% done %PATH% a b.avi", source);

    EXPECT_EQ(script,
              "copy/B \"100%% done %%PATH%% a b$.avi.001\"+\"100%% done %%PATH%% a b$.avi.002\"+"
              "\"100%% done %%PATH%% a b$.avi.003\" \"100%% done %%PATH%% a b(1).avi\"\r\n");
    EXPECT_TRUE(readWholeFile(dir / u"100% done %PATH% a b(1).avi") == source);
}

// Characters that mean something to cmd outside quotes; inside the script's
// quotes only "%" needs doubling. ("<", ">" and "|" cannot be in a Windows
// file name at all.)
class Win32LinkBatNames : public Win32LinkBat,
                          public ::testing::WithParamInterface<const char16_t*> {};

TEST_P(Win32LinkBatNames, RoundTripThroughCmd) {
    const std::string source = test::sampleBytes(2500, 17);
    splitAndJoin(GetParam(), source, u"1");
    ASSERT_EQ(window.List1.items.size(), 3u);
    EXPECT_TRUE(readWholeFile(window.Text4.value) == source) << toUtf8(window.Text4.value);
}

INSTANTIATE_TEST_SUITE_P(ScriptSafe, Win32LinkBatNames,
                         ::testing::Values(u"tom & jerry.avi", u"x^y^^z.avi", u"(1) film (2).avi",
                                           u"a&&b)(c.avi", u"%x% & ^%1 (a).avi",
                                           u"  spaced  out  .avi", u"电影&^()%.avi"));

}  // namespace
}  // namespace tessark
