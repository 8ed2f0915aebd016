// SPDX-License-Identifier: MIT
// The three windows as built on Windows: their places, the keyboard order,
// Enter, and a split and a merge through the main window on a real drive, one
// of them rebuilding a damaged piece from the split's recovery data.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "box_answerer.h"
#include "engine/core/runtime_error.h"
#include "engine/platform/drives.h"
#include "engine/platform/native_file_system.h"
#include "fake_file_system.h"
#include "fake_window.h"
#include "forms/disk_error_report.h"
#include "win32/dpi.h"
#include "win32/form1.h"
#include "win32/form2.h"
#include "win32/frm_about.h"
#include "win32/win32_api.h"
#include "win32/win32_controls.h"
#include "win32/win32_text.h"
#include "win32_test_drive.h"
#include "window_test_support.h"

namespace tessark::win32 {
namespace {

using test::pumpMessages;

class StaticDrives : public DriveSource {
  public:
    explicit StaticDrives(std::vector<Text> drives) : drives_(std::move(drives)) {}
    std::vector<Text> drives() override { return drives_; }

  private:
    std::vector<Text> drives_;
};

// A main window per test, shown, with an open-file dialog that picks from a
// script and the program's end and web site recorded.
class Form2Test : public ::testing::Test {
  protected:
    void SetUp() override {
        Form2Services services;
        services.dialog = &dialog;
        services.openWebSite = [this] { ++webSiteOpenings; };
        services.endProgram = [this] { ++ends; };
        form = std::make_unique<Form2>(std::move(services));
        ShowWindow(form->handle(), SW_SHOW);
        SetForegroundWindow(form->handle());
        pumpMessages();
    }
    void TearDown() override {
        form.reset();
        pumpMessages();
    }

    HWND control(const char* name) { return form->control(name); }
    void click(const char* name) {
        SendMessageW(control(name), BM_CLICK, 0, 0);
        pumpMessages();
    }
    Text textOf(const char* name) { return windowText(control(name)); }

