// SPDX-License-Identifier: MIT
// The program's windows described once, for every toolkit that builds them:
// each window's frame and each control's kind, container, place, caption,
// picture, font, state at start and keyboard order. Nothing here draws; a
// front end walks the description and makes its own widgets from it.
//
// Measures are twips (1/1440 inch, 15 to a pixel at 96 dpi), relative to the
// container's client area. Font sizes are twips too (twentieths of a point).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/core/text.h"

namespace tessark::design {

enum class Kind {
    Frame,          // a captioned group box; its children move with it
    Label,          // static text
    TextBox,        // single line, no length limit
    Button,         // a push button with a caption
    PictureButton,  // a push button showing only its picture
    CaptionButton,  // a push button showing its caption under its picture
    OptionButton,   // one of an exclusive group (the container's option buttons)
    ListBox,        // single selection, unsorted
    ProgressBar,    // minimum 0; maximum and value set by the actions
    Line,           // a one-pixel separator from (left, top) to (left + width, top + height)
    StatusBar,      // docked at the bottom, divided into `panels`
    WebBrowser,     // the web panel
    PictureBox,     // shows `picture`, no border
    DriveList,      // drop-down list of the drives
    DirectoryList,  // the folders of the current path
    Timer,          // no visible form; ticks every `interval` ms
    CommonDialog,   // the open-file dialog; no visible form
};

// Pictures by what they show; each toolkit draws or loads its own.
enum class Picture {
    None,
    OpenFolder,
    BlankPage,
    BlackCross,
    RedCrossList,  // a red cross over lines
    ArrowUp,
    ArrowDown,
    SplitPicture,  // beside "开始分割"
    MergePicture,  // beside "开始合并"
    ProgramIcon,
};

struct PixelSize {
    int width = 0;
    int height = 0;
};

// The size a picture is shown at on a control, in pixels at 96 dpi.
PixelSize pictureSize(Picture picture);

enum class Border {
    FixedSingle,  // not resizable, may have minimise and maximise boxes
    FixedDialog,  // not resizable, no minimise or maximise box, no icon
};

enum class StartPosition {
    CenterScreen,
};

enum class Pointer {
    Default,
    Hand,  // the platform's link pointer
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Twips per point: font sizes are written as points × 20.
inline constexpr int kTwipsPerPoint = 20;

struct Font {
    TextView face = u"宋体";  // SimSun
    int size = 9 * kTwipsPerPoint;
    bool bold = false;
    bool underline = false;
    friend bool operator==(const Font&, const Font&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

enum class PanelStyle {
    Text,  // shows the text it is given
    Date,  // shows today's date in the user's short format by itself
};

enum class Bevel {
    Inset,
    Raised,
    None,
};

struct StatusPanel {
    int width = 0;          // twips; the panel's minimum width is the same
    int widthHimetric = 0;  // the same width in hundredths of a millimetre
    PanelStyle style = PanelStyle::Text;
    Bevel bevel = Bevel::Inset;
    Text text;  // at start
};

// Pixels of a measure in twips (a position, a size, a font's height) on a
// screen of `dpi` dots per inch, the fraction dropped: 15 twips a pixel at 96.
inline constexpr int toPixels(int twips, int dpi = 96) {
    return static_cast<int>(static_cast<long long>(twips) * dpi / 1440);
}

inline constexpr int kNoTab = -1;

struct Control {
    std::string_view name;  // identifier, object name and control key
    Kind kind = Kind::Label;
    std::string_view container;  // the containing control's name, empty for the window
    Rect at;                     // twips, relative to the container
    Text caption;                // caption, or the text a box starts with
    TextView toolTip;
    Picture picture = Picture::None;
    Font font;
    bool visible = true;
    bool enabled = true;
    bool checked = false;    // option buttons
    bool autoSize = false;   // a label that sizes itself to its caption
    bool isDefault = false;  // pressed by Enter anywhere in the window
    bool isCancel = false;   // pressed by Esc
    int tabIndex = kNoTab;   // keyboard order; kNoTab for controls that take no focus
    std::optional<Rgb> foreColor;
    Pointer pointer = Pointer::Default;
    int interval = 0;                 // timers, in milliseconds
    std::vector<StatusPanel> panels;  // status bars
};

struct WindowDesign {
    std::string_view name;
    Text caption;
    int clientWidth = 0;   // twips
    int clientHeight = 0;  // twips
    Border border = Border::FixedSingle;
    bool minButton = false;
    bool maxButton = false;
    bool showInTaskbar = true;
    Picture icon = Picture::None;
    StartPosition start = StartPosition::CenterScreen;
    Font font;                     // of the window and every control without its own
    std::optional<Rgb> foreColor;  // text colour of the window's labels
    // Back to front: within one container a later control lies over an
    // earlier one. A container comes before what it contains.
    std::vector<Control> controls;

    // The control named `name`, or null.
    const Control* find(std::string_view name) const;
    // The controls that take the focus, in keyboard order; the first of them
    // that is visible and enabled has the focus when the window opens.
    std::vector<const Control*> tabOrder() const;
};

const WindowDesign& form2Design();  // the main window

// Form2's status-bar panel (numbered from 1) that shows the clock; the
// window's timer writes it, the description leaves it empty.
inline constexpr int kClockPanel = 5;
const WindowDesign& form1Design();  // the folder picker
const WindowDesign& aboutDesign();  // frmAbout

}  // namespace tessark::design
