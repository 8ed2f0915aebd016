// SPDX-License-Identifier: MIT
// Form1, the folder picker: a directory list over a drive list, OK and Cancel.
#include "design/control_ids.h"
#include "design/window_design.h"

namespace tessark::design {

namespace {

using enum Form1Control;

constexpr std::string_view n(Form1Control control) {
    return nameOf(control);
}

WindowDesign makeForm1() {
    WindowDesign window{
        .name = "Form1",
        .caption = u"请选择一个目录",
        .clientWidth = 5190,
        .clientHeight = 3765,
        .border = Border::FixedDialog,
    };
    window.controls = {
        {.name = n(Label2),
         .kind = Kind::Label,
         .at = {240, 240, 1080, 180},
         .caption = u"指定文件夹：",
         .autoSize = true},
        // The current folder's path, set when the window loads.
        {.name = n(Label1), .kind = Kind::Label, .at = {240, 480, 4695, 195}},
        {.name = n(Dir1), .kind = Kind::DirectoryList, .at = {240, 720, 4695, 2400}, .tabIndex = 0},
        {.name = n(Drive1), .kind = Kind::DriveList, .at = {240, 3240, 1935, 300}, .tabIndex = 1},
        {.name = n(Command1),
         .kind = Kind::Button,
         .at = {2520, 3240, 1095, 375},
         .caption = u"确定",
         .isDefault = true,
         .tabIndex = 2},
        {.name = n(Command2),
         .kind = Kind::Button,
         .at = {3840, 3240, 1095, 375},
         .caption = u"取消",
         .isCancel = true,
         .tabIndex = 3},
    };
    return window;
}

}  // namespace

const WindowDesign& form1Design() {
    static const WindowDesign design = makeForm1();
    return design;
}

}  // namespace tessark::design
