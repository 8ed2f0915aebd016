// SPDX-License-Identifier: MIT
// Links on real files: no name the split writes is ever its source, a merge
// onto a link fills the file it leads to, and a merge killed half-way leaves
// the old output and nothing else.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "engine/core/runtime_error.h"
#include "engine/platform/posix_file_system.h"
#include "engine/platform/posix_staged_file.h"
#include "fake_window.h"
#include "forms/merge_form.h"
#include "forms/split_form.h"
#include "forwarding_file_system.h"
#include "temp_folder.h"

namespace tessark {
namespace {

namespace fsys = std::filesystem;

std::string readAll(const fsys::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const fsys::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string pattern(std::size_t size, char seed) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(seed + static_cast<char>(i * 7 % 251));
    }
    return bytes;
}

Text text(const fsys::path& p) {
    return fromUtf8(p.string());
}

std::vector<std::string> namesIn(const fsys::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fsys::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class Links : public ::testing::Test {
  protected:
    test::TempFolder folder;
    fsys::path dir = folder.path();
    std::unique_ptr<FileSystem> fs = makePosixFileSystem(true);
    test::FakeWindow w;
};

struct LinkCase {
    const char* name;
    const char* source;  // under dir/src
    const char* target;  // the split's target, under dir
    bool symbolic;       // the link to the source: symbolic, else hard
    const char* link;    // under dir, made before the split; empty: none
    bool refused;
};

void PrintTo(const LinkCase& c, std::ostream* out) {
    *out << c.name;
}

class SplitLinks : public Links, public ::testing::WithParamInterface<LinkCase> {};

// Five pieces of 1 KB; whatever name leads to the source, the split must
// refuse before it touches a thing.
TEST_P(SplitLinks, TheSourceKeepsEveryByte) {
    const LinkCase& c = GetParam();
    fsys::create_directories(dir / "src");
    fsys::create_directories(dir / "out");
    fsys::create_directory_symlink(dir / "src", dir / "via");
    const fsys::path source = dir / "src" / c.source;
    const std::string bytes = pattern(4600, 'a');
    writeAll(source, bytes);
    if (*c.link != '\0') {
        if (c.symbolic) {
            fsys::create_symlink(source, dir / c.link);
        } else {
            fsys::create_hard_link(source, dir / c.link);
        }
    }
    w.Text1.value = text(source);
    w.Text2.value = text(dir / c.target);
    w.Option1.isSelected = false;
    w.Text3.value = u"1";
    auto controls = w.controls();
    startSplit(controls, *fs);

    EXPECT_EQ(readAll(source), bytes);
    ASSERT_FALSE(w.messages.shown.empty());
    const test::ShownBox& last = w.messages.shown.back();
    EXPECT_EQ(last.style, mb::Information);
    if (c.refused) {
        EXPECT_EQ(last.prompt, u"指定的目标文件已经存在，请重新取名!");
        EXPECT_EQ(test::eventsStartingWith(w.log, "Text2."),
                  (std::vector<std::string>{"Text2.selectAll", "Text2.focus"}));
        EXPECT_EQ(w.messages.shown.size(), 1u) << "refused before the confirmation";
        EXPECT_EQ(w.List1.count(), 0);
    } else {
        EXPECT_TRUE(last.prompt.ends_with(u"程序合并文件\r也可以用合并功能合并文件!"));
        EXPECT_EQ(w.List1.count(), 5);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SplitLinks,
    ::testing::Values(
        LinkCase{"HardLinkAsAnotherPiece", "data.bin", "out/m", false, "out/m.003", true},
        LinkCase{"SymlinkAsAnotherPiece", "data.bin", "out/m", true, "out/m.002", true},
        LinkCase{"HardLinkAsTheMatchingPiece", "x.004", "out/m", false, "out/m.004", true},
        LinkCase{"SymlinkAsTheMatchingPiece", "m.001", "out/m", true, "out/m.001", true},
        LinkCase{"ThroughASymlinkedFolder", "m.002", "via/m", false, "", true},
        LinkCase{"LinkBatAsAHardLink", "data.bin", "out/m", false, "out/Link.bat", true},
        LinkCase{"LinkBatAsASymlink", "data.bin", "out/m", true, "out/Link.bat", true},
        LinkCase{"PieceNumberBeyondTheSet", "data.bin", "out/m", false, "out/m.006", false},
        LinkCase{"NoLinkAtAll", "m.002", "out/m", false, "", false}),
    [](const auto& p) { return std::string(p.param.name); });

// A link made after every check, at the moment of writing, is caught when the
// file is opened: nothing is cut.
TEST_F(Links, CreateFileRefusesALinkToTheProtectedFileAndKeepsItsBytes) {
    const fsys::path source = dir / "source";
    writeAll(source, "precious");
    const auto id = fs->fileId(text(source));
    ASSERT_TRUE(id.has_value());
    fsys::create_hard_link(source, dir / "hard");
    fsys::create_symlink(source, dir / "soft");
    for (const char* name : {"hard", "soft", "source"}) {
        try {
            fs->createFile(text(dir / name), id);
            ADD_FAILURE() << name << " was opened for writing";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), err::PermissionDenied) << name;
            EXPECT_EQ(e.path(), text(dir / name));
        }
        EXPECT_EQ(readAll(source), "precious") << name;
    }
    // Any other file is emptied as always.
    writeAll(dir / "other", "old");
    fs->createFile(text(dir / "other"), id)->close();
    EXPECT_EQ(fsys::file_size(dir / "other"), 0u);
}

// The link appears while the confirmation is up, after every check: the
// piece's opening refuses it, the split ends through its error report and the
// source keeps every byte.
TEST_F(Links, ALinkMadeAfterTheChecksEndsTheSplitThroughTheErrorReport) {
    const fsys::path source = dir / "data.bin";
    const std::string bytes = pattern(4600, 'z');
    writeAll(source, bytes);
    w.Text1.value = text(source);
    w.Text2.value = text(dir / "m");
    w.Option1.isSelected = false;
    w.Text3.value = u"1";
    w.messages.whileShown = [&](const test::ShownBox& box) {
        if (box.prompt.starts_with(u"确定要分割文件")) {
            fsys::create_hard_link(source, dir / "m.003");
        }
    };
    auto controls = w.controls();
    startSplit(controls, *fs);

    EXPECT_EQ(readAll(source), bytes);
    ASSERT_EQ(w.messages.shown.size(), 2u);
    EXPECT_EQ(w.messages.shown[1].prompt, u"磁盘被写保护 或 文件被保护!");
    EXPECT_EQ(w.List1.count(), 2);  // the complete pieces stay, as after any error
    EXPECT_FALSE(w.ProgressBar1.visible);
}

struct StagingCase {
    const char* name;
    bool unnamed;
};

void PrintTo(const StagingCase& c, std::ostream* out) {
    *out << c.name;
}

class Staging : public Links, public ::testing::WithParamInterface<StagingCase> {
  protected:
    void SetUp() override { fs = makePosixFileSystem(true, GetParam().unnamed); }

