// SPDX-License-Identifier: MIT
// The real message box: the program's style numbers are the system's, so each
// style shows its icon, its buttons and its default, and the button pressed
// comes back as the program's answer.
#include <gtest/gtest.h>

#include "box_answerer.h"
#include "win32/win32_api.h"
#include "win32/win32_controls.h"

namespace tessark::win32 {
namespace {

using test::BoxIcon;

struct StyleCase {
    int style;
    int press;
    BoxIcon icon;
    std::vector<int> buttons;
    int defaultButton;
    int answer;
};

TEST(Win32MessageBoxTest, StylesShowTheirIconButtonsAndDefaultAndReturnTheButtonPressed) {
    const StyleCase cases[] = {
        {mb::Information, IDOK, BoxIcon::Information, {IDOK}, IDOK, mb::Ok},
        {mb::Exclamation, IDOK, BoxIcon::Exclamation, {IDOK}, IDOK, mb::Ok},
        {mb::Critical, IDOK, BoxIcon::Stop, {IDOK}, IDOK, mb::Ok},
        {mb::YesNo, IDNO, BoxIcon::None, {IDYES, IDNO}, IDYES, mb::No},
        {mb::Question | mb::YesNo, IDYES, BoxIcon::Question, {IDYES, IDNO}, IDYES, mb::Yes},
        {mb::Question | mb::YesNo | mb::DefaultButton2,
         IDNO,
         BoxIcon::Question,
         {IDYES, IDNO},
         IDNO,
         mb::No},
        {mb::Question | mb::YesNo | mb::DefaultButton2,
         IDYES,
         BoxIcon::Question,
         {IDYES, IDNO},
         IDNO,
         mb::Yes},
    };
    for (const StyleCase& c : cases) {
        SCOPED_TRACE(c.style);
        test::BoxAnswerer answerer;
        answerer.answers = {c.press};
        Win32MessageBox box(nullptr);
        EXPECT_EQ(box.show(u"第一行\r第二行 C:\\a.txt", c.style), c.answer);
        ASSERT_EQ(answerer.seen.size(), 1u);
        const test::SeenBox& seen = answerer.seen.front();
        EXPECT_EQ(seen.text, u"第一行\r第二行 C:\\a.txt");  // the CR stays a CR
        EXPECT_EQ(seen.title, u"文件分割机");               // the program's title by default
        EXPECT_EQ(seen.icon, c.icon);
        EXPECT_EQ(seen.buttons, c.buttons);
        EXPECT_EQ(seen.defaultButton, c.defaultButton);
        EXPECT_EQ(seen.pressed, c.press);
    }
}

TEST(Win32MessageBoxTest, AnOwnTitleReplacesTheProgramTitle) {
    test::BoxAnswerer answerer;
    Win32MessageBox box(nullptr);
    box.show(u"x", mb::Information, u"请选择一个目录");
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen.front().title, u"请选择一个目录");
}

}  // namespace
}  // namespace tessark::win32
