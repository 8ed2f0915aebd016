// SPDX-License-Identifier: MIT
// Damaged sets on the machine's own file system (a real drive under wine):
// the engine's split writes the checksum file, the set is damaged, and the
// checked merge names what is wrong and leaves the old output as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/core/file_system.h"
#include "engine/merge/merge_plan.h"
#include "engine/platform/native_file_system.h"
#include "engine/set/piece_set.h"
#include "engine/split/split_plan.h"
#ifdef _WIN32
#include "win32_test_drive.h"
using Folder = tessark::test::ScratchFolder;
#else
#include "temp_folder.h"
using Folder = tessark::test::TempFolder;
#endif

namespace tessark {
namespace {

namespace fsys = std::filesystem;

std::string slurp(const fsys::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void spill(const fsys::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string s(size, '\0');
    std::generate(s.begin(), s.end(), [&] { return static_cast<char>(random()); });
    return s;
}

std::vector<fsys::path> folderContents(const fsys::path& dir) {
    std::vector<fsys::path> names(fsys::directory_iterator(dir), {});
    std::sort(names.begin(), names.end());
    return names;
}

Text text(const fsys::path& p) {
    return fsys::path(p).make_preferred().u16string();
}

constexpr std::size_t kBlock = 10000;
const std::string kSource = randomBytes(35000, 1);  // m.001 ... m.004, the last short

void splitInto(FileSystem& fs, const fsys::path& source, const fsys::path& target) {
    SplitRequest request{text(source), text(target), BlockSize::ofBytes(kBlock)};
    request.writeChecksum = true;
    auto checked = planSplit(fs, request);
    ASSERT_TRUE(std::holds_alternative<SplitPlan>(checked));
    ASSERT_EQ(runSplit(fs, std::get<SplitPlan>(checked), nullptr), RunOutcome::Completed);
}

enum class Outcome { Joined, PieceDamaged, WholeDamaged };

struct DamageCase {
    const char* name;
    std::function<void(const fsys::path&)> damage;
    std::vector<std::string> list;  // listed pieces, relative to the folder
    ChecksumStatus status;
    Outcome outcome;
    std::string named;  // the damaged piece, or the piece Add finds missing
};

void PrintTo(const DamageCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<std::string> kAll = {"m.001", "m.002", "m.003", "m.004"};

const DamageCase kDamageCases[] = {
    {"FlippedByteInTheMiddlePiece",
     [](const fsys::path& d) {
         std::string piece = slurp(d / "m.002");
         piece[kBlock / 2] ^= 1;
         spill(d / "m.002", piece);
     },
     kAll, ChecksumStatus::Matches, Outcome::PieceDamaged, "m.002"},
    {"TruncatedLastPiece", [](const fsys::path& d) { fsys::resize_file(d / "m.004", 100); }, kAll,
     ChecksumStatus::Matches, Outcome::PieceDamaged, "m.004"},
    {"PieceFromAnotherSet", [](const fsys::path& d) { spill(d / "m.003", randomBytes(kBlock, 2)); },
     kAll, ChecksumStatus::Matches, Outcome::PieceDamaged, "m.003"},
    {"WholeFileLineThatNoPieceMatches",
     [](const fsys::path& d) {
         std::string sums = slurp(d / "m.sha256");
         const auto last = sums.rfind('\n', sums.size() - 2) + 1;
         sums[last] = sums[last] == '0' ? '1' : '0';
         spill(d / "m.sha256", sums);
     },
     kAll, ChecksumStatus::Matches, Outcome::WholeDamaged, ""},
    {"MissingLastPiece",
     [](const fsys::path& d) { fsys::remove(d / "m.004"); },
     {"m.001", "m.002", "m.003"},
     ChecksumStatus::Differs,
     Outcome::Joined,
     "m.004"},
    // Every piece, in another order: another file, which must not pass for
    // the one that was cut.
    {"TwoPiecesSwappedInTheList",
     nullptr,
     {"m.001", "m.003", "m.002", "m.004"},
     ChecksumStatus::Differs,
     Outcome::WholeDamaged,
     ""},
    // The same name in another folder is another file: nothing vouches for
    // it, so its other bytes are joined as listed rather than called damaged.
    {"APieceOfTheSetsNameFromAnotherFolder",
     [](const fsys::path& d) {
         fsys::create_directory(d / "other");
         spill(d / "other" / "m.002", randomBytes(kBlock, 4));
     },
     {"m.001", "other/m.002", "m.003", "m.004"},
     ChecksumStatus::Differs,
     Outcome::Joined,
     ""},
    {"DamagedPieceInADifferingList",
     [](const fsys::path& d) { fsys::resize_file(d / "m.003", 9999); },
     {"m.003", "m.001"},
     ChecksumStatus::Differs,
     Outcome::PieceDamaged,
     "m.003"},
    {"UnrecognisedChecksumFile",
     [](const fsys::path& d) { spill(d / "m.sha256", randomBytes(5000, 3)); }, kAll,
     ChecksumStatus::Unrecognised, Outcome::Joined, ""},
};

class DamageTable : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamageTable, NamesWhatIsWrongAndKeepsTheOldOutput) {
    const DamageCase& c = GetParam();
    Folder folder;
    const fsys::path dir(folder.path());
    const auto fs = makeNativeFileSystem();
    spill(dir / "source.bin", kSource);
    splitInto(*fs, dir / "source.bin", dir / "m");
    if (c.damage) {
        c.damage(dir);
    }
    if (!c.named.empty() && c.outcome == Outcome::Joined) {
        EXPECT_EQ(readPieceSet(*fs, text(dir / "m.001")).missing,
                  std::vector<Text>{fromUtf8(c.named)});
    }
    spill(dir / "out.bin", "the old output");
    const auto before = folderContents(dir);

    MergeRequest request{text(dir / "out.bin"), {}, true};
    std::string joined;
    for (const auto& name : c.list) {
        request.pieces.push_back(text(dir / name));
        joined += slurp(dir / name);
    }
    auto checked = planMerge(*fs, request);
    ASSERT_TRUE(std::holds_alternative<MergePlan>(checked));
    const MergePlan& plan = std::get<MergePlan>(checked);
    EXPECT_EQ(plan.checks.status, c.status);

    const MergeOutcome outcome = runMerge(*fs, plan, nullptr);
    ASSERT_NE(outcome.result, MergeResult::Stopped);
    if (outcome.result == MergeResult::Joined) {
        EXPECT_EQ(c.outcome, Outcome::Joined);
        EXPECT_TRUE(slurp(dir / "out.bin") == joined);
    } else {
        ASSERT_NE(c.outcome, Outcome::Joined);
        EXPECT_EQ(outcome.piece.has_value(), c.outcome == Outcome::PieceDamaged);
        EXPECT_EQ(outcome.result == MergeResult::PieceDamaged, c.outcome == Outcome::PieceDamaged);
        if (outcome.piece) {
            EXPECT_EQ(GetFileName(plan.pieces[*outcome.piece], fs->separator()), fromUtf8(c.named));
        }
        EXPECT_EQ(slurp(dir / "out.bin"), "the old output");
        EXPECT_EQ(folderContents(dir), before);  // no staging file left
    }
}

INSTANTIATE_TEST_SUITE_P(Sets, DamageTable, ::testing::ValuesIn(kDamageCases),
                         [](const auto& p) { return std::string(p.param.name); });

#ifndef _WIN32
// What we write, the GNU tools read: the pieces where they lie, then the
// whole file once joined under the name the checksum file gives it.
TEST(ChecksumInterop, Sha256sumAcceptsTheFileWeWrite) {
    Folder folder;
    const fsys::path dir(folder.path());
    const auto fs = makeNativeFileSystem();
    spill(dir / "影 a\\b.bin", kSource);
    splitInto(*fs, dir / "影 a\\b.bin", dir / "影 a\\b$.bin");
    ASSERT_EQ(slurp(dir / "影 a\\b$.bin.sha256").front(), '\\');
    const std::string check = "cd '" + dir.string() + "' && sha256sum --quiet -c ";
    EXPECT_EQ(std::system((check + "--ignore-missing '影 a\\b$.bin.sha256'").c_str()), 0);
    fsys::copy_file(dir / "影 a\\b.bin", dir / "影 a\\b(1).bin");
    EXPECT_EQ(std::system((check + "'影 a\\b$.bin.sha256'").c_str()), 0);
    spill(dir / "影 a\\b$.bin.002", "changed");
    EXPECT_NE(std::system((check + "'影 a\\b$.bin.sha256' >/dev/null 2>&1").c_str()), 0);
}
#endif

}  // namespace
}  // namespace tessark
