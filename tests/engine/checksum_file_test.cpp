// SPDX-License-Identifier: MIT
#include "engine/checksum/checksum_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/checksum/set_checksums.h"
#include "fake_file_system.h"
#include "forwarding_file_system.h"

namespace tessark {
namespace {

const std::string kA = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const std::string kB = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

Sha256Digest digestOf(const std::string& hex) {
    Sha256Digest d{};
    for (std::size_t i = 0; i < d.size(); ++i) {
        d[i] = static_cast<std::uint8_t>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
    }
    return d;
}

std::string upper(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return s;
}

struct ParseCase {
    const char* name;
    std::string text;
    std::vector<std::pair<Text, std::string>> expected;  // empty: not a checksum file
    char16_t separator = u'/';
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.name;
}

const std::string kLine = kA + "  m.001\n";

const ParseCase kParseCases[] = {
    {"TextAndBinaryMarkers", kA + "  m.001\n" + kB + " *m.002\n", {{u"m.001", kA}, {u"m.002", kB}}},
    {"UpperCaseHex", upper(kA) + "  m.001\n", {{u"m.001", kA}}},
    {"CrLfAndNoLastLineEnd", kA + "  m.001\r\n" + kB + "  m", {{u"m.001", kA}, {u"m", kB}}},
    {"BlankLinesAndComments", "\n# made by hand\n  \n" + kLine + "\r\n", {{u"m.001", kA}}},
    {"SpacesInsideAndAtTheEndOfAName", kA + "  my movie .avi \n", {{u"my movie .avi ", kA}}},
    {"ChineseName", kA + "  影片.001\n", {{u"影片.001", kA}}},
    {"EscapedBackslashAndPlainBackslash",
     "\\" + kA + "  a\\\\b.001\n" + kB + "  c\\d\n",
     {{u"a\\b.001", kA}, {u"c\\d", kB}}},
    {"EscapedLineBreakIsAControlCharacter", "\\" + kA + "  a\\nb\n", {}},
    {"UnknownEscape", "\\" + kA + "  a\\tb\n", {}},
    {"BackslashIsASeparatorOnWindows", "\\" + kA + "  a\\\\b\n", {}, u'\\'},
    {"DriveOrStreamOnWindows", kA + "  c:m.001\n", {}, u'\\'},
    {"ColonIsAPlainCharacterElsewhere", kA + "  c:m.001\n", {{u"c:m.001", kA}}},
    {"SlashIsASeparatorEverywhere", kA + "  sub/m.001\n", {}, u'\\'},
    {"AbsolutePath", kA + "  /etc/passwd\n", {}},
    {"DotDot", kA + "  ..\n", {}},
    {"Dot", kA + "  .\n", {}},
    {"TabInName", kA + "  a\tb\n", {}},
    {"OneSpaceOnly", kA + " m.001\n", {}},
    {"ShortDigest", kA.substr(1) + "  m.001\n", {}},
    {"NotHex", "g" + kA.substr(1) + "  m.001\n", {}},
    {"NoName", kA + "  \n", {}},
    {"AFileOfCommentsOnly", "# nothing\n\n", {}},
    {"OneMalformedLineSpoilsAll", kLine + "garbage\n", {}},
    {"SameNameTwice", kLine + kLine, {}},
    {"InvalidUtf8", kA + "  m\xff.001\n", {}},
    {"BinaryData",
     std::string("\x7f"
                 "ELF\0\0\0",
                 7) +
         kLine,
     {}},
    {"LineTooLong", kA + "  " + std::string(kMaxChecksumLine, 'x') + "\n", {}},
    {"BsdTagFormat", "SHA256 (m.001) = " + kA + "\n", {}},
};

class ParseTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTable, ReadsWhatTheGnuToolsWriteAndNothingUnsafe) {
    const ParseCase& c = GetParam();
    // The same text whole and fed a byte at a time: lines cross every chunk.
    ChecksumReader bytewise(c.separator);
    for (const char ch : c.text) {
        bytewise.feed(std::string_view(&ch, 1));
    }
    for (auto parsed : {parseChecksumText(c.text, c.separator), bytewise.finish()}) {
        if (c.expected.empty()) {
            EXPECT_FALSE(parsed.has_value());
            continue;
        }
        ASSERT_TRUE(parsed.has_value());
        std::vector<ChecksumEntry> expected;
        for (const auto& [name, hex] : c.expected) {
            expected.push_back({name, digestOf(hex)});
        }
        EXPECT_EQ(*parsed, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, ParseTable, ::testing::ValuesIn(kParseCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ChecksumLine, EscapesAsTheGnuToolsDoAndReadsBack) {
    const Sha256Digest d = digestOf(kA);
    EXPECT_EQ(checksumLine(d, u"m$.avi.001"), kA + "  m$.avi.001\n");
    EXPECT_EQ(checksumLine(d, u"影片 (1).avi"), kA + "  影片 (1).avi\n");
    EXPECT_EQ(checksumLine(d, u"a\\b\nc\r"), "\\" + kA + "  a\\\\b\\nc\\r\n");
    const auto back = parseChecksumText(checksumLine(d, u"x\\y.001"), u'/');
    ASSERT_TRUE(back);
    EXPECT_EQ(back->front().name, u"x\\y.001");
}

// 20,000 lines, the same name twice far apart: a stop request ends the parse
// while the lines come in or while the names are sorted; without one the
// name given twice spoils the file.
TEST(ChecksumReading, StopsOnRequestAndFindsANameTwiceAnywhere) {
    std::string text;
    for (int i = 1; i <= 20000; ++i) {
        text += kA + "  m." + std::to_string(i) + "\n";
    }
    text += kA + "  m.7\n";
    EXPECT_FALSE(parseChecksumText(text, u'/'));
    for (const int askedBeforeStop : {0, 3, 6}) {
        int asked = 0;
        ChecksumReader reader(u'/', [&] { return asked++ >= askedBeforeStop; });
        EXPECT_THROW(
            {
                reader.feed(text);
                reader.finish();
            },
            ReadStopped)
            << askedBeforeStop;
    }
}

// A file over the limit is refused by its length, never opened: its size
// could make the parse hold gigabytes before it finds a fault.
class Oversized : public test::ForwardingFileSystem {
  public:
    using ForwardingFileSystem::ForwardingFileSystem;
    std::int64_t fileLength(const Text&) override { return kMaxChecksumFile + 1; }
    std::unique_ptr<InputFile> openRead(const Text& p) override {
        ++opened;
        return ForwardingFileSystem::openRead(p);
    }
    int opened = 0;
};

TEST(ChecksumReading, AFileOverTheLimitIsRefusedUnread) {
    test::FakeFileSystem disk{u'/'};
    disk.addFolder(u"/s");
    disk.addFile(u"/s/m.sha256", kLine);
    EXPECT_TRUE(readChecksumFile(disk, u"/s/m.sha256"));
    Oversized large(disk);
    EXPECT_FALSE(readChecksumFile(large, u"/s/m.sha256"));
    EXPECT_EQ(large.opened, 0);
}

TEST(ChecksumSet, TellsThePiecesFromTheWholeFile) {
    const Sha256Digest d = digestOf(kA);
    const auto entries = [&](std::vector<Text> names) {
        std::vector<ChecksumEntry> e;
        for (auto& n : names) {
            e.push_back({n, d});
        }
        return e;
    };
    const auto ours = interpretChecksums(entries({u"m.001", u"m.002", u"m(1)"}), u"m.");
    ASSERT_TRUE(ours);
    EXPECT_EQ(ours->pieces.size(), 2u);
    EXPECT_EQ(ours->whole->name, u"m(1)");
    const auto piecesOnly = interpretChecksums(entries({u"m.001", u"m.1000"}), u"m.");
    ASSERT_TRUE(piecesOnly);
    EXPECT_FALSE(piecesOnly->whole);
    EXPECT_FALSE(interpretChecksums(entries({u"m.001", u"other", u"m"}), u"m."));
    EXPECT_FALSE(interpretChecksums(entries({u"m"}), u"m."));
    EXPECT_FALSE(interpretChecksums(entries({u"m.000", u"m"}), u"m."));
}

}  // namespace
}  // namespace tessark