    test::BoxAnswerer boxes;
    test::FakeCommonDialog dialog;
    int webSiteOpenings = 0;
    int ends = 0;
    std::unique_ptr<Form2> form;
};

struct Place {
    const char* window;
    const char* control;  // empty: the window's client area
    design::Rect twips;
};

// The windows' places in twips, inside their containers.
const Place kPlaces[] = {
    {"Form2", "", {0, 0, 7935, 7680}},
    {"Form2", "Frame4", {120, 240, 7695, 2895}},
    {"Form2", "Frame5", {120, 360, 5655, 2415}},
    {"Form2", "Text1", {120, 720, 4935, 390}},
    {"Form2", "Command1", {5160, 720, 375, 375}},
    {"Form2", "Text2", {120, 1920, 4935, 375}},
    {"Form2", "Frame6", {5880, 360, 1695, 1455}},
    {"Form2", "Option2", {360, 720, 855, 255}},
    {"Form2", "Text3", {480, 1080, 855, 270}},
    {"Form2", "Command3", {5880, 1920, 1695, 855}},
    {"Form2", "ProgressBar1", {2520, 1560, 2700, 355}},
    {"Form2", "Frame1", {120, 3480, 7695, 3255}},
    {"Form2", "Text4", {120, 360, 6735, 390}},
    {"Form2", "List1", {120, 960, 4935, 1680}},
    {"Form2", "Frame3", {5160, 840, 2175, 1815}},
    {"Form2", "Command9", {120, 480, 375, 375}},
    {"Form2", "Command6", {1080, 240, 975, 1335}},
    {"Form2", "WebBrowser1", {120, 6840, 3855, 375}},
    {"Form2", "Command13", {6600, 6840, 1095, 375}},
    {"Form1", "", {0, 0, 5190, 3765}},
    {"Form1", "Dir1", {240, 720, 4695, 2400}},
    {"Form1", "Command2", {3840, 3240, 1095, 375}},
    {"frmAbout", "", {0, 0, 6450, 3195}},
    {"frmAbout", "cmdOK", {4200, 2640, 1500, 345}},
};

TEST_F(Form2Test, TheWindowsStandWhereTheirTwipsSay) {
    test::FakeWindow fakes;
    auto fs = makeNativeFileSystem();
    StaticDrives drives({u"C:\\"});
    Form1 picker(nullptr, *fs, drives, fakes.messages, fakes.Text2, fakes.Text4);
    AboutWindow about(nullptr);
    const auto windowNamed = [&](const std::string& name) {
        return name == "Form2"   ? form->handle()
               : name == "Form1" ? picker.handle()
                                 : about.handle();
    };
    // At the system's scale, then moved to screens of other scales (the
    // system suggests where the window goes) and back.
    for (const int dpi : {screenDpi(), 144, 120, 192, 96}) {
        for (HWND window : {form->handle(), picker.handle(), about.handle()}) {
            if (dpi != BuiltWindow::of(window)->dpi()) {
                const RECT suggested{dpi, dpi / 2, dpi * 5, dpi * 4};
                SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                             reinterpret_cast<LPARAM>(&suggested));
                RECT outer;
                GetWindowRect(window, &outer);
                EXPECT_EQ(outer.left, dpi);
                EXPECT_EQ(outer.top, dpi / 2);
            }
        }
        for (const Place& place : kPlaces) {
            SCOPED_TRACE(std::string(place.window) + " " + place.control + " at " +
                         std::to_string(dpi));
            HWND window = windowNamed(place.window);
            HWND shown = *place.control ? BuiltWindow::of(window)->control(place.control) : nullptr;
            design::Rect actual{};
            if (shown != nullptr) {
                actual = test::pixelPlace(shown);
            } else {
                ASSERT_EQ(*place.control, '\0') << "no such control";
                RECT client;
                GetClientRect(window, &client);
                actual = {0, 0, client.right, client.bottom};
            }
            EXPECT_EQ(actual, test::pixelsOf(place.twips, dpi));
        }
        // The fonts and the pictures of that scale.
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control("Text1"), WM_GETFONT, 0, 0)),
                   sizeof(font), &font);
        EXPECT_EQ(font.lfHeight, -design::toPixels(225, dpi)) << dpi;  // 11.25 points
        ICONINFO picture{};
        ASSERT_TRUE(GetIconInfo(
            reinterpret_cast<HICON>(SendMessageW(control("Command1"), BM_GETIMAGE, IMAGE_ICON, 0)),
            &picture));
        BITMAP mask{};
        GetObjectW(picture.hbmMask, sizeof(mask), &mask);
        DeleteObject(picture.hbmMask);
        DeleteObject(picture.hbmColor);
        EXPECT_EQ(mask.bmWidth, MulDiv(16, dpi, 96)) << dpi;
        // Every status panel's text, the clock's too, whole in the bar's font.
        form->controller().Timer1_Timer();
        HWND bar = control("StatusBar1");
        HDC dc = GetDC(bar);
        HGDIOBJ before =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(bar, WM_GETFONT, 0, 0)));
        for (int panel = 1; panel <= 5; ++panel) {
            const Text text = form->statusBar().panelText(panel);
            SIZE size{};
            GetTextExtentPoint32W(dc, wide(text), static_cast<int>(text.size()), &size);
            RECT part{};
            SendMessageW(bar, SB_GETRECT, panel - 1, reinterpret_cast<LPARAM>(&part));
            EXPECT_LE(size.cx, part.right - part.left - 2 * GetSystemMetrics(SM_CXEDGE))
                << toUtf8(text) << " at " << dpi;
        }
        SelectObject(dc, before);
        ReleaseDC(bar, dc);
    }
    EXPECT_EQ(windowText(form->handle()),
              u"Quorin文件分割机 Tessark V3.5          作者QQ：80012345");
}