    void mergeInto(const fsys::path& output) {
        fsys::create_directories(dir / "pieces");
        const std::vector<std::string> parts = {pattern(3000, 'p'), pattern(10, 'q'),
                                                pattern(70000, 'r')};
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const fsys::path piece = dir / "pieces" / ("p.00" + std::to_string(i + 1));
            writeAll(piece, parts[i]);
            w.List1.items.push_back(text(piece));
            merged += parts[i];
        }
        w.Text4.value = text(output);
        auto controls = w.controls();
        startMerge(controls, *fs);
        ASSERT_FALSE(w.messages.shown.empty());
        EXPECT_EQ(w.messages.shown.back().prompt, text(output) + u"合并完成!");
    }
    std::string merged;
};

TEST_P(Staging, AMergeOntoASymlinkFillsItsTargetAndKeepsTheLink) {
    fsys::create_directories(dir / "real");
    fsys::create_directories(dir / "links");
    writeAll(dir / "real" / "film.avi", "old content");
    fsys::create_symlink("../real/film.avi", dir / "links" / "film.avi");
    mergeInto(dir / "links" / "film.avi");

    EXPECT_TRUE(fsys::is_symlink(dir / "links" / "film.avi"));
    EXPECT_EQ(readAll(dir / "real" / "film.avi"), merged);
    EXPECT_EQ(namesIn(dir / "real"), std::vector<std::string>{"film.avi"});
    EXPECT_EQ(namesIn(dir / "links"), std::vector<std::string>{"film.avi"});
}

