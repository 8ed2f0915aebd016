// SPDX-License-Identifier: MIT
// The native file system on real files in a temporary folder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <filesystem>
#include <fstream>

#include "cli/error_text.h"
#include "engine/core/runtime_error.h"
#include "engine/platform/errno_map.h"
#include "engine/platform/native_file_system.h"
#include "engine/platform/posix_file_system.h"
#include "engine/platform/posix_io.h"
#include "temp_folder.h"

namespace tessark {
namespace {

struct ErrnoCase {
    int error;
    bool parentMissing;
    int number;
};

void PrintTo(const ErrnoCase& c, std::ostream* out) {
    *out << "errno" << c.error << (c.parentMissing ? "_inMissingFolder" : "");
}

class ErrnoMap : public ::testing::TestWithParam<ErrnoCase> {};

TEST_P(ErrnoMap, FollowsTheMeaningOfTheFailure) {
    EXPECT_EQ(errorNumberForErrno(GetParam().error, GetParam().parentMissing), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErrnoMap,
    ::testing::Values(
        ErrnoCase{ENOENT, false, 53}, ErrnoCase{ENOENT, true, 76}, ErrnoCase{ENOTDIR, false, 76},
        ErrnoCase{EACCES, false, 70}, ErrnoCase{EPERM, false, 70}, ErrnoCase{EROFS, false, 70},
        ErrnoCase{ENOSPC, false, 61}, ErrnoCase{EDQUOT, false, 61}, ErrnoCase{EFBIG, false, 61},
        ErrnoCase{EIO, false, 57}, ErrnoCase{ENOMEDIUM, false, 71}, ErrnoCase{ENXIO, false, 68},
        ErrnoCase{ENODEV, false, 68}, ErrnoCase{ENAMETOOLONG, false, 52},
        ErrnoCase{EILSEQ, false, 52}, ErrnoCase{EISDIR, false, 75}, ErrnoCase{ETXTBSY, false, 75},
        ErrnoCase{EBUSY, false, 75}, ErrnoCase{EMFILE, false, 67}, ErrnoCase{ENFILE, false, 67},
        ErrnoCase{EEXIST, false, 58}, ErrnoCase{ENOMEM, false, 7},
        // Anything else still fails the action, quietly.
        ErrnoCase{EPROTO, false, 75}));

int errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

class PosixFileSystemTest : public ::testing::Test {
  protected:
    Text path(const std::string& relative) const { return fromUtf8(dir.path() + "/" + relative); }
    std::string native(const std::string& relative) const { return dir.path() + "/" + relative; }
    void write(const std::string& relative, const std::string& bytes) const {
        std::ofstream(native(relative), std::ios::binary) << bytes;
    }

    test::TempFolder dir;
    std::unique_ptr<FileSystem> fs = makeNativeFileSystem();
};

TEST_F(PosixFileSystemTest, ExistenceCountsHiddenFilesAndTellsFoldersApart) {
    write("plain", "x");
    write(".hidden", "x");
    std::filesystem::create_directory(native("folder"));
    std::filesystem::create_symlink("/dev/full", native("device"));
    std::filesystem::create_symlink("plain", native("link"));

    struct Case {
        std::string name;
        bool file, folder;
    };
    for (const Case& c :
         {Case{"plain", true, true}, Case{".hidden", true, true}, Case{"link", true, true},
          Case{"folder", false, true}, Case{"device", false, true}, Case{"missing", false, false},
          Case{"missing/deeper", false, false}, Case{"plain/under", false, false}}) {
        EXPECT_EQ(fs->fileExists(path(c.name)), c.file) << c.name;
        EXPECT_EQ(fs->folderExists(path(c.name)), c.folder) << c.name;
    }
    EXPECT_FALSE(fs->fileExists(u""));
}

TEST_F(PosixFileSystemTest, FailuresBecomeRunTimeErrors) {
    write("file", "abc");
    std::filesystem::create_directory(native("folder"));
    EXPECT_EQ(fs->fileLength(path("file")), 3);
    struct Case {
        std::string what;
        std::function<void()> action;
        int number;
    };
    const std::vector<Case> cases = {
        {"length of a missing file", [&] { fs->fileLength(path("nope")); }, 53},
        {"length in a missing folder", [&] { fs->fileLength(path("none/nope")); }, 76},
        {"length of a folder", [&] { fs->fileLength(path("folder")); }, 75},
        {"read a missing file", [&] { fs->openRead(path("nope")); }, 53},
        {"read in a missing folder", [&] { fs->openRead(path("none/nope")); }, 76},
        {"read a folder", [&] { fs->openRead(path("folder")); }, 75},
        {"create in a missing folder", [&] { fs->createFile(path("none/x")); }, 76},
        {"create under a file", [&] { fs->createFile(path("file/x")); }, 76},
        {"create over a folder", [&] { fs->createFile(path("folder")); }, 75},
        {"name too long", [&] { fs->createFile(path(std::string(300, 'n'))); }, 52},
        {"a NUL inside the name", [&] { fs->openRead(path("file") + Text(1, u'\0') + u"x"); }, 52},
        {"look at a NUL name", [&] { fs->fileExists(Text(u"a\0b", 3)); }, 52},
        {"list a missing folder", [&] { fs->listFolders(path("none")); }, 76},
        {"replace from a missing file", [&] { fs->replaceFile(path("nope"), path("file")); }, 53},
        {"replace a folder", [&] { fs->replaceFile(path("file"), path("folder")); }, 75},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(errorOf(c.action), c.number) << c.what;
    }
}

// The number keeps the table's meaning; the error keeps what was done to which
// file and the system's code, which the CLI words for its log.
TEST_F(PosixFileSystemTest, ErrorsSayWhichFileAndWhy) {
    write("file", "abc");
    std::filesystem::create_directory(native("folder"));
    std::filesystem::create_symlink("/dev/full", native("full"));
    const std::string d = dir.path();
    struct Case {
        std::function<void()> action;
        int number;
        std::string text;
    };
    const std::vector<Case> cases = {
        {[&] { fs->createFile(path("none/x")); }, 76,
         "cannot create '" + d + "/none/x': No such file or directory"},
        {[&] { fs->openRead(path("nope")); }, 53,
         "cannot open '" + d + "/nope': No such file or directory"},
        {[&] { fs->openRead(path("folder")); }, 75,
         "cannot open '" + d + "/folder': Is a directory"},
        {[&] { fs->fileLength(path("file/x")); }, 53,
         "cannot look up '" + d + "/file/x': No such file or directory"},
        {[&] {
             posix::PosixOutput out(::open("/dev/full", O_WRONLY | O_CLOEXEC), path("full"));
             out.writeAt(0, std::as_bytes(std::span("x", 1)));
         },
         61, "cannot write '" + d + "/full': No space left on device"},
        {[&] { fs->createFile(path("full")); }, 68,
         "cannot create '" + d + "/full': not a regular file"},
        {[&] { fs->createStaged(path("none/x")); }, 76,
         "cannot create '" + d + "/none/x': No such file or directory"},
        {[&] { fs->listFolders(path("file")); }, 76,
         "cannot list '" + d + "/file': Not a directory"},
    };
    for (const Case& c : cases) {
        try {
            c.action();
            ADD_FAILURE() << c.text << ": no error";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), c.number) << c.text;
            EXPECT_EQ(cli::describe(e), c.text);
        }
    }
}

TEST_F(PosixFileSystemTest, ProtectedFolderIsPermissionDenied) {
    std::filesystem::create_directory(native("locked"));
    ::chmod(native("locked").c_str(), 0555);
    Text target = path("locked/x");
    if (::geteuid() == 0) {
        target = u"/sys/tessark-probe";  // refused even to the superuser
    }
    const int number = errorOf([&] { fs->createFile(target); });
    ::chmod(native("locked").c_str(), 0755);
    if (number == 0) {
        fs->removeFile(target);
        GTEST_SKIP() << "no folder here refuses new files";
    }
    EXPECT_EQ(number, 70);
}

// The device is opened past the file system, which takes no device for a
// file, so that the write meets the kernel's own "disk full".
TEST_F(PosixFileSystemTest, DiskFullThroughADeviceThatIsAlwaysFull) {
    auto out = std::make_unique<posix::PosixOutput>(::open("/dev/full", O_WRONLY | O_CLOEXEC),
                                                    path("full"));
    const std::string bytes(100, 'x');
    EXPECT_EQ(errorOf([&] { out->writeAt(0, std::as_bytes(std::span(bytes))); }), 61);
}

TEST_F(PosixFileSystemTest, WritesAndReadsBeyondFourGigabytes) {
    constexpr std::int64_t kFar = 5LL << 30;
    const std::string bytes = "far away";
    {
        auto out = fs->createFile(path("sparse"));
        out->writeAt(kFar, std::as_bytes(std::span(bytes)));
        out->writeAt(0, std::as_bytes(std::span(bytes.data(), 3)));
        out->close();
        out->close();  // a second close does nothing
    }
    EXPECT_EQ(fs->fileLength(path("sparse")), kFar + 8);
    auto in = fs->openRead(path("sparse"));
    std::string back(16, '\0');
    EXPECT_EQ(in->readAt(kFar, std::as_writable_bytes(std::span(back))), 8u);
    EXPECT_EQ(back.substr(0, 8), bytes);
    EXPECT_EQ(in->readAt(kFar + 8, std::as_writable_bytes(std::span(back))), 0u);
    EXPECT_EQ(in->readAt(0, std::as_writable_bytes(std::span(back.data(), 3))), 3u);
    EXPECT_EQ(back.substr(0, 3), "far");
}

TEST_F(PosixFileSystemTest, CreateEmptiesAnExistingFile) {
    write("old", std::string(1000, 'o'));
    auto out = fs->createFile(path("old"));
    out->writeAt(0, std::as_bytes(std::span("new", 3)));
    out->close();
    EXPECT_EQ(fs->fileLength(path("old")), 3);
}

TEST_F(PosixFileSystemTest, FindsVisibleRegularFilesByWildcard) {
    for (const char* name : {"a.001", "a.002", "a.010", "b.001", ".a.003", "a.0x"}) {
        write(name, "x");
    }
    std::filesystem::create_directory(native("a.004"));
    std::filesystem::create_symlink("a.001", native("a.005"));    // a file, through a link
    std::filesystem::create_symlink("nowhere", native("a.006"));  // dangling
    std::filesystem::create_symlink("/dev/full", native("a.007"));
    write("\xff\xfe.001", "x");  // not UTF-8: could not be opened again by its text

    auto names = fs->findFiles(path("a.0??"));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<Text>{u"a.001", u"a.002", u"a.005", u"a.010"}));
    EXPECT_EQ(fs->findFiles(path("*.001")).size(), 2u);
    EXPECT_TRUE(fs->findFiles(path("none/*")).empty());
    EXPECT_TRUE(fs->findFiles(path("a.001/*")).empty());
}