TEST_F(Form2Test, TheWindowOpensAsDesigned) {
    EXPECT_EQ(test::focusedName(form->handle()), "Text1");
    EXPECT_EQ(SendMessageW(control("Option1"), BM_GETCHECK, 0, 0), BST_CHECKED);
    for (const char* hidden : {"Text3", "Label1", "ProgressBar1"}) {
        EXPECT_FALSE(IsWindowVisible(control(hidden))) << hidden;
    }
    EXPECT_FALSE(IsWindowEnabled(control("Text3")));
    const LONG_PTR style = GetWindowLongPtrW(form->handle(), GWL_STYLE);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_EQ(form->statusBar().panelText(1), u"欢迎使用Quorin文件分割机");
    EXPECT_EQ(form->statusBar().panelText(5), u"");  // until the clock's first tick
    // The panels' widths, left to right, in twips.
    int edges[5] = {};
    ASSERT_EQ(SendMessageW(control("StatusBar1"), SB_GETPARTS, 5, reinterpret_cast<LPARAM>(edges)),
              5);
    int right = 0;
    const int widths[] = {2150, 2350, 1300, 1100, 1000};
    for (int i = 0; i < 5; ++i) {
        right += test::pixelsOf({0, 0, widths[i], 0}).width;
        EXPECT_NEAR(edges[i], right, 2) << "panel " << i + 1;
    }
}

TEST_F(Form2Test, EachClockTickWritesTheTimeIntoPanelFive) {
    const auto now = [] {
        wchar_t time[64];
        const int length = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, time, 64);
        return length > 0 ? fromWide(time, static_cast<std::size_t>(length - 1)) : Text();
    };
    const Text before = now();
    SendMessageW(form->handle(), WM_TIMER, 1, 0);
    const Text shown = form->statusBar().panelText(5);
    EXPECT_TRUE(shown == before || shown == now()) << std::string(shown.begin(), shown.end());
    EXPECT_FALSE(shown.empty());
}

TEST_F(Form2Test, TabFollowsTheKeyboardOrderAndSkipsWhatIsHiddenOrUnselected) {
    const auto tabRound = [&] {
        std::vector<std::string> order{test::focusedName(form->handle())};
        for (int i = 0; i < 20; ++i) {
            test::pressKey(VK_TAB);
            order.push_back(test::focusedName(form->handle()));
            if (order.back() == order.front()) {
                break;
            }
        }
        return order;
    };
    const std::vector<std::string> atStart = {
        "Text1",    "Command1",  "Text2",    "Command2",  "Option1",   "Command3",
        "Text4",    "Command10", "List1",    "Command4",  "Command5",  "Command6",
        "Command7", "Command8",  "Command9", "Command12", "Command13", "Text1"};
    EXPECT_EQ(tabRound(), atStart);

    click("Option2");  // the custom size: its box joins, the group's stop moves
    EXPECT_EQ(test::focusedName(form->handle()), "Text3");
    std::vector<std::string> custom = tabRound();
    ASSERT_GE(custom.size(), 3u);
    EXPECT_EQ(custom[1], "Command3");
    EXPECT_EQ(std::count(custom.begin(), custom.end(), "Option2"), 1);
    EXPECT_EQ(std::count(custom.begin(), custom.end(), "Option1"), 0);
}

struct EnterCase {
    const char* focus;
    Text firstMessage;  // what the action behind Enter says first with empty boxes
};

