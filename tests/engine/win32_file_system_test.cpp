// SPDX-License-Identifier: MIT
// The Win32 file system on a real drive (under wine in CI): behaviour, and the
// run-time error numbers of faults the system itself produces.
#include "engine/platform/win32_file_system.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "engine/core/runtime_error.h"
#include "engine/platform/native_file_system.h"
#include "win32_test_drive.h"

namespace tessark {
namespace {

using test::readWholeFile;
using test::ScratchFolder;
using test::writeWholeFile;

std::span<const std::byte> bytesOf(std::string_view text) {
    return std::as_bytes(std::span(text.data(), text.size()));
}

std::string readAll(InputFile& in, std::int64_t offset, std::size_t count) {
    std::string out(count, '\0');
    const std::size_t got =
        in.readAt(offset, std::as_writable_bytes(std::span(out.data(), out.size())));
    out.resize(got);
    return out;
}

int errorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

std::vector<Text> sorted(std::vector<Text> names) {
    std::sort(names.begin(), names.end());
    return names;
}

class Win32FileSystemTest : public ::testing::Test {
  protected:
    std::unique_ptr<FileSystem> fs = makeNativeFileSystem();
    ScratchFolder dir;
};

TEST_F(Win32FileSystemTest, IsTheNativeFileSystemWithBackslash) {
    EXPECT_NE(dynamic_cast<Win32FileSystem*>(fs.get()), nullptr);
    EXPECT_EQ(fs->separator(), u'\\');
}

TEST_F(Win32FileSystemTest, WritesAndReadsAtAnyOffsetBeyondFourGiB) {
    const Text path = dir / u"sparse.bin";
    auto out = fs->createFile(path);
    out->writeAt(0, bytesOf("head"));
    constexpr std::int64_t kFar = 5'000'000'000;  // needs the high half of the offset
    out->writeAt(kFar, bytesOf("tail"));
    out->close();
    EXPECT_EQ(fs->fileLength(path), kFar + 4);
    auto in = fs->openRead(path);
    EXPECT_EQ(readAll(*in, 0, 4), "head");
    EXPECT_EQ(readAll(*in, kFar, 10), "tail");  // short at the end
    EXPECT_EQ(readAll(*in, kFar + 4, 10), "");  // nothing past it
}

TEST_F(Win32FileSystemTest, CreateEmptiesAnExistingFileEvenAHiddenOne) {
    const Text plain = dir / u"plain.001";
    const Text hidden = dir / u"hidden.001";
    writeWholeFile(plain, "a much longer earlier content");
    writeWholeFile(hidden, "a much longer earlier content");
    test::setAttributes(hidden, FILE_ATTRIBUTE_HIDDEN);
    for (const Text& path : {plain, hidden}) {
        auto out = fs->createFile(path);
        out->writeAt(0, bytesOf("new"));
        out->close();
        EXPECT_EQ(readWholeFile(path), "new") << toUtf8(path);
    }
}

TEST_F(Win32FileSystemTest, ExistenceCountsHiddenAndTellsFilesFromFolders) {
    writeWholeFile(dir / u"file.txt", "x");
    writeWholeFile(dir / u"hidden.txt", "x");
    test::setAttributes(dir / u"hidden.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    test::makeFolder(dir / u"sub");
    test::makeFolder(dir / u"电影");

    EXPECT_TRUE(fs->fileExists(dir / u"file.txt"));
    EXPECT_TRUE(fs->fileExists(dir / u"FILE.TXT"));
    EXPECT_TRUE(fs->fileExists(dir / u"hidden.txt"));
    EXPECT_FALSE(fs->fileExists(dir / u"sub"));
    EXPECT_FALSE(fs->fileExists(dir / u"missing.txt"));
    EXPECT_FALSE(fs->fileExists(dir / u"missing\\file.txt"));

    EXPECT_TRUE(fs->folderExists(dir / u"sub"));
    EXPECT_TRUE(fs->folderExists(dir / u"电影"));
    EXPECT_TRUE(fs->folderExists(dir / u"file.txt"));
    EXPECT_TRUE(fs->folderExists(u"C:"));  // a bare drive is its root
    EXPECT_TRUE(fs->folderExists(u"C:\\"));
    EXPECT_FALSE(fs->folderExists(dir / u"missing"));
}

TEST_F(Win32FileSystemTest, FindsOrdinaryFilesByTheirLongNamesIgnoringCase) {
    for (const char16_t* name :
         {u"clip.avi.001", u"clip.avi.002", u"Clip.AVI.003", u"clip.avi.0004", u"clip.avi",
          u"hidden.avi.005", u"电影.avi.001"}) {
        writeWholeFile(dir / name, "x");
    }
    test::setAttributes(dir / u"hidden.avi.005", FILE_ATTRIBUTE_HIDDEN);
    test::makeFolder(dir / u"clip.avi.009");

    EXPECT_EQ(sorted(fs->findFiles(dir / u"clip.avi.???")),
              (std::vector<Text>{u"Clip.AVI.003", u"clip.avi.001", u"clip.avi.002"}));
    EXPECT_EQ(sorted(fs->findFiles(dir / u"*.001")),
              (std::vector<Text>{u"clip.avi.001", u"电影.avi.001"}));
    EXPECT_EQ(fs->findFiles(dir / u"*.005"), std::vector<Text>{});
    EXPECT_EQ(fs->findFiles(dir / u"missing\\*.001"), std::vector<Text>{});
    EXPECT_EQ(sorted(fs->listFolders(dir.path())), (std::vector<Text>{u"clip.avi.009"}));
}

TEST_F(Win32FileSystemTest, SameFileComparesIdentityNotSpelling) {
    writeWholeFile(dir / u"a.bin", "same bytes");
    writeWholeFile(dir / u"b.bin", "same bytes");
    test::makeFolder(dir / u"sub");
    EXPECT_TRUE(fs->sameFile(dir / u"a.bin", dir / u"A.BIN"));
    EXPECT_TRUE(fs->sameFile(dir / u"a.bin", dir / u"sub\\..\\a.bin"));
    EXPECT_FALSE(fs->sameFile(dir / u"a.bin", dir / u"b.bin"));
    EXPECT_FALSE(fs->sameFile(dir / u"a.bin", dir / u"missing.bin"));
    EXPECT_FALSE(fs->sameFile(dir / u"missing.bin", dir / u"missing.bin"));
}

TEST_F(Win32FileSystemTest, TempFilesAreNewAndReplaceTheTargetInOneStep) {
    writeWholeFile(dir / u"out.avi", "old");
    Text first;
    Text second;
    auto a = fs->createTempFile(dir.path(), first);
    auto b = fs->createTempFile(dir.path() + u"\\", second);
    EXPECT_NE(first, second);
    EXPECT_EQ(folderPart(first, u'\\'), dir.path());
    EXPECT_EQ(folderPart(second, u'\\'), dir.path());
    a->writeAt(0, bytesOf("joined"));
    b->close();
    // Still open, as a POSIX rename allows (wine allows it either way).
    fs->replaceFile(first, dir / u"out.avi");
    a->close();
    EXPECT_EQ(readWholeFile(dir / u"out.avi"), "joined");
    EXPECT_FALSE(fs->fileExists(first));
    fs->removeFile(second);
    EXPECT_FALSE(fs->fileExists(second));
    fs->removeFile(second);  // never throws
}

TEST_F(Win32FileSystemTest, EncodesInTheAnsiCodePageWithOneQuestionMarkPerLostCharacter) {
    ASSERT_EQ(GetACP(), 936u)
        << "the Windows tests run with LANG=zh_CN.UTF-8 (generate it with localedef -i zh_CN "
           "-f UTF-8 zh_CN.UTF-8) so that the ANSI code page is GBK";
    EXPECT_EQ(fs->encodeAnsi(u"电影.avi"), "\xB5\xE7\xD3\xB0.avi");
    EXPECT_EQ(fs->encodeAnsi(u"copy/B \"a b%.001\""), "copy/B \"a b%.001\"");
    EXPECT_EQ(fs->encodeAnsi(u""), "");
    // Thai, a character outside the BMP (one "?", not one per surrogate) and a
    // lone surrogate have no GBK form.
    EXPECT_EQ(fs->encodeAnsi(u"a\u0E01b"), "a?b");
    EXPECT_EQ(fs->encodeAnsi(u"x\U0001F600y电"), "x?y\xB5\xE7");
    EXPECT_EQ(fs->encodeAnsi(Text(u"z") + char16_t{0xD800} + u"z"), "z?z");
}

// Faults made by the system itself, each with the number the user's report
// is chosen by.
TEST_F(Win32FileSystemTest, RealFaultsGiveTheirRunTimeErrors) {
    writeWholeFile(dir / u"file.txt", "x");
    test::makeFolder(dir / u"folder");

    EXPECT_EQ(errorNumberOf([&] { fs->openRead(dir / u"missing.txt"); }), 53);
    EXPECT_EQ(errorNumberOf([&] { fs->fileLength(dir / u"missing.txt"); }), 53);
    EXPECT_EQ(errorNumberOf([&] { fs->createFile(dir / u"missing\\piece.001"); }), 76);
    EXPECT_EQ(errorNumberOf([&] { fs->openRead(dir / u"missing\\piece.001"); }), 76);
    EXPECT_EQ(errorNumberOf([&] {
                  Text ignored;
                  fs->createTempFile(dir / u"missing", ignored);
              }),
              76);
    for (const char16_t* name : {u"a<b.avi", u"a>b.avi", u"a|b.avi", u"a\"b.avi", u"a*b.avi"}) {
        EXPECT_EQ(errorNumberOf([&] { fs->createFile(dir / name); }), 52) << toUtf8(name);
        EXPECT_EQ(errorNumberOf([&] { fs->fileExists(dir / name); }), 52) << toUtf8(name);
    }
    // A folder where a file was expected.
    EXPECT_EQ(errorNumberOf([&] { fs->createFile(dir / u"folder"); }), 75);
    EXPECT_EQ(errorNumberOf([&] { fs->openRead(dir / u"folder"); }), 75);
    EXPECT_EQ(errorNumberOf([&] { fs->fileLength(dir / u"folder"); }), 75);
}

// Device names are neither read nor written, in a folder or not, and count
// as something there that is not a file (so the merge and the split refuse
// them as output or target).
TEST_F(Win32FileSystemTest, DeviceNamesAreRefusedAsFiles) {
    for (const Text& device : {Text(u"CON"), Text(u"NUL.001"), Text(u"COM1"), dir / u"nul.001",
                               Text(u"\\\\.\\NUL"), Text(u"\\\\?\\GLOBALROOT\\Device\\Null")}) {
        const std::string shown = toUtf8(device);
        EXPECT_EQ(errorNumberOf([&] { fs->openRead(device); }), 68) << shown;
        EXPECT_EQ(errorNumberOf([&] { fs->createFile(device); }), 68) << shown;
        EXPECT_EQ(errorNumberOf([&] { fs->createStaged(device); }), 68) << shown;
        EXPECT_FALSE(fs->fileExists(device)) << shown;
        EXPECT_TRUE(fs->folderExists(device)) << shown;
        EXPECT_TRUE(fs->isDeviceName(device)) << shown;
    }
    EXPECT_TRUE(sorted(fs->findFiles(dir / u"*")).empty());
}

TEST_F(Win32FileSystemTest, AFileHeldWithoutSharingIsAnAccessError) {
    const Text path = dir / u"held.avi";
    writeWholeFile(path, "x");
    const HANDLE holder =
        CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_READ | GENERIC_WRITE, 0,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(errorNumberOf([&] { fs->openRead(path); }), 75);
    EXPECT_EQ(errorNumberOf([&] { fs->createFile(path); }), 75);
    EXPECT_TRUE(fs->fileExists(path));  // looking is not opening
    EXPECT_TRUE(fs->sameFile(path, path));
    CloseHandle(holder);
    EXPECT_NO_THROW(fs->openRead(path));
}

TEST_F(Win32FileSystemTest, AReadOnlyFileIsProtected) {
    const Text path = dir / u"protected.avi";
    writeWholeFile(path, "keep");
    writeWholeFile(dir / u"new.avi", "new");
    test::setAttributes(path, FILE_ATTRIBUTE_READONLY);
    const int create = errorNumberOf([&] { fs->createFile(path); });
    if (create == 0 && test::runningUnderWine()) {
        FAIL() << "wine let a read-only file be written: as root its wine server must run "
                  "without CAP_DAC_OVERRIDE (tests/engine/wine_fixture.sh starts it so)";
    }
    EXPECT_EQ(create, 70);
    EXPECT_EQ(errorNumberOf([&] { fs->replaceFile(dir / u"new.avi", path); }), 70);
    EXPECT_EQ(readWholeFile(path), "keep");
    EXPECT_NO_THROW(fs->openRead(path));
}

TEST_F(Win32FileSystemTest, AFullDiskIsDiskFull) {
    TESSARK_REQUIRE_WINE_FIXTURE();
    auto out = fs->createFile(u"T:\\full.bin");
    EXPECT_EQ(errorNumberOf([&] { out->writeAt(0, bytesOf("no room for this")); }), 61);
}

// On a small file system a large write is first cut short, and only the
// write of the rest meets the full disk: a short write must never pass for a
// whole one.
TEST_F(Win32FileSystemTest, AWriteCutShortByAFullDiskIsDiskFull) {
    TESSARK_REQUIRE_WINE_FIXTURE();
    if (!fs->folderExists(u"S:")) {
        GTEST_SKIP() << "no small file system at S: (mounting one needs root)";
    }
    const std::string data(1 << 20, 'x');
    auto out = fs->createFile(u"S:\\big.bin");
    EXPECT_EQ(errorNumberOf([&] { out->writeAt(0, bytesOf(data)); }), 61);
    out.reset();
    const std::int64_t written = fs->fileLength(u"S:\\big.bin");
    EXPECT_GT(written, 0);  // the disk really took a part first
    EXPECT_LT(written, static_cast<std::int64_t>(data.size()));
    fs->removeFile(u"S:\\big.bin");
}

}  // namespace
}  // namespace tessark
