// SPDX-License-Identifier: MIT
// Files handed to the Windows main window: the command line split and made
// absolute by the system's rules, and drops posted as a file manager posts
// them.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "box_answerer.h"
#include "engine/platform/native_file_system.h"
#include "fake_file_system.h"
#include "fake_window.h"
#include "win32/file_drops.h"
#include "win32/form2.h"
#include "win32/win32_text.h"
#include "win32_test_drive.h"
#include "window_test_support.h"

namespace tessark::win32 {
namespace {

using test::pumpMessages;

Text currentFolder() {
    wchar_t here[MAX_PATH * 4];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH * 4, here);
    return fromWide(here, length);
}

struct CommandLineCase {
    const wchar_t* line;
    std::vector<Text> files;  // "~" at the start: the current folder
};

TEST(CommandLineFilesTest, SplitByTheSystemsRulesAndMadeAbsolute) {
    const CommandLineCase kCases[] = {
        {L"tessark.exe", {}},
        {L"\"C:\\Program Files\\Tessark\\tessark.exe\" \"C:\\a b\\m$.avi.001\" C:\\c.txt",
         {u"C:\\a b\\m$.avi.001", u"C:\\c.txt"}},
        {L"tessark.exe \\\\?\\C:\\lp\\..\\src.bin", {u"\\\\?\\C:\\lp\\..\\src.bin"}},
        {L"tessark.exe \"影片 ü.avi\" C:/d/../e/f.txt", {u"~\\影片 ü.avi", u"C:\\e\\f.txt"}},
        {L"tessark.exe \"\" x.001", {u"~\\x.001"}},
    };
    const Text here = currentFolder();
    for (const auto& c : kCases) {
        std::vector<Text> expected;
        for (const Text& file : c.files) {
            expected.push_back(file.starts_with(u"~") ? here + file.substr(1) : file);
        }
        EXPECT_EQ(commandLineFiles(c.line), expected) << toUtf8(fromWide(c.line, wcslen(c.line)));
    }
}

// A drop block as a file manager posts it: the point, then the names, each
// ended by a NUL, and one more NUL.
HDROP dropBlock(POINT at, const std::vector<Text>& files) {
    std::wstring names;
    for (const Text& file : files) {
        names += wide(file);
        names += L'\0';
    }
    names += L'\0';
    const std::size_t bytes = names.size() * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->pt = at;
    header->fNC = FALSE;
    header->fWide = TRUE;
    std::memcpy(header + 1, names.data(), bytes);
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

const Text kLongName = Text(260, u'n') + u".bin";

class DropTest : public ::testing::Test {
  protected:
    void SetUp() override {
        files.addFolder(u"C:\\d\\sub");
        for (const char16_t* name : {u"a.txt", u"b.txt", u"x.9", u"x.10", u"m.001", u"m.002",
                                     u"m.003", kLongName.c_str()}) {
            files.addFile(Text(u"C:\\d\\") + name, "");
        }
        Form2Services services;
        services.fileSystem = &files;
        services.dialog = &dialog;
        services.endProgram = [] {};
        form = std::make_unique<Form2>(std::move(services));
        ShowWindow(form->handle(), SW_SHOW);
        pumpMessages();
    }
    void TearDown() override {
        form.reset();
        pumpMessages();
    }

    // Posts a drop of files of C:\d at the middle of control `over`.
    void drop(const char* over, const std::vector<Text>& names) {
        RECT place;
        GetWindowRect(form->control(over), &place);
        MapWindowPoints(nullptr, form->handle(), reinterpret_cast<POINT*>(&place), 2);
        std::vector<Text> paths;
        for (const Text& name : names) {
            paths.push_back(u"C:\\d\\" + name);
        }
        const POINT middle{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
        PostMessageW(form->handle(), WM_DROPFILES,
                     reinterpret_cast<WPARAM>(dropBlock(middle, paths)), 0);
    }

    // The boxes and the list that are not empty, and every box shown.
    std::string state() {
        std::string parts;
        const auto add = [&parts](const std::string& part) {
            parts += (parts.empty() ? "" : " | ") + part;
        };
        for (const char* name : {"Text1", "Label2", "Text4"}) {
            const Text text = windowText(form->control(name));
            if (!text.empty()) {
                add(std::string(name) + "=" + toUtf8(text));
            }
        }
        HWND list = form->control("List1");
        const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring item(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)),
                              L'\0');
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
            add("List1=" + toUtf8(fromWide(item.data(), item.size())));
        }
        for (const auto& box : boxes.seen) {
            add("box " + toUtf8(box.text));
        }
        return parts;
    }

