// SPDX-License-Identifier: MIT
// Every control of the three windows by a typed id. The descriptions take
// their names from these lists, so a control the code names is a control the
// window has: a misspelt one does not compile. Toolkits map their widgets to
// ids once, when they build a window.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace tessark::design {

// clang-format off
// Form2, the main window, back to front as described. Its buttons:
//   Command1   browse for the file to split (the open-file dialog)
//   Command2   choose the folder the pieces go to (the folder picker)
//   Command3   Start split
//   Command4   add pieces to the merge list
//   Command5   remove the selected piece from the list
//   Command6   Start merge
//   Command7   clear the merge list
//   Command8   move the selected piece down
//   Command9   move the selected piece up
//   Command10  choose the merged file's folder (the folder picker)
//   Command12  About (the About window in place of the main window)
//   Command13  Exit (ends the program; during a job, asks to stop it and end)
#define TESSARK_FORM2_CONTROLS(X)                                                       \
    X(Frame4) X(Frame5) X(Label10) X(Text1) X(Command1) X(Label2) X(Label11) X(Text2)   \
    X(Command2) X(Frame6) X(Option1) X(Option2) X(Text3) X(Label1) X(Command3)          \
    X(ProgressBar1) X(Line1) X(Frame1) X(Frame2) X(Label4) X(Text4) X(Command10)        \
    X(List1) X(Frame3) X(Command4) X(Command5) X(Command7) X(Command9) X(Command8)      \
    X(Command6) X(WebBrowser1) X(Command12) X(Command13) X(StatusBar1) X(Timer1)        \
    X(CommonDialog1)

// Form1, the folder picker. Command1: OK (takes the folder); Command2: Cancel.
#define TESSARK_FORM1_CONTROLS(X) X(Label2) X(Label1) X(Dir1) X(Drive1) X(Command1) X(Command2)

// frmAbout.
#define TESSARK_ABOUT_CONTROLS(X)                                                       \
    X(picIcon) X(lblTitle) X(lblDescription) X(Label1) X(lblVersion) X(Label5)          \
    X(Label6) X(Line1) X(Label7) X(Label8) X(Label9) X(cmdOK)
// clang-format on

#define TESSARK_CONTROL_ID(name) name,
#define TESSARK_CONTROL_NAME(name) std::string_view(#name),

enum class Form2Control { TESSARK_FORM2_CONTROLS(TESSARK_CONTROL_ID) };
enum class Form1Control { TESSARK_FORM1_CONTROLS(TESSARK_CONTROL_ID) };
enum class AboutControl { TESSARK_ABOUT_CONTROLS(TESSARK_CONTROL_ID) };

template <typename Id>
struct ControlNames;

template <>
struct ControlNames<Form2Control> {
    static constexpr std::array names{TESSARK_FORM2_CONTROLS(TESSARK_CONTROL_NAME)};
};
template <>
struct ControlNames<Form1Control> {
    static constexpr std::array names{TESSARK_FORM1_CONTROLS(TESSARK_CONTROL_NAME)};
};
template <>
struct ControlNames<AboutControl> {
    static constexpr std::array names{TESSARK_ABOUT_CONTROLS(TESSARK_CONTROL_NAME)};
};

#undef TESSARK_CONTROL_ID
#undef TESSARK_CONTROL_NAME
#undef TESSARK_FORM2_CONTROLS
#undef TESSARK_FORM1_CONTROLS
#undef TESSARK_ABOUT_CONTROLS

// How many controls the window of `Id` has.
template <typename Id>
inline constexpr std::size_t kControlCount = ControlNames<Id>::names.size();

// The control's name in its window's description.
template <typename Id>
constexpr std::string_view nameOf(Id id) {
    return ControlNames<Id>::names[static_cast<std::size_t>(id)];
}

// The control of that name, or nothing; for a toolkit mapping what it built.
template <typename Id>
constexpr std::optional<Id> controlNamed(std::string_view name) {
    for (std::size_t i = 0; i < kControlCount<Id>; ++i) {
        if (ControlNames<Id>::names[i] == name) {
            return static_cast<Id>(i);
        }
    }
    return std::nullopt;
}

// Every control of the window of `Id`, in its list's order.
template <typename Id>
constexpr std::array<Id, kControlCount<Id>> allControls() {
    std::array<Id, kControlCount<Id>> all{};
    for (std::size_t i = 0; i < all.size(); ++i) {
        all[i] = static_cast<Id>(i);
    }
    return all;
}

}  // namespace tessark::design
