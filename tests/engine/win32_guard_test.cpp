// SPDX-License-Identifier: MIT
// On a real drive (under wine in CI): no name the split writes is ever its
// source, staged output replaces its target only when committed, names beyond
// MAX_PATH work, and errors carry the system's own words.
#include <windows.h>

#include <gtest/gtest.h>

#include "cli/error_text.h"
#include "engine/core/runtime_error.h"
#include "engine/platform/native_file_system.h"
#include "fake_window.h"
#include "forms/split_form.h"
#include "win32_test_drive.h"

namespace tessark {
namespace {

using test::readWholeFile;
using test::writeWholeFile;

const wchar_t* w(const Text& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::span<const std::byte> bytesOf(std::string_view text) {
    return std::as_bytes(std::span(text.data(), text.size()));
}

std::vector<Text> allIn(const Text& folder) {
    std::vector<Text> names;
    WIN32_FIND_DATAW entry{};
    const HANDLE find = FindFirstFileW(w(folder + u"\\*"), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const Text name(reinterpret_cast<const char16_t*>(entry.cFileName));
            if (name != u"." && name != u"..") {
                names.push_back(name);
            }
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    std::sort(names.begin(), names.end());
    return names;
}

class Win32Guard : public ::testing::Test {
  protected:
    test::ScratchFolder dir;
    std::unique_ptr<FileSystem> fs = makeNativeFileSystem();
};

TEST_F(Win32Guard, CreateFileRefusesEveryNameOfTheProtectedFile) {
    const Text source = dir / u"source.avi";
    writeWholeFile(source, "precious");
    const auto id = fs->fileId(source);
    ASSERT_TRUE(id.has_value());
    std::vector<Text> names = {source, dir / u"SOURCE.AVI", dir / u".\\source.avi"};
    if (CreateHardLinkW(w(dir / u"hard.avi"), w(source), nullptr)) {
        names.push_back(dir / u"hard.avi");
    } else {
        ADD_FAILURE() << "no hard link on this drive: " << GetLastError();
    }
    for (const Text& name : names) {
        try {
            fs->createFile(name, id);
            ADD_FAILURE() << toUtf8(name) << " was opened for writing";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), err::PermissionDenied) << toUtf8(name);
        }
        EXPECT_EQ(readWholeFile(source), "precious") << toUtf8(name);
    }
    writeWholeFile(dir / u"other.avi", "old");
    fs->createFile(dir / u"other.avi", id)->close();
    EXPECT_EQ(readWholeFile(dir / u"other.avi"), "");
}

TEST_F(Win32Guard, ASplitOntoAHardLinkOfItsSourceIsRefusedUntouched) {
    const Text source = dir / u"data.bin";
    const std::string bytes = test::sampleBytes(4600, 3);
    writeWholeFile(source, bytes);
    ASSERT_TRUE(CreateHardLinkW(w(dir / u"m.003"), w(source), nullptr)) << GetLastError();
    test::FakeWindow window;
    window.Text1.value = source;
    window.Text2.value = dir / u"m";
    window.Option1.isSelected = false;
    window.Text3.value = u"1";
    auto controls = window.controls();
    startSplit(controls, *fs);

    ASSERT_EQ(window.messages.shown.size(), 1u);
    EXPECT_EQ(window.messages.shown[0].prompt, u"指定的目标文件已经存在，请重新取名!");
    EXPECT_EQ(window.messages.shown[0].style, mb::Information);
    EXPECT_EQ(readWholeFile(source), bytes);
    EXPECT_EQ(allIn(dir.path()), (std::vector<Text>{u"data.bin", u"m.003"}));
}

TEST_F(Win32Guard, StagedContentTakesThePlaceOnlyWhenCommitted) {
    const Text target = dir / u"out.avi";
    writeWholeFile(target, "old");
    {
        auto staged = fs->createStaged(target);
        staged->writeAt(0, bytesOf("abandoned"));
    }
    EXPECT_EQ(readWholeFile(target), "old");
    EXPECT_EQ(allIn(dir.path()), std::vector<Text>{u"out.avi"});

    for (const Text& name : {target, dir / u"new.avi"}) {
        auto staged = fs->createStaged(name);
        staged->writeAt(0, bytesOf("joined"));
        staged->commit();
        EXPECT_EQ(readWholeFile(name), "joined");
    }
    EXPECT_EQ(allIn(dir.path()), (std::vector<Text>{u"new.avi", u"out.avi"}));
}

// A Windows symbolic link where the system makes one; under wine, whose links
// are the host's, the one the fixture made.
TEST_F(Win32Guard, StagingOntoASymbolicLinkReplacesWhatItLeadsTo) {
    Text link = dir / u"film.avi";
    Text real = dir / u"real\\film.avi";
    test::makeFolder(dir / u"real");
    writeWholeFile(real, "old");
    if (!CreateSymbolicLinkW(w(link), w(real), 0) ||
        GetFileAttributesW(w(link)) == INVALID_FILE_ATTRIBUTES) {
        TESSARK_REQUIRE_WINE_FIXTURE();
        link = u"L:\\film.avi";
        real = u"L:\\real\\film.avi";
        writeWholeFile(real, "old");
    }
    auto staged = fs->createStaged(link);
    staged->writeAt(0, bytesOf("joined"));
    staged->commit();
    EXPECT_EQ(readWholeFile(real), "joined");
    EXPECT_EQ(readWholeFile(link), "joined");
    EXPECT_EQ(fs->findFiles(folderPart(real, u'\\').value() + u"\\*"),
              std::vector<Text>{u"film.avi"});
}

// A folder chain longer than MAX_PATH, made and removed through "\\?\".
TEST_F(Win32Guard, NamesBeyondMaxPathWork) {
    Text folder = dir.path();
    std::vector<Text> folders;
    while (folder.size() < MAX_PATH + 40) {
        folder += u"\\" + Text(60, u'd');
        ASSERT_TRUE(CreateDirectoryW(w(u"\\\\?\\" + folder), nullptr)) << GetLastError();
        folders.push_back(folder);
    }
    const Text file = folder + u"\\长的名字.avi.001";
    {
        auto out = fs->createFile(file);
        out->writeAt(0, bytesOf("deep"));
        out->close();
    }
    EXPECT_TRUE(fs->fileExists(file));
    EXPECT_EQ(fs->fileLength(file), 4);
    EXPECT_EQ(fs->findFiles(folder + u"\\*.001"), std::vector<Text>{u"长的名字.avi.001"});
    auto staged = fs->createStaged(folder + u"\\joined.avi");
    staged->writeAt(0, bytesOf("deeper"));
    staged->commit();
    EXPECT_EQ(fs->fileLength(folder + u"\\joined.avi"), 6);
    EXPECT_TRUE(fs->sameFile(file, file));

    fs->removeFile(file);
    fs->removeFile(folder + u"\\joined.avi");
    EXPECT_FALSE(fs->fileExists(file));
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
        EXPECT_TRUE(RemoveDirectoryW(w(u"\\\\?\\" + *it))) << GetLastError();
    }
}

TEST_F(Win32Guard, ErrorsSayWhatFailedOnWhichFileAndTheSystemsReason) {
    const Text missing = dir / u"missing.avi";
    try {
        fs->openRead(missing);
        FAIL() << "a missing file was opened";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 53);
        EXPECT_EQ(e.path(), missing);
        EXPECT_EQ(e.systemCode().origin, SystemCode::Origin::Win32);
        EXPECT_EQ(e.systemCode().value, ERROR_FILE_NOT_FOUND);
        const std::string reason = cli::systemWords(e.systemCode());
        EXPECT_FALSE(reason.empty());
        EXPECT_EQ(cli::describe(e), "cannot open '" + toUtf8(missing) + "': " + reason);
        EXPECT_EQ(reason.find('\n'), std::string::npos);
    }
}

}  // namespace
}  // namespace tessark