    test::BoxAnswerer boxes;
    test::FakeCommonDialog dialog;
    test::FakeFileSystem files;
    std::unique_ptr<Form2> form;
};

struct DropCase {
    const char* name;
    const char* over;
    std::vector<Text> files;
    std::string state;
};

TEST_F(DropTest, EachAreaTakesWhatItsBrowseButtonWould) {
    const std::string b = "Text1=C:\\d\\b.txt | Label2=文件大小：0 KB";
    const DropCase kCases[] = {
        {"source on Text1", "Text1", {u"b.txt"}, b},
        {"source on the options", "Frame6", {u"b.txt"}, b},
        {"a name past MAX_PATH",
         "Text2",
         {kLongName},
         "Text1=C:\\d\\" + toUtf8(kLongName) + " | Label2=文件大小：0 KB"},
        {"two sources", "Text2", {u"b.txt", u"a.txt"}, ""},
        {"folder as source", "Text1", {u"sub"}, ""},
        {"missing source", "Text1", {u"gone.avi"}, ""},
        {"pieces by number",
         "List1",
         {u"x.10", u"b.txt", u"x.9"},
         "List1=C:\\d\\x.9 | List1=C:\\d\\x.10 | List1=C:\\d\\b.txt"},
        {"whole set on Text4",
         "Text4",
         {u"m.003", u"m.001", u"m.002"},
         "Text4=C:\\d\\m | List1=C:\\d\\m.001 | List1=C:\\d\\m.002 | List1=C:\\d\\m.003"},
        {"piece and folder", "Frame3", {u"m.002", u"sub"}, ""},
        {"outside the areas", "Command13", {u"m.001"}, ""},
    };
    for (const DropCase& c : kCases) {
        SCOPED_TRACE(c.name);
        TearDown();
        boxes.seen.clear();
        SetUp();
        drop(c.over, c.files);
        pumpMessages();
        EXPECT_EQ(state(), c.state);
    }
}

// A drop that arrives while a box waits for its answer is not taken: the
// box's own loop hands it to the disabled window.
TEST_F(DropTest, RefusedWhileABoxIsUp) {
    drop("Text1", {u"b.txt"});
    SendMessageW(form->control("Command3"), BM_CLICK, 0, 0);  // no source: a box
    pumpMessages();
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(windowText(form->control("Text1")), u"");
    drop("Text1", {u"b.txt"});
    pumpMessages();
    EXPECT_EQ(windowText(form->control("Text1")), u"C:\\d\\b.txt");
}

// A name past MAX_PATH on a real drive, typed without the "\\?\" prefix.
TEST(OpenFilesTest, ALongNameFromTheCommandLineBecomesTheSource) {
    TESSARK_REQUIRE_WINE_FIXTURE();
    test::BoxAnswerer boxes;
    test::ScratchFolder dir;
    const Text folder = dir / Text(200, u'f');
    test::makeFolder(u"\\\\?\\" + folder);
    const Text source = folder + u"\\" + Text(100, u's') + u".bin";
    test::writeWholeFile(u"\\\\?\\" + source, std::string(3000, 'x'));
    Form2Services services;
    services.endProgram = [] {};
    Form2 form(std::move(services));
    form.openFiles(commandLineFiles(wide(u"tessark.exe \"" + source + u"\"")));
    EXPECT_EQ(windowText(form.control("Text1")), source);
    EXPECT_EQ(windowText(form.control("Label2")), u"文件大小：2 KB");
    EXPECT_TRUE(boxes.seen.empty());
}

}  // namespace
}  // namespace tessark::win32