TEST_F(PosixFileSystemTest, ListsVisibleFoldersSorted) {
    for (const char* name : {"zeta", "alpha", ".git", "mid"}) {
        std::filesystem::create_directory(native(name));
    }
    write("file", "x");
    std::filesystem::create_symlink("alpha", native("linked"));
    EXPECT_EQ(fs->listFolders(fromUtf8(dir.path())),
              (std::vector<Text>{u"alpha", u"linked", u"mid", u"zeta"}));
}

TEST_F(PosixFileSystemTest, SameFileFollowsLinksAndSpellings) {
    write("one", "1");
    write("two", "1");
    std::filesystem::create_directory(native("sub"));
    std::filesystem::create_hard_link(native("one"), native("sub/hard"));
    std::filesystem::create_symlink(native("one"), native("soft"));
    EXPECT_TRUE(fs->sameFile(path("one"), path("one")));
    EXPECT_TRUE(fs->sameFile(path("one"), path("sub/../one")));
    EXPECT_TRUE(fs->sameFile(path("one"), path("sub/hard")));
    EXPECT_TRUE(fs->sameFile(path("soft"), path("one")));
    EXPECT_FALSE(fs->sameFile(path("one"), path("two")));
    EXPECT_FALSE(fs->sameFile(path("one"), path("missing")));
    EXPECT_FALSE(fs->sameFile(path("missing"), path("missing")));
}

