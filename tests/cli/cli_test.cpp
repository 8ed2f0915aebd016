// SPDX-License-Identifier: MIT
// tessark-cli run as a real process, one table of command lines: the same on
// Linux and, built for Windows, under wine.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cli_scene.h"
#include "engine/core/sha256.h"

namespace tessark::test {
namespace {

using Names = std::vector<std::string>;

struct Step {
    std::vector<std::string> args;  // "@/name" is a file in the scene's folder
    int status;
    Names errorMentions = {};  // what standard error must name
    Names outMentions = {};    // ... and standard output
    std::function<void(const Scene&)> after = nullptr;
};

struct Case {
    const char* name;
    std::function<void(const Scene&)> prepare;
    std::vector<Step> steps;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

const std::string kMovie = sampleBytes(3000000, 1);
const std::string kSmall = sampleBytes(5000, 2);

// A line of a checksum file as `sha256sum` writes it.
std::string digestLine(const std::string& bytes, const std::string& name) {
    Sha256 hash;
    hash.update(std::as_bytes(std::span(bytes.data(), bytes.size())));
    return toHex(hash.finish()) + "  " + name + "\n";
}
// A folder chain that makes its files' names longer than MAX_PATH.
const std::string kDeep =
    std::string(100, 'd') + "/" + std::string(100, 'e') + "/" + std::string(100, 'f');

void writeGappedSet(const Scene& s) {
    s.write("x.001", "1");
    s.write("x.002", "22");
    s.write("x.004", "4444");
}

const Case kCases[] = {
    {"FixedBlockRoundTrip",
     [](const Scene& s) { s.write("movie.avi", kMovie); },
     {{{"split", "@/movie.avi"},
       0,
       {},
       {},
       [](const Scene& s) {
           EXPECT_EQ(s.read("movie$.avi.001"), kMovie.substr(0, 1447035));
           EXPECT_EQ(s.read("movie$.avi.002"), kMovie.substr(1447035, 1447035));
           EXPECT_EQ(s.read("movie$.avi.003"), kMovie.substr(2894070));
           EXPECT_EQ(s.read("Link.bat"),
                     "copy/B \"movie$.avi.001\"+\"movie$.avi.002\"+\"movie$.avi.003\" "
                     "\"movie(1).avi\"\r\n");
       }},
      {{"merge", "@/movie$.avi.001", "-o", "@/joined.avi"},
       0,
       {},
       {},
       [](const Scene& s) {
           EXPECT_TRUE(s.read("joined.avi") == kMovie);
           EXPECT_EQ(s.names(), (Names{"Link.bat", "joined.avi", "movie$.avi.001", "movie$.avi.002",
                                       "movie$.avi.003", "movie$.avi.par2", "movie$.avi.sha256",
                                       "movie$.avi.vol0+1.par2", "movie.avi"}));
       }}}},
    {"CustomSizeTargetAndProposedOutput",
     [](const Scene& s) {
         s.write("a.bin", kSmall);
         std::filesystem::create_directory(s.at("out"));
     },
     {{{"split", "@/a.bin", "-b", "1K", "-o", "@/out/part"},
       0,
       {},
       {},
       [](const Scene& s) {
           EXPECT_EQ(s.read("out/part.004").size(), 1024u);
           EXPECT_EQ(s.read("out/part.005"), kSmall.substr(4096));
           EXPECT_FALSE(s.has("out/part.006"));
       }},
      // No "$" in the pieces' name: the output is their name without the
      // piece number.
      {{"merge", "@/out/part.001"},
       0,
       {},
       {},
       [](const Scene& s) { EXPECT_TRUE(s.read("out/part") == kSmall); }}}},
    {"DecimalUnitsWithoutScript",
     [](const Scene& s) { s.write("b.bin", kSmall.substr(0, 2500)); },
     {{{"split", "@/b.bin", "--bytes", "1KB", "--no-script"},
       0,
       {},
       {},
       [](const Scene& s) {
           EXPECT_EQ(s.names(), (Names{"b$.bin.001", "b$.bin.002", "b$.bin.003", "b$.bin.par2",
                                       "b$.bin.sha256", "b$.bin.vol0+1.par2", "b.bin"}));
           EXPECT_EQ(s.read("b$.bin.003"), kSmall.substr(2000, 500));
       }}}},
    {"FloppyFlagIsTheFixedBlock",
     [](const Scene& s) { s.write("m.bin", kMovie.substr(0, 1447036)); },
     {{{"split", "@/m.bin", "--floppy", "--no-script"},
       0,
       {},
       {},
       [](const Scene& s) { EXPECT_EQ(s.read("m$.bin.002"), kMovie.substr(1447035, 1)); }}}},
    {"ReplacesAnExistingOutputOnlyWithForce",
     [](const Scene& s) {
         s.write("p.001", "abc");
         s.write("p.002", "de");
         s.write("out.bin", "the old content, longer than the new");
     },
     {{{"merge", "@/p.001", "-o", "@/out.bin"},
       1,
       {"out.bin", "-f"},
       {},
       [](const Scene& s) {
           EXPECT_EQ(s.read("out.bin"), "the old content, longer than the new");
       }},
      {{"merge", "@/p.001", "-o", "@/out.bin", "-f"},
       0,
       {},
       {},
       [](const Scene& s) {
           EXPECT_EQ(s.read("out.bin"), "abcde");
           EXPECT_EQ(s.names(), (Names{"out.bin", "p.001", "p.002"}));
       }}}},
    // The name the pieces propose is the source they were cut from.
    {"NeverReplacesTheSourceUnasked",
     [](const Scene& s) { s.write("movie.avi", kSmall); },
     {{{"split", "@/movie.avi", "-b", "2K", "-q"}, 0},
      {{"merge", "@/movie$.avi.001"}, 1, {"movie.avi"}},
      {{"merge", "-f", "@/movie$.avi.001"},
       0,
       {},
       {},
       [](const Scene& s) { EXPECT_TRUE(s.read("movie.avi") == kSmall); }}}},
    {"GapRefusedNamingTheMissingPieceThenAllowed",
     writeGappedSet,
     {{{"merge", "@/x.001", "-o", "@/out"},
       1,
       {"x.003"},
       {},
       [](const Scene& s) { EXPECT_FALSE(s.has("out")); }},
      {{"merge", "@/x.001", "-o", "@/out", "--allow-gaps"},
       0,
       {},
       {},
       [](const Scene& s) { EXPECT_EQ(s.read("out"), "1224444"); }}}},
    {"ListShowsMembersSizesTotalAndGaps",
     writeGappedSet,
     {{{"list", "@/x.001"}, 1, {}, {"x.001", "x.002", "x.004", "7", "x.003"}},
      {{"list", "@/x.004"}, 1, {"x.004"}}}},
    {"ListOfACompleteSet",
     [](const Scene& s) {
         s.write("c.001", "1");
         s.write("c.002", "22");
     },
     {{{"list", "@/c.001"}, 0, {}, {"c.001", "c.002", "3"}}}},
    {"ExplicitListJoinsInTheOrderGiven",
     [](const Scene& s) {
         s.write("q.001", "A");
         s.write("q.002", "BB");
     },
     {{{"merge", "-o", "@/out", "@/q.002", "@/q.001"},
       0,
       {},
       {},
       [](const Scene& s) { EXPECT_EQ(s.read("out"), "BBA"); }},
      {{"merge", "@/q.002", "@/q.001"}, 2, {"-o"}}}},
    {"NumericOrderPastPiece999",
     [](const Scene& s) { s.write("n.bin", kSmall.substr(0, 1001)); },
     {{{"split", "@/n.bin", "-b", "1", "-o", "@/n", "--no-script"}, 0},
      {{"merge", "@/n.001", "-o", "@/joined"},
       0,
       {},
       {},
       [](const Scene& s) {
           EXPECT_EQ(s.read("n.1001"), kSmall.substr(1000, 1));
           EXPECT_TRUE(s.read("joined") == kSmall.substr(0, 1001));
       }}}},
    {"NonAsciiNames",
     [](const Scene& s) { s.write("影片 ü.avi", kSmall); },
     {{{"split", "@/影片 ü.avi", "-b", "3K"},
       0,
       {},
       {},
       [](const Scene& s) { EXPECT_EQ(s.read("影片 ü$.avi.002"), kSmall.substr(3072)); }},
      {{"merge", "@/影片 ü$.avi.001"}, 1, {"影片 ü.avi"}},
      {{"merge", "@/影片 ü$.avi.001", "-o", "@/合并.avi"},
       0,
       {},
       {},
       [](const Scene& s) { EXPECT_TRUE(s.read("合并.avi") == kSmall); }}}},
    {"ChecksumFileWrittenVerifiedAndAStopForADamagedPiece",
     [](const Scene& s) { s.write("movie.avi", kMovie); },
     // Without recovery data: nothing can rebuild the damaged piece.
     {{{"split", "@/movie.avi", "-q", "--no-recovery"},
       0,
       {},
       {},
       [](const Scene& s) {
           EXPECT_EQ(s.read("movie$.avi.sha256"),
                     digestLine(kMovie.substr(0, 1447035), "movie$.avi.001") +
                         digestLine(kMovie.substr(1447035, 1447035), "movie$.avi.002") +
                         digestLine(kMovie.substr(2894070), "movie$.avi.003") +
                         digestLine(kMovie, "movie(1).avi"));
       }},
      {{"verify", "@/movie$.avi.001", "-o", "@/movie.avi"},
       0,
       {},
       {"movie$.avi.002: OK", "movie.avi: OK", "4 OK, 0 FAILED, 0 MISSING"}},
      {{"merge", "@/movie$.avi.001", "-o", "@/joined.avi"}, 0},
      {{"verify", "@/movie$.avi.001", "-o", "@/joined.avi"}, 0, {}, {"joined.avi: OK"}},
      {{"verify", "@/movie$.avi.001", "-o", "@/movie$.avi.001"}, 1, {}, {"FAILED"}},
      {{"merge", "@/movie$.avi.001", "-o", "@/joined.avi", "-f"},
       0,
       {},
       {},
       [](const Scene& s) {
           std::string piece = s.read("movie$.avi.002");
           piece[700000] ^= 0x20;
           s.write("movie$.avi.002", piece);
       }},
      {{"verify", "@/movie$.avi.001"}, 1, {}, {"movie$.avi.002: FAILED", "movie$.avi.003: OK"}},
      {{"merge", "@/movie$.avi.001", "-o", "@/joined.avi", "-f"},
       1,
       {"movie$.avi.002", "damaged"},
       {},
       [](const Scene& s) { EXPECT_TRUE(s.read("joined.avi") == kMovie); }},
      {{"merge", "@/movie$.avi.001", "-o", "@/other.avi", "--no-verify"}, 0}}},
    {"RecoveryFilesProtectAndRepair",
     [](const Scene& s) { s.write("m.bin", kSmall); },
     {{{"split", "@/m.bin", "-b", "1K", "-o", "@/m"},
       0,
       {},
       {},
       [](const Scene& s) {
           EXPECT_TRUE(s.has("m.par2"));
           EXPECT_TRUE(s.has("m.vol0+1.par2"));
       }},
      {{"protect", "@/m.001", "-r", "10"},
       0,
       {},
       {},
       [](const Scene& s) {
           EXPECT_TRUE(s.has("m.vol07+3.par2"));
           EXPECT_FALSE(s.has("m.vol0+1.par2")) << "the earlier set's volume is replaced";
           std::filesystem::remove(s.at("m.002"));
           std::string bytes = s.read("m.005");
           bytes[3] = static_cast<char>(bytes[3] ^ 1);
           s.write("m.005", bytes);
       }},
      {{"protect", "@/m.001"}, 1, {"m.002"}},
      {{"repair", "@/m.001"},
       0,
       {},
       {"rebuilt m.002", "rebuilt m.005"},
       [](const Scene& s) {
           EXPECT_EQ(s.read("m.002"), kSmall.substr(1024, 1024));
           EXPECT_EQ(s.read("m.005"), kSmall.substr(4096));
           EXPECT_TRUE(s.has("m.005.damaged"));
       }},
      {{"verify", "@/m.001"}, 0},
      {{"repair", "@/m.001"}, 0, {}, {"nothing to repair"}}}},
    {"NoRecoveryAndTooLittle",
     [](const Scene& s) { s.write("n.bin", kSmall); },
     {{{"split", "@/n.bin", "-b", "1K", "-o", "@/n", "--no-recovery"},
       0,
       {},
       {},
       [](const Scene& s) { EXPECT_FALSE(s.has("n.par2")); }},
      {{"repair", "@/n.001"}, 1, {"no recovery data"}},
      {{"protect", "@/n.001"},
       0,
       {},
       {},
       [](const Scene& s) {
           std::filesystem::remove(s.at("n.001"));
           std::filesystem::remove(s.at("n.003"));
       }},
      {{"repair", "@/n.001"}, 1, {"2 slices are needed, there are 1"}}}},
    {"MissingLastPieceNamedByTheChecksumFile",
     [](const Scene& s) { s.write("m.bin", kSmall); },
     {{{"split", "@/m.bin", "-b", "2K", "-o", "@/m", "--no-recovery"},
       0,
       {},
       {},
       [](const Scene& s) { std::filesystem::remove(s.at("m.003")); }},
      {{"list", "@/m.001"}, 1, {}, {"missing  m.003"}},
      {{"verify", "@/m.001"}, 1, {"2 OK, 0 FAILED, 1 MISSING"}, {"m.003: MISSING"}},
      {{"merge", "@/m.001", "-o", "@/out"}, 1, {"m.003"}},
      {{"merge", "@/m.001", "-o", "@/out", "--allow-gaps"},
       1,
       {"m.003", "--no-verify"},
       {},
       [](const Scene& s) { EXPECT_FALSE(s.has("out")); }},
      {{"merge", "@/m.001", "-o", "@/out", "--allow-gaps", "--no-verify"}, 0}}},
    {"ATypedListOtherThanTheChecksumFilesIsRefused",
     [](const Scene& s) { s.write("m.bin", kSmall); },
     {{{"split", "@/m.bin", "-b", "2K", "-o", "@/m", "--no-script"}, 0},
      {{"merge", "-o", "@/out", "@/m.001", "@/m.003", "@/m.002"},
       1,
       {"piece 2", "m.003", "m.sha256", "--no-verify"},
       {},
       [](const Scene& s) { EXPECT_FALSE(s.has("out")); }},
      {{"merge", "-o", "@/out", "@/m.001", "@/m.002"}, 1, {"m.003", "piece 3"}},
      {{"merge", "-o", "@/out", "@/m.001", "@/m.003", "@/m.002", "--no-verify"},
       0,
       {},
       {},
       [](const Scene& s) {
           EXPECT_TRUE(s.read("out") ==
                       kSmall.substr(0, 2048) + kSmall.substr(4096) + kSmall.substr(2048, 2048));
       }}}},
    {"NoChecksumFileAndAnUnreadableOne",
     [](const Scene& s) { s.write("n.bin", kSmall); },
     {{{"split", "@/n.bin", "-b", "2K", "-o", "@/n", "--no-checksum"},
       0,
       {},
       {},
       [](const Scene& s) { EXPECT_FALSE(s.has("n.sha256")); }},
      {{"verify", "@/n.001"}, 2, {"n.sha256"}},
      {{"verify", "@/n.bin"}, 2, {"n.bin"}},
      {{"merge", "@/n.001", "-o", "@/out"},
       0,
       {},
       {},
       [](const Scene& s) { s.write("n.sha256", std::string(100, '\0')); }},
      {{"merge", "@/n.001", "-o", "@/out2"},
       1,
       {"n.sha256", "--no-verify"},
       {},
       [](const Scene& s) { EXPECT_FALSE(s.has("out2")); }},
      {{"merge", "@/n.001", "-o", "@/out2", "--no-verify"},
       0,
       {},
       {},
       [](const Scene& s) { EXPECT_TRUE(s.read("out2") == kSmall); }}}},
    // Names longer than MAX_PATH, typed plainly and in the "\\?\" form.
    {"LongAndPrefixedPaths",
     [](const Scene& s) {
         std::filesystem::create_directories(s.at(kDeep));
         s.write(kDeep + "/src.bin", kSmall);
     },
     {{{"split", "@?/" + kDeep + "/src.bin", "-b", "2K"},
       0,
       {},
       {},
       [](const Scene& s) { EXPECT_EQ(s.read(kDeep + "/src$.bin.003"), kSmall.substr(4096)); }},
      {{"merge", "@/" + kDeep + "/src$.bin.001", "-o", "@?/" + kDeep + "/joined.bin"},
       0,
       {},
       {},
       [](const Scene& s) { EXPECT_TRUE(s.read(kDeep + "/joined.bin") == kSmall); }},
      {{"list", "@?/" + kDeep + "/src$.bin.001"}, 0, {}, {"src$.bin.002", "5000"}}}},
    {"SplitRefusesAMissingSource", nullptr, {{{"split", "@/missing.avi"}, 1, {"missing.avi"}}}},
    {"SplitRefusesAFolder",
     [](const Scene& s) { std::filesystem::create_directory(s.at("folder.avi")); },
     {{{"split", "@/folder.avi"}, 1, {"folder.avi"}}}},
    {"SplitRefusesAnExistingTarget",
     [](const Scene& s) {
         s.write("t.bin", kSmall);
         s.write("t$.bin", "mine");
     },
     {{{"split", "@/t.bin", "-b", "1K"},
       1,
       {"t$.bin"},
       {},
       [](const Scene& s) {
           EXPECT_EQ(s.names(), (Names{"t$.bin", "t.bin"}));
           EXPECT_EQ(s.read("t$.bin"), "mine");
       }}}},
    {"SplitRefusesAMissingTargetFolder",
     [](const Scene& s) { s.write("t.bin", kSmall); },
     {{{"split", "@/t.bin", "-o", "@/nowhere/t"}, 1, {"nowhere"}}}},
    {"SplitRefusesABlockLargerThanTheFile",
     [](const Scene& s) { s.write("small.bin", "0123456789"); },
     {{{"split", "@/small.bin", "-b", "11"},
       1,
       {"small.bin"},
       {},
       [](const Scene& s) { EXPECT_EQ(s.names(), Names{"small.bin"}); }}}},
    // A piece's name is another name of the source: cutting would empty it.
    {"SplitRefusesToWriteOverItsSource",
     [](const Scene& s) {
         s.write("s.bin", kSmall);
         std::filesystem::create_directory(s.at("out"));
         std::filesystem::create_hard_link(s.at("s.bin"), s.at("out/p.003"));
     },
     {{{"split", "@/s.bin", "-b", "1K", "-o", "@/out/p"},
       1,
       {"s.bin"},
       {},
       [](const Scene& s) {
           EXPECT_TRUE(s.read("s.bin") == kSmall);
           EXPECT_FALSE(s.has("out/p.001"));
       }}}},
    {"MergeRefusesAMissingPiece",
     [](const Scene& s) { s.write("r.001", "1"); },
     {{{"merge", "-o", "@/out", "@/r.001", "@/r.009"}, 1, {"r.009"}}}},
    {"HelpAndVersion",
     nullptr,
     {{{"--help"}, 0, {}, {"split", "merge", "list", "protect", "repair"}},
      {{"split", "--help"}, 0, {}, {"--no-script", "--floppy", "--no-checksum", "--no-recovery"}},
      {{"merge", "--help"}, 0, {}, {"--no-verify", "--no-repair"}},
      {{"--version"}, 0, {}, {"tessark-cli (Tessark) "}}}},
    {"UsageErrors",
     nullptr,
     {{{}, 2, {"--help"}},
      {{"cut", "x"}, 2, {"cut"}},
      {{"split"}, 2, {"FILE"}},
      {{"split", "@/x", "-b", "1.5M"}, 2, {"1.5M"}},
      {{"split", "@/x", "-b", "1K", "--floppy"}, 2, {"--floppy"}},
      {{"merge", "--sideways", "@/x.001"}, 2, {"--sideways"}}}},
};

class CommandLineTest : public ::testing::TestWithParam<Case> {};

TEST_P(CommandLineTest, RunsAsTheTableSays) {
    const Case& c = GetParam();
    const Scene scene;
    if (c.prepare) {
        c.prepare(scene);
    }
    int number = 0;
    for (const Step& step : c.steps) {
        SCOPED_TRACE("step " + std::to_string(++number));
        const Finished run = scene.run(step.args);
        EXPECT_EQ(run.status, step.status) << "stderr: " << run.err;
        for (const auto& text : step.errorMentions) {
            EXPECT_NE(run.err.find(text), std::string::npos) << "'" << text << "' in " << run.err;
        }
        for (const auto& text : step.outMentions) {
            EXPECT_NE(run.out.find(text), std::string::npos) << "'" << text << "' in " << run.out;
        }
        if (step.status != 0) {
            EXPECT_NE(run.err.rfind("tessark-cli: ", 0), std::string::npos) << run.err;
        } else {
            EXPECT_EQ(run.err, "") << "nothing on standard error when it is not a terminal";
        }
        if (step.after) {
            step.after(scene);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, CommandLineTest, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tessark::test
