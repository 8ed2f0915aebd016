// SPDX-License-Identifier: MIT
// Form2, the main window: the split area above, the merge area below, the web
// panel, About and Exit, and the five-panel status bar.
#include "design/control_ids.h"
#include "design/maker.h"
#include "design/window_design.h"

namespace tessark::design {

namespace {

using enum Form2Control;

constexpr std::string_view n(Form2Control control) {
    return nameOf(control);
}

constexpr Font kLarge{.size = 225};   // 11.25 pt: the areas' captions and the path boxes
constexpr Font kPrompt{.size = 195};  // 9.75 pt

std::vector<Control> splitArea() {
    return {
        {.name = n(Frame4),
         .kind = Kind::Frame,
         .at = {120, 240, 7695, 2895},
         .caption = u"文件分割"},
        {.name = n(Frame5),
         .kind = Kind::Frame,
         .container = n(Frame4),
         .at = {120, 360, 5655, 2415},
         .caption = u" 分割区 ",
         .font = kLarge},
        {.name = n(Label10),
         .kind = Kind::Label,
         .container = n(Frame5),
         .at = {240, 480, 1620, 180},
         .caption = u"请输入要分割的文件"},
        {.name = n(Text1),
         .kind = Kind::TextBox,
         .container = n(Frame5),
         .at = {120, 720, 4935, 390},
         .font = kLarge,
         .tabIndex = 0},
        {.name = n(Command1),
         .kind = Kind::PictureButton,
         .container = n(Frame5),
         .at = {5160, 720, 375, 375},
         .picture = Picture::OpenFolder,
         .tabIndex = 1},
        {.name = n(Label2),
         .kind = Kind::Label,
         .container = n(Frame5),
         .at = {120, 1200, 120, 225},
         .font = kLarge,
         .autoSize = true},
        {.name = n(Label11),
         .kind = Kind::Label,
         .container = n(Frame5),
         .at = {240, 1680, 2700, 180},
         .caption = u"请输入分割完成后文件的存放位置"},
        {.name = n(Text2),
         .kind = Kind::TextBox,
         .container = n(Frame5),
         .at = {120, 1920, 4935, 375},
         .font = kLarge,
         .tabIndex = 2},
        {.name = n(Command2),
         .kind = Kind::PictureButton,
         .container = n(Frame5),
         .at = {5160, 1920, 375, 375},
         .picture = Picture::OpenFolder,
         .tabIndex = 3},

        {.name = n(Frame6),
         .kind = Kind::Frame,
         .container = n(Frame4),
         .at = {5880, 360, 1695, 1455},
         .caption = u"分割块尺寸"},
        {.name = n(Option1),
         .kind = Kind::OptionButton,
         .container = n(Frame6),
         .at = {360, 240, 975, 375},
         .caption = u"1.44M",
         .checked = true,
         .tabIndex = 4},
        {.name = n(Option2),
         .kind = Kind::OptionButton,
         .container = n(Frame6),
         .at = {360, 720, 855, 255},
         .caption = u"自定义",
         .tabIndex = 5},
        {.name = n(Text3),
         .kind = Kind::TextBox,
         .container = n(Frame6),
         .at = {480, 1080, 855, 270},
         .visible = false,
         .enabled = false,
         .tabIndex = 6},
        {.name = n(Label1),
         .kind = Kind::Label,
         .container = n(Frame6),
         .at = {1395, 1080, 210, 195},
         .caption = u"KB",
         .visible = false},

        {.name = n(Command3),
         .kind = Kind::CaptionButton,
         .container = n(Frame4),
         .at = {5880, 1920, 1695, 855},
         .caption = u"开始分割",
         .picture = Picture::SplitPicture,
         .tabIndex = 7},
        // Shown during a split or a merge, in front of Frame5 to the right of Label2.
        {.name = n(ProgressBar1),
         .kind = Kind::ProgressBar,
         .container = n(Frame4),
         .at = {2520, 1560, 2700, 355},
         .visible = false},
    };
}

std::vector<Control> mergeArea() {
    return {
        {.name = n(Frame1),
         .kind = Kind::Frame,
         .at = {120, 3480, 7695, 3255},
         .caption = u"文件合并"},
        {.name = n(Frame2),
         .kind = Kind::Frame,
         .container = n(Frame1),
         .at = {120, 360, 7455, 2775},
         .caption = u" 合并区 ",
         .font = kLarge},
        // Lies where Text4 lies and under it: the box hides its prompt.
        {.name = n(Label4),
         .kind = Kind::Label,
         .container = n(Frame2),
         .at = {120, 360, 1950, 195},
         .caption = u"请输入合并后的文件名",
         .font = kPrompt},
        {.name = n(Text4),
         .kind = Kind::TextBox,
         .container = n(Frame2),
         .at = {120, 360, 6735, 390},
         .font = kLarge,
         .tabIndex = 8},
        {.name = n(Command10),
         .kind = Kind::PictureButton,
         .container = n(Frame2),
         .at = {6960, 360, 375, 375},
         .picture = Picture::OpenFolder,
         .tabIndex = 9},
        {.name = n(List1),
         .kind = Kind::ListBox,
         .container = n(Frame2),
         .at = {120, 960, 4935, 1680},
         .tabIndex = 10},

        {.name = n(Frame3),
         .kind = Kind::Frame,
         .container = n(Frame2),
         .at = {5160, 840, 2175, 1815},
         .caption = u" 操作区 "},
        {.name = n(Command4),
         .kind = Kind::PictureButton,
         .container = n(Frame3),
         .at = {600, 240, 375, 375},
         .toolTip = u"添加文件供合并",
         .picture = Picture::BlankPage,
         .tabIndex = 11},
        {.name = n(Command5),
         .kind = Kind::PictureButton,
         .container = n(Frame3),
         .at = {600, 720, 375, 375},
         .toolTip = u"删除选定文件",
         .picture = Picture::BlackCross,
         .tabIndex = 12},
        {.name = n(Command7),
         .kind = Kind::PictureButton,
         .container = n(Frame3),
         .at = {600, 1200, 375, 375},
         .toolTip = u"清空合并文件",
         .picture = Picture::RedCrossList,
         .tabIndex = 14},
        {.name = n(Command9),
         .kind = Kind::PictureButton,
         .container = n(Frame3),
         .at = {120, 480, 375, 375},
         .toolTip = u"上移",
         .picture = Picture::ArrowUp,
         .tabIndex = 16},
        {.name = n(Command8),
         .kind = Kind::PictureButton,
         .container = n(Frame3),
         .at = {120, 960, 375, 375},
         .toolTip = u"下移",
         .picture = Picture::ArrowDown,
         .tabIndex = 15},
        {.name = n(Command6),
         .kind = Kind::CaptionButton,
         .container = n(Frame3),
         .at = {1080, 240, 975, 1335},
         .caption = u"开始合并",
         .toolTip = u"开始合并",
         .picture = Picture::MergePicture,
         .tabIndex = 13},
    };
}

std::vector<StatusPanel> statusPanels() {
    return {
        {.width = 2150, .widthHimetric = 3793, .text = u"欢迎使用Quorin文件分割机"},
        {.width = 2350,
         .widthHimetric = 4145,
         .text = Text(u"Quorin工作室 ") + Text(maker::kStudioAddress)},
        {.width = 1300, .widthHimetric = 2293, .text = Text(u"QQ：") + Text(maker::kContactNumber)},
        {.width = 1100, .widthHimetric = 1941, .style = PanelStyle::Date},
        {.width = 1000, .widthHimetric = 1764},  // the clock, from the first tick
    };
}

WindowDesign makeForm2() {
    WindowDesign window{
        .name = "Form2",
        .caption = maker::mainCaption(),
        .clientWidth = 7935,
        .clientHeight = 7680,
        .border = Border::FixedSingle,
        .minButton = true,
        .icon = Picture::ProgramIcon,
    };
    window.controls = splitArea();
    window.controls.push_back({.name = n(Line1), .kind = Kind::Line, .at = {0, 3360, 8040, 0}});
    for (Control& control : mergeArea()) {
        window.controls.push_back(std::move(control));
    }
    window.controls.push_back({.name = n(WebBrowser1),
                               .kind = Kind::WebBrowser,
                               .at = {120, 6840, 3855, 375},
                               .tabIndex = 19});
    window.controls.push_back({.name = n(Command12),
                               .kind = Kind::Button,
                               .at = {5280, 6840, 1215, 375},
                               .caption = u"关于...",
                               .tabIndex = 17});
    window.controls.push_back({.name = n(Command13),
                               .kind = Kind::Button,
                               .at = {6600, 6840, 1095, 375},
                               .caption = u"退出程序",
                               .tabIndex = 18});
    window.controls.push_back({.name = n(StatusBar1),
                               .kind = Kind::StatusBar,
                               .at = {0, 7305, 7935, 375},
                               .panels = statusPanels()});
    window.controls.push_back({.name = n(Timer1), .kind = Kind::Timer, .interval = 1000});
    // Its title, filter and folder are the engine's (they change as the
    // split and the merge use it).
    window.controls.push_back({.name = n(CommonDialog1), .kind = Kind::CommonDialog});
    return window;
}

}  // namespace

const WindowDesign& form2Design() {
    static const WindowDesign design = makeForm2();
    return design;
}

}  // namespace tessark::design