TEST_F(Form2Test, EnterInEachBoxStartsItsAction) {
    const EnterCase cases[] = {
        {"Text1", u"没有指定源文件!"},
        {"Text2", u"没有指定源文件!"},
        {"Option1", u"没有指定源文件!"},
        {"Command3", u"没有指定源文件!"},
        {"Text4", u"没有指定合并后的文件名!"},
        {"List1", u"没有指定合并后的文件名!"},
        {"Command6", u"没有指定合并后的文件名!"},
    };
    for (const EnterCase& c : cases) {
        SCOPED_TRACE(c.focus);
        boxes.seen.clear();
        SetFocus(control(c.focus));
        test::pressKey(VK_RETURN);
        ASSERT_EQ(boxes.seen.size(), 1u);
        EXPECT_EQ(boxes.seen.front().text, c.firstMessage);
    }
    // Enter on About hides the main window behind the About window.
    SetFocus(control("Command12"));
    test::pressKey(VK_RETURN);
    EXPECT_FALSE(IsWindowVisible(form->handle()));
    ASSERT_NE(form->about(), nullptr);
    EXPECT_TRUE(IsWindowVisible(form->about()->handle()));
    EXPECT_EQ(webSiteOpenings, 0);
    // and Enter there (OK, the default button) brings it back.
    test::pressKey(VK_RETURN);
    EXPECT_TRUE(IsWindowVisible(form->handle()));
    EXPECT_FALSE(form->about()->isOpen());
}

