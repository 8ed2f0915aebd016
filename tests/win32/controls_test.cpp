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

// Input made during a run is dropped rather than acted on after it; only the
// requests to stop are kept, and other messages wait for the loop.
TEST_F(ControlsTest, TheStopListenerPaintsDropsTheUsersInputAndHearsStopRequests) {
    HWND edit = make(WC_EDITW, 0);
    HWND exitButton = make(WC_BUTTONW, BS_PUSHBUTTON);
    ShowWindow(host, SW_SHOW);
    test::pumpMessages();
    struct Case {
        UINT message;
        HWND to;
        WPARAM wParam;
        StopRequest heard;
    };
    const Case cases[] = {
        {WM_KEYDOWN, edit, 'A', StopRequest::None},
        {WM_LBUTTONDOWN, edit, MK_LBUTTON, StopRequest::None},
        {WM_KEYDOWN, edit, VK_ESCAPE, StopRequest::Stop},
        {WM_CLOSE, host, 0, StopRequest::StopAndEnd},
        {WM_SYSKEYDOWN, edit, VK_F4, StopRequest::StopAndEnd},
        {WM_LBUTTONUP, exitButton, 0, StopRequest::StopAndEnd},
        {WM_LBUTTONUP, edit, 0, StopRequest::None},
        {WM_NCLBUTTONDOWN, host, HTCLOSE, StopRequest::StopAndEnd},
    };
    Win32StopListener hook(host, exitButton);
    for (const Case& c : cases) {
        InvalidateRect(edit, nullptr, TRUE);
        PostMessageW(c.to, c.message, c.wParam, 1);
        PostMessageW(host, WM_COMMAND, IDOK, 0);
        hook.listen();
        EXPECT_EQ(hook.takeStopRequest(), c.heard) << c.message << " " << c.wParam;
        RECT pending;
        EXPECT_FALSE(GetUpdateRect(edit, &pending, FALSE));  // painted
        MSG message;
        EXPECT_FALSE(PeekMessageW(&message, nullptr, c.message, c.message, PM_NOREMOVE));
        EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    }
    EXPECT_TRUE(IsWindow(host));
    EXPECT_EQ(windowText(edit), u"");  // no key reached the box
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
