// SPDX-License-Identifier: MIT
// The engine's control interfaces over real Win32 controls: what the split
// and the merge rely on when they write into the window.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "win32/win32_api.h"
#include "win32/win32_controls.h"
#include "win32/win32_text.h"
#include "window_test_support.h"

namespace tessark::win32 {
namespace {

// A hidden top-level window holding the controls of one test.
class ControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host = CreateWindowExW(0, WC_STATICW, L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(host, nullptr);
    }
    void TearDown() override { DestroyWindow(host); }

    HWND make(const wchar_t* windowClass, DWORD style) {
        return CreateWindowExW(0, windowClass, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 100,
                               host, nullptr, GetModuleHandleW(nullptr), nullptr);
    }

    HWND host = nullptr;
};

TEST_F(ControlsTest, TheListKeepsOrderAndSelectionAndRunsItsClickForProgramSelections) {
    int clicks = 0;
    Win32ListBox list(make(WC_LISTBOXW, LBS_NOTIFY), nullptr, [&] { ++clicks; });
    list.addItems({u"C:\\a.001", u"C:\\a.002", u"C:\\a.003"});
    list.addItem(u"C:\\a.004");
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.item(3), u"C:\\a.004");
    EXPECT_EQ(list.selectedIndex(), -1);

    list.setSelectedIndex(1);
    EXPECT_EQ(clicks, 1);
    list.setItem(1, u"C:\\b.002");  // a move rewrites an entry in place
    EXPECT_EQ(list.item(1), u"C:\\b.002");
    EXPECT_EQ(list.selectedIndex(), 1);
    EXPECT_EQ(list.count(), 4);

    list.removeItem(0);
    EXPECT_EQ(list.item(0), u"C:\\b.002");
    for (std::int64_t outside : {-1, 3, 100}) {
        EXPECT_EQ(list.item(outside), u"") << outside;
    }
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.selectedIndex(), -1);
}

TEST_F(ControlsTest, ProgressValuesOutsideTheControlsRangeAreClamped) {
    HWND bar = make(PROGRESS_CLASSW, 0);
    Win32ProgressBar progress(bar);
    struct Case {
        double maximum, value;
        int high, position;
    };
    const Case cases[] = {
        {10, 2.7, 10, 2},
        {5e9, 4e9, INT_MAX, INT_MAX},  // a 4 GB file's bytes
        {0, -3, 0, 0},
    };
    for (const Case& c : cases) {
        progress.setMaximum(c.maximum);
        progress.setValue(c.value);
        EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), c.high) << c.maximum;
        EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), c.position) << c.value;
    }
}

TEST_F(ControlsTest, TheRepaintHookPaintsButLeavesTheUsersInputQueued) {
    HWND edit = make(WC_EDITW, 0);
    ShowWindow(host, SW_SHOW);
    test::pumpMessages();
    InvalidateRect(edit, nullptr, TRUE);
    PostMessageW(edit, WM_KEYDOWN, 'A', 1);
    PostMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageW(host, WM_COMMAND, IDOK, 0);

    Win32RepaintHook(host).repaint();

    RECT pending;
    EXPECT_FALSE(GetUpdateRect(edit, &pending, FALSE));  // painted
    MSG message;
    for (UINT kind : {static_cast<UINT>(WM_KEYDOWN), static_cast<UINT>(WM_LBUTTONDOWN),
                      static_cast<UINT>(WM_COMMAND)}) {
        EXPECT_TRUE(PeekMessageW(&message, nullptr, kind, kind, PM_NOREMOVE)) << kind;
    }
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_EQ(windowText(edit), u"");  // the key never reached the box
}

TEST_F(ControlsTest, TheAutoSizingLabelTakesItsCaptionsWidth) {
    HWND label = make(WC_STATICW, SS_LEFT);
    Win32Label sized(label, true);
    sized.setCaption(u"文件大小：1 KB");
    RECT narrow;
    GetWindowRect(label, &narrow);
    sized.setCaption(u"文件大小：1234567 KB");
    RECT wide;
    GetWindowRect(label, &wide);
    EXPECT_GT(wide.right - wide.left, narrow.right - narrow.left);
    EXPECT_EQ(windowText(label), u"文件大小：1234567 KB");
}

}  // namespace
}  // namespace tessark::win32