TEST_P(Staging, AMergeIntoANewNameOrOneOfItsPiecesLeavesNoStrayFile) {
    mergeInto(dir / "new.bin");
    EXPECT_EQ(readAll(dir / "new.bin"), merged);
    // Merged onto its own first piece: the piece is read whole before the
    // output takes its name.
    w.messages.shown.clear();
    w.List1.items.clear();
    const std::string before = merged;
    merged.clear();
    mergeInto(dir / "pieces" / "p.001");
    EXPECT_EQ(readAll(dir / "pieces" / "p.001"), before);
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"new.bin", "pieces"}));
    EXPECT_EQ(namesIn(dir / "pieces"), (std::vector<std::string>{"p.001", "p.002", "p.003"}));
}

INSTANTIATE_TEST_SUITE_P(Ways, Staging,
                         ::testing::Values(StagingCase{"Unnamed", true},
                                           StagingCase{"NamedTemporaryFile", false}),
                         [](const auto& p) { return std::string(p.param.name); });

// Opening the second piece tells the parent through a pipe and then waits
// for ever: at that moment the first piece is staged.
class WaitsAtSecondPiece : public test::ForwardingFileSystem {
  public:
    WaitsAtSecondPiece(FileSystem& inner, int tell) : ForwardingFileSystem(inner), tell_(tell) {}
    std::unique_ptr<InputFile> openRead(const Text& p) override {
        if (endsWith(p, u".002")) {
            static_cast<void>(::write(tell_, "2", 1));
            for (;;) {
                ::pause();
            }
        }
        return ForwardingFileSystem::openRead(p);
    }

  private:
    int tell_;
};

// The child merges a real piece and then one at which it waits. Killed
// there, the child leaves the old output and not a byte more.
TEST_F(Links, AMergeKilledHalfWayLeavesOnlyTheOldOutput) {
    {
        posix::PosixStaged probe(text(dir / "probe"), true);
        if (!probe.unnamed()) {
            GTEST_SKIP() << "this file system has no unnamed files";
        }
    }
    writeAll(dir / "a.001", pattern(200000, 'k'));
    writeAll(dir / "a.002", pattern(1000, 'l'));
    writeAll(dir / "out.bin", "the old output");
    const auto before = namesIn(dir);

    int tell[2];
    ASSERT_EQ(::pipe(tell), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(tell[0]);
        w.List1.items = {text(dir / "a.001"), text(dir / "a.002")};
        w.Text4.value = text(dir / "out.bin");
        auto controls = w.controls();
        WaitsAtSecondPiece waits(*fs, tell[1]);
        startMerge(controls, waits);
        ::_exit(0);
    }
    ::close(tell[1]);
    // The read ends with nothing when the child ends without reaching it.
    char told = 0;
    const bool reached = ::read(tell[0], &told, 1) == 1;
    ::close(tell[0]);
    int status = 0;
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(reached) << "the child never reached the second piece";
    EXPECT_TRUE(WIFSIGNALED(status));

    EXPECT_EQ(namesIn(dir), before);
    EXPECT_EQ(readAll(dir / "out.bin"), "the old output");
}

}  // namespace
}  // namespace tessark