TEST_F(PosixFileSystemTest, TempFilesAreNewAndReplaceInOneStep) {
    Text first;
    Text second;
    auto a = fs->createTempFile(fromUtf8(dir.path()), first);
    auto b = fs->createTempFile(fromUtf8(dir.path()) + u"/", second);
    EXPECT_NE(first, second);
    EXPECT_EQ(*folderPart(first, u'/'), fromUtf8(dir.path()));
    EXPECT_TRUE(fs->findFiles(fromUtf8(dir.path()) + u"/*").empty());  // hidden while written
    a->writeAt(0, std::as_bytes(std::span("temp", 4)));
    a->close();
    b->close();
    write("final", "old contents");
    fs->replaceFile(first, path("final"));
    EXPECT_FALSE(fs->fileExists(first));
    EXPECT_EQ(fs->fileLength(path("final")), 4);
    fs->removeFile(second);
    fs->removeFile(second);  // already gone: still quiet
    EXPECT_FALSE(fs->fileExists(second));
}

TEST(EncodeForCodeset, OneQuestionMarkPerCharacterOutsideTheSet) {
    EXPECT_EQ(encodeForCodeset(u"copy/B \"电影.001\"\r\n", "GBK"),
              "copy/B \"\xB5\xE7\xD3\xB0.001\"\r\n");
    EXPECT_EQ(encodeForCodeset(u"a😀b\u00E9", "GBK"), "a?b\xA8\xA6");
    EXPECT_EQ(encodeForCodeset(u"a电😀é", "ANSI_X3.4-1968"), "a???");
    EXPECT_EQ(encodeForCodeset(u"a电😀", "UTF-8"), "a\xE7\x94\xB5\xF0\x9F\x98\x80");
    EXPECT_EQ(encodeForCodeset(Text(u"x") + char16_t(0xD800) + u"y", "UTF-8"), "x?y");
    EXPECT_EQ(encodeForCodeset(u"ok电", "NO-SUCH-CODESET"), "ok?");
}

// Link.bat is read by a Windows command processor in code page 936, so the
// locale it was written under makes no difference.
TEST(EncodeAnsi, IsCodePage936WhateverTheLocale) {
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    auto fs = makeNativeFileSystem();
    for (const char* name : {"C", "C.UTF-8", "zh_CN.GBK", "zh_CN.UTF-8"}) {
        if (std::setlocale(LC_CTYPE, name) != nullptr) {
            EXPECT_EQ(fs->encodeAnsi(u"电影😀.001"), "\xB5\xE7\xD3\xB0?.001") << name;
        }
    }
    std::setlocale(LC_CTYPE, saved.c_str());
}

}  // namespace
}  // namespace tessark