TEST_F(Form2Test, APanelClickShowsAboutAndOpensTheWebSiteAndExitEnds) {
    NMMOUSE clickOn{};
    clickOn.hdr = {control("StatusBar1"),
                   static_cast<UINT_PTR>(GetDlgCtrlID(control("StatusBar1"))),
                   static_cast<UINT>(NM_CLICK)};
    clickOn.dwItemSpec = 4;  // the clock's panel
    SendMessageW(form->handle(), WM_NOTIFY, clickOn.hdr.idFrom, reinterpret_cast<LPARAM>(&clickOn));
    EXPECT_FALSE(IsWindowVisible(form->handle()));
    EXPECT_EQ(webSiteOpenings, 1);
    EXPECT_EQ(ends, 0);
    click("Command13");
    EXPECT_EQ(ends, 1);
    SendMessageW(form->handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(ends, 2);
    EXPECT_TRUE(boxes.seen.empty());  // no question on the way out
}

TEST_F(Form2Test, SplitAndMergeThroughTheWindowAndLinkBatJoinsThePiecesAgain) {
    TESSARK_REQUIRE_WINE_FIXTURE();
    test::ScratchFolder dir;
    const std::string bytes = test::sampleBytes(3 * 1447035 + 1000, 7);
    const Text source = dir / u"影片.avi";
    test::writeWholeFile(source, bytes);

    dialog.picks = {source};
    click("Command1");
    EXPECT_EQ(textOf("Text1"), source);
    EXPECT_EQ(textOf("Text2"), dir / u"影片$.avi");
    click("Command3");
    ASSERT_EQ(boxes.seen.size(), 2u);
    EXPECT_EQ(boxes.seen[0].icon, test::BoxIcon::None);  // style 4: Yes and No
    EXPECT_EQ(boxes.seen[1].icon, test::BoxIcon::Information);
    EXPECT_EQ(SendMessageW(control("List1"), LB_GETCOUNT, 0, 0), 4);
    EXPECT_FALSE(IsWindowVisible(control("ProgressBar1")));
    EXPECT_EQ(textOf("Text4"), dir / u"影片(1).avi");
    EXPECT_EQ(test::readWholeFile(dir / u"影片$.avi.004"), bytes.substr(3 * 1447035));

    click("Command6");
    EXPECT_EQ(test::readWholeFile(dir / u"影片(1).avi"), bytes);
    ASSERT_EQ(boxes.seen.size(), 4u);  // the set was checked against its checksum file
    EXPECT_TRUE(test::readWholeFile(dir / u"影片$.avi.sha256").ends_with("  影片(1).avi\n"));

    // The script rejoins the pieces by itself, in the system's code page.
    ASSERT_TRUE(DeleteFileW(wide(dir / u"影片(1).avi")));
    EXPECT_EQ(test::runCommandProcessor(dir.path(), u"Link.bat"), 0u);
    EXPECT_EQ(test::readWholeFile(dir / u"影片(1).avi"), bytes);
}

TEST_F(Form2Test, AMergeRebuildsADamagedPieceFromTheSplitsRecoveryData) {
    TESSARK_REQUIRE_WINE_FIXTURE();
    test::ScratchFolder dir;
    const std::string bytes = test::sampleBytes(3 * 1447035 + 1000, 11);
    const Text source = dir / u"影片.avi";
    test::writeWholeFile(source, bytes);
    dialog.picks = {source};
    click("Command1");
    click("Command3");
    ASSERT_EQ(boxes.seen.size(), 2u);
    EXPECT_FALSE(test::readWholeFile(dir / u"影片$.avi.vol0+1.par2").empty());

    std::string damaged = test::readWholeFile(dir / u"影片$.avi.002");
    damaged[12345] = static_cast<char>(damaged[12345] ^ 0x20);
    test::writeWholeFile(dir / u"影片$.avi.002", damaged);
    click("Command6");
    const auto asked = std::find_if(boxes.seen.begin(), boxes.seen.end(), [](const auto& box) {
        return box.text == u"文件 影片$.avi.002 已损坏，可以用恢复数据修复。是否修复后合并？";
    });
    ASSERT_NE(asked, boxes.seen.end());
    EXPECT_EQ(asked->icon, test::BoxIcon::Question);
    EXPECT_EQ(asked->pressed, IDYES);
    EXPECT_EQ(boxes.seen.back().text,
              dir / u"影片(1).avi合并完成!\r已用恢复数据重建 影片$.avi.002。");
    EXPECT_EQ(test::readWholeFile(dir / u"影片(1).avi"), bytes);
    EXPECT_EQ(test::readWholeFile(dir / u"影片$.avi.002"), damaged);
}

// A split or a merge on files that wait a little at each chunk, so that the
// window repaints (and hears the request) before the job ends. The request
// is posted as the first chunk begins and answered Yes.
TEST(Form2StopTest, AClosePostedDuringASplitAndEscDuringAMergeStopThem) {
    struct Case {
        bool split;
        bool close;  // WM_CLOSE to the window, or Esc to a box
    };
    for (const Case c : {Case{true, true}, Case{false, false}}) {
        SCOPED_TRACE(c.split ? "split" : "merge");
        test::FakeFileSystem files(u'\\');
        files.addFile(u"C:\\in.bin", std::string(40 * 1024, 's'));
        files.addFolder(u"C:\\out");
        files.addFile(u"C:\\out\\j.bin", "old");
        test::BoxAnswerer boxes;
        int ends = 0;
        Form2Services services;
        services.fileSystem = &files;
        services.endProgram = [&] { ++ends; };
        Form2 form(std::move(services));
        ShowWindow(form.handle(), SW_SHOW);
        pumpMessages();
        const auto setText = [&](const char* name, const wchar_t* text) {
            SetWindowTextW(form.control(name), text);
        };
        setText("Text1", L"C:\\in.bin");
        setText("Text2", L"C:\\out\\m");
        setText("Text4", L"C:\\out\\j.bin");
        SendMessageW(form.control("Option2"), BM_CLICK, 0, 0);
        setText("Text3", L"1");
        HWND list = form.control("List1");
        for (int i = 0; i < 2; ++i) {
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"C:\\in.bin"));
        }
        pumpMessages();

        bool posted = false;
        files.chunk = 256;
        files.beforeTransfer = [&] {
            if (!std::exchange(posted, true)) {
                if (c.close) {
                    PostMessageW(form.handle(), WM_CLOSE, 0, 0);
                } else {
                    PostMessageW(form.control("Text1"), WM_KEYDOWN, VK_ESCAPE, 1);
                }
            }
            Sleep(2);
        };
        SendMessageW(form.control(c.split ? "Command3" : "Command6"), BM_CLICK, 0, 0);

        ASSERT_TRUE(posted);
        ASSERT_GE(boxes.seen.size(), 3u);
        const test::SeenBox& question = boxes.seen[boxes.seen.size() - 2];
        EXPECT_EQ(question.text, c.split ? u"确定要停止分割吗？" : u"确定要停止合并吗？");
        EXPECT_EQ(question.title, u"文件分割机");
        EXPECT_EQ(question.icon, test::BoxIcon::Question);
        EXPECT_EQ(question.defaultButton, IDNO);
        EXPECT_EQ(boxes.seen.back().text, c.split ? u"分割已停止。" : u"合并已停止。");
        EXPECT_EQ(boxes.seen.back().icon, test::BoxIcon::Information);
        EXPECT_EQ(files.allFiles(), (std::vector<Text>{u"C:\\in.bin", u"C:\\out\\j.bin"}));
        EXPECT_EQ(*files.contents(u"C:\\out\\j.bin"), "old");
        EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(windowText(form.control("Text4")), u"C:\\out\\j.bin");
        EXPECT_FALSE(IsWindowVisible(form.control("ProgressBar1")));
        EXPECT_EQ(ends, c.close ? 1 : 0);
    }
}

