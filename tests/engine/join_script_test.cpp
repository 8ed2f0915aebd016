// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>

#include "engine/core/piece_names.h"
#include "engine/split/join_script.h"
#include "fake_file_system.h"

namespace tessark {
namespace {

std::vector<Text> piecesOf(const Text& target, int count) {
    std::vector<Text> pieces;
    for (int n = 1; n <= count; ++n) {
        pieces.push_back(pieceName(target, n));
    }
    return pieces;
}

std::vector<std::string> linesOf(const std::string& script) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = script.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        lines.push_back(script.substr(start, end - start));
    }
    EXPECT_EQ(start, script.size()) << "every line ends in CR LF";
    return lines;
}

TEST(JoinScript, WorkedExampleBytes) {
    test::FakeFileSystem fs(u'\\');
    const std::string bytes =
        joinScriptBytes(fs, piecesOf(u"D:\\out\\clip.avi", 3), u"D:\\out\\clip.avi");
    const unsigned char expected[] = {
        0x63, 0x6F, 0x70, 0x79, 0x2F, 0x42, 0x20, 0x22, 0x63, 0x6C, 0x69, 0x70, 0x2E,
        0x61, 0x76, 0x69, 0x2E, 0x30, 0x30, 0x31, 0x22, 0x2B, 0x22, 0x63, 0x6C, 0x69,
        0x70, 0x2E, 0x61, 0x76, 0x69, 0x2E, 0x30, 0x30, 0x32, 0x22, 0x2B, 0x22, 0x63,
        0x6C, 0x69, 0x70, 0x2E, 0x61, 0x76, 0x69, 0x2E, 0x30, 0x30, 0x33, 0x22, 0x20,
        0x22, 0x63, 0x6C, 0x69, 0x70, 0x2E, 0x61, 0x76, 0x69, 0x22, 0x0D, 0x0A};
    EXPECT_EQ(bytes, std::string(reinterpret_cast<const char*>(expected), sizeof expected));
    EXPECT_EQ(bytes.size(), 64u);

    const std::string movie =
        joinScriptBytes(fs, piecesOf(u"C:\\data\\movie$.avi", 3), u"C:\\data\\movie(1).avi");
    EXPECT_EQ(
        movie,
        "copy/B \"movie$.avi.001\"+\"movie$.avi.002\"+\"movie$.avi.003\" \"movie(1).avi\"\r\n");
    EXPECT_EQ(movie.size(), 74u);
}

struct LineCase {
    std::vector<Text> pieces;
    Text mergeName;
    std::string line;
};

void PrintTo(const LineCase& c, std::ostream* out) {
    *out << c.line;
}

class OneLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(OneLine, NamesWithoutFoldersInQuotes) {
    test::FakeFileSystem fs(u'\\');
    EXPECT_EQ(joinScriptBytes(fs, GetParam().pieces, GetParam().mergeName),
              GetParam().line + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Table, OneLine,
    ::testing::Values(LineCase{{u"C:\\x.001"}, u"C:\\x", "copy/B \"x.001\" \"x\""},
                      LineCase{{u"D:\\my files\\a b.001", u"D:\\my files\\a b.002"},
                               u"D:\\my files\\a b",
                               "copy/B \"a b.001\"+\"a b.002\" \"a b\""},
                      // A lone "%" would start a variable in a batch file.
                      LineCase{{u"C:\\50%.001", u"C:\\50%.002"},
                               u"C:\\50%(1)%x",
                               "copy/B \"50%%.001\"+\"50%%.002\" \"50%%(1)%%x\""},
                      // Characters outside the code page become one "?" each.
                      LineCase{{u"C:\\电影.001"}, u"C:\\电影😀", "copy/B \"??.001\" \"???\""}));

TEST(JoinScript, FillsTheCommandLineLimitExactly) {
    test::FakeFileSystem fs(u'\\');
    // 10 + 9 * (906 + 3) = 8,191 characters: still one line.
    std::vector<Text> pieces;
    for (int n = 1; n <= 9; ++n) {
        pieces.push_back(u"C:\\" + Text(902, u'a') + pieceSuffix(n));
    }
    const auto atLimit = linesOf(joinScriptBytes(fs, pieces, u"C:\\o"));
    ASSERT_EQ(atLimit.size(), 1u);
    EXPECT_EQ(atLimit[0].size(), 8191u);

    pieces[4].insert(3, 1, u'b');  // one character more
    const auto over = linesOf(joinScriptBytes(fs, pieces, u"C:\\o"));
    ASSERT_EQ(over.size(), 2u);
    EXPECT_EQ(over[0], "copy/B \"" + std::string(902, 'a') + ".001\"+\"" + std::string(902, 'a') +
                           ".002\"+\"" + std::string(902, 'a') + ".003\"+\"" +
                           std::string(902, 'a') + ".004\"+\"b" + std::string(902, 'a') +
                           ".005\"+\"" + std::string(902, 'a') + ".006\"+\"" +
                           std::string(902, 'a') + ".007\"+\"" + std::string(902, 'a') +
                           ".008\" \"o\"");
    EXPECT_EQ(over[1], "copy/B \"o\"+\"" + std::string(902, 'a') + ".009\"");
}

// A double-byte code page, as GBK is: a character outside ASCII takes two
// bytes.
class DoubleByteFileSystem : public test::FakeFileSystem {
  public:
    DoubleByteFileSystem() : FakeFileSystem(u'\\') {}
    std::string encodeAnsi(const Text& text) const override {
        std::string out;
        for (const char16_t c : text) {
            out += c < 0x80 ? std::string(1, static_cast<char>(c)) : std::string("\xB5\xE7");
        }
        return out;
    }
};

// The command processor takes at most 8,191 bytes as one batch line: nine
// names of 900 Chinese characters fit in one line of characters (8,173) but
// take over 16,000 bytes, so the script chains them.
TEST(JoinScript, TheLimitCountsBytesOfTheCodePage) {
    DoubleByteFileSystem fs;
    std::vector<Text> pieces;
    for (int n = 1; n <= 9; ++n) {
        pieces.push_back(u"C:\\" + Text(900, u'电') + pieceSuffix(n));
    }
    const auto lines = linesOf(joinScriptBytes(fs, pieces, u"C:\\o"));
    ASSERT_EQ(lines.size(), 3u);
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), 8191u);
    }
    EXPECT_TRUE(lines[0].ends_with(".004\" \"o\""));
    EXPECT_TRUE(lines[2].starts_with("copy/B \"o\"+\""));
    EXPECT_TRUE(lines[2].ends_with(".009\""));
}

TEST(JoinScript, LongSetsAreChainedOntoTheOutput) {
    test::FakeFileSystem fs(u'\\');
    const auto pieces = piecesOf(u"C:\\dir\\a long piece name", 2000);
    const auto lines = linesOf(joinScriptBytes(fs, pieces, u"C:\\dir\\joined file"));
    ASSERT_GT(lines.size(), 3u);

    // Every line fits, the first names the output as its destination, each
    // later one appends to it, and the pieces come once each, in order.
    std::vector<std::string> named;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        EXPECT_LE(line.size(), 8191u);
        std::string list;
        if (i == 0) {
            ASSERT_TRUE(line.starts_with("copy/B \""));
            ASSERT_TRUE(line.ends_with("\" \"joined file\""));
            list = line.substr(7, line.size() - 7 - 14);
        } else {
            ASSERT_TRUE(line.starts_with("copy/B \"joined file\"+\"")) << line.substr(0, 40);
            list = line.substr(21);
        }
        EXPECT_EQ(list.find("\" \""), std::string::npos);  // one destination, on line 1
        std::stringstream parts(list);
        for (std::string part; std::getline(parts, part, '+');) {
            named.push_back(part);
        }
    }
    ASSERT_EQ(named.size(), 2000u);
    for (int n = 1; n <= 2000; ++n) {
        EXPECT_EQ(named[n - 1], "\"a long piece name" + toUtf8(pieceSuffix(n)) + "\"");
    }
}

TEST(JoinScript, ReplacesLinkBatInTheTargetsFolder) {
    test::FakeFileSystem fs(u'\\');
    fs.addFile(u"C:\\Link.bat", "an older, longer script from another split\r\n");
    writeJoinScript(fs, u"C:\\clip.avi", piecesOf(u"C:\\clip.avi", 1), u"C:\\clip.avi");
    EXPECT_EQ(*fs.contents(u"C:\\Link.bat"), "copy/B \"clip.avi.001\" \"clip.avi\"\r\n");
    EXPECT_EQ(fs.openHandles(), 0);

    test::FakeFileSystem posix(u'/');
    posix.addFolder(u"/srv/out");
    writeJoinScript(posix, u"/srv/out/x", piecesOf(u"/srv/out/x", 1), u"/srv/out/x");
    EXPECT_EQ(*posix.contents(u"/srv/out/Link.bat"), "copy/B \"x.001\" \"x\"\r\n");
    EXPECT_EQ(joinScriptPath(u"/x", u'/'), u"/Link.bat");
}

}  // namespace
}  // namespace tessark
