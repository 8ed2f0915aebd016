// SPDX-License-Identifier: MIT
// frmAbout: the product's name, maker, version and contact, and how split
// files are joined again.
#include "design/control_ids.h"
#include "design/maker.h"
#include "design/window_design.h"

namespace tessark::design {

namespace {

using enum AboutControl;

constexpr std::string_view n(AboutControl control) {
    return nameOf(control);
}

constexpr Rgb kBlack{0, 0, 0};

// The window's labels all size themselves to their text.
Control label(AboutControl name, Rect at, Text caption) {
    return {.name = n(name),
            .kind = Kind::Label,
            .at = at,
            .caption = std::move(caption),
            .autoSize = true};
}

WindowDesign makeAbout() {
    WindowDesign window{
        .name = "frmAbout",
        .caption = u"关于Quorin文件分割机 Tessark",
        .clientWidth = 6450,
        .clientHeight = 3195,
        .border = Border::FixedDialog,
        .showInTaskbar = false,
        .foreColor = kBlack,
    };
    window.controls.push_back({.name = n(picIcon),
                               .kind = Kind::PictureBox,
                               .at = {360, 120, 480, 480},
                               .picture = Picture::ProgramIcon});
    Control title = label(lblTitle, {1080, 240, 3090, 255}, u"Tessark Quorin文件分割机");
    title.font = {.size = 255, .bold = true};
    window.controls.push_back(std::move(title));
    window.controls.push_back(
        label(lblDescription, {1080, 600, 1530, 180}, u"出品： Quorin工作室"));
    window.controls.push_back(
        label(Label1, {1080, 840, 2430, 180}, Text(u"网址： ") + Text(maker::kHost)));
    window.controls.push_back(
        label(lblVersion, {1080, 1080, 990, 180}, Text(u"版本： ") + Text(maker::kVersion)));
    window.controls.push_back(label(Label5, {1080, 1320, 540, 180}, u"邮箱："));
    // Looks like a link, and a click on it does nothing.
    Control mail = label(Label6, {1680, 1320, 1350, 180}, Text(maker::kEmail));
    mail.toolTip = u"写信给我";
    mail.font.underline = true;
    mail.foreColor = Rgb{0, 0, 255};
    mail.pointer = Pointer::Hand;
    window.controls.push_back(std::move(mail));
    window.controls.push_back({.name = n(Line1), .kind = Kind::Line, .at = {240, 1680, 5880, 0}});
    // The blanks around "Link.bat" are ideographic spaces; the quotes belong to the text.
    window.controls.push_back(
        label(Label7, {360, 1800, 5490, 180},
              u"提示:  文件分割后会在文件所在的位置生成\u3000\"Link.bat\"\u3000供合并用"));
    window.controls.push_back(label(Label8, {960, 2040, 4950, 180},
                                    u"分割完后可将此文件一同拷贝,然后执行 \"Link\" 就可合并文件"));
    window.controls.push_back(
        label(Label9, {960, 2280, 3960, 180}, u"当然, 你也可以用本软件的 \"合并\" 功能合并文件"));
    window.controls.push_back({.name = n(cmdOK),
                               .kind = Kind::Button,
                               .at = {4200, 2640, 1500, 345},
                               .caption = u"确定",
                               .isDefault = true,
                               .isCancel = true,
                               .tabIndex = 0});
    return window;
}

}  // namespace

const WindowDesign& aboutDesign() {
    static const WindowDesign design = makeAbout();
    return design;
}

}  // namespace tessark::design