TEST(Form1Test, AMissingDriveLeavesThePickerAtItsFolderAndOkWritesThatFolder) {
    TESSARK_REQUIRE_WINE_FIXTURE();
    test::FakeWindow fakes;
    auto fs = makeNativeFileSystem();
    StaticDrives drives({u"C:\\", u"Q:\\"});  // no Q: in the test prefix
    Form1 picker(nullptr, *fs, drives, fakes.messages, fakes.Text2, fakes.Text4);
    const Text before = picker.path();
    ASSERT_FALSE(before.empty());

    HWND drive1 = picker.control("Drive1");
    SendMessageW(drive1, CB_SETCURSEL, 1, 0);
    SendMessageW(picker.handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(drive1), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(drive1));
    EXPECT_EQ(picker.path(), before);
    EXPECT_EQ(windowText(picker.control("Label1")), before);
    EXPECT_EQ(SendMessageW(drive1, CB_GETCURSEL, 0, 0), 1);  // the drive that failed stays
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].style, mb::Critical);
    EXPECT_EQ(fakes.messages.shown[0].prompt,
              diskErrorMessage(err::DeviceUnavailable, ErrorTable::WithoutNotFound));

    SendMessageW(drive1, CB_SETCURSEL, 0, 0);  // C: opens at its root
    SendMessageW(picker.handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(drive1), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(drive1));
    EXPECT_EQ(picker.path(), u"C:\\");
    SendMessageW(picker.control("Command1"), BM_CLICK, 0, 0);
    EXPECT_EQ(fakes.Text2.value, u"C:\\\\");
    EXPECT_EQ(fakes.Text4.value, u"C:\\\\");
}

}  // namespace
}  // namespace tessark::win32

namespace tessark::win32 {
namespace {

TEST(Form1Test, EscCancelsAndEnterOnTheOpenFolderIsOk) {
    test::FakeWindow fakes;
    fakes.Text2.value = u"C:\\data\\movie$.avi";
    auto fs = makeNativeFileSystem();
    StaticDrives drives({u"C:\\"});
    Form1 picker(nullptr, *fs, drives, fakes.messages, fakes.Text2, fakes.Text4);
    HWND dir1 = picker.control("Dir1");
    // Keys waiting for the picker's own modal loop, which gives Dir1 the focus.
    const auto showAndPress = [&](WPARAM key) {
        PostMessageW(dir1, WM_KEYDOWN, key, 1);
        picker.showModal();
        EXPECT_FALSE(IsWindowVisible(picker.handle())) << key;
    };
    showAndPress(VK_ESCAPE);
    EXPECT_EQ(fakes.Text2.value, u"C:\\data\\movie$.avi");
    showAndPress(VK_RETURN);
    EXPECT_EQ(fakes.Text2.value, picker.path() + u"\\");
    EXPECT_EQ(fakes.Text4.value, picker.path() + u"\\");
}

}  // namespace
}  // namespace tessark::win32
