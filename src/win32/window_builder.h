// SPDX-License-Identifier: MIT
// Builds a window and its controls from the windows' shared description:
// kinds become Win32 controls, twips become pixels at the screen's DPI. What
// the window owns besides its controls lives beside it: its class
// (window_class.h), fonts (window_fonts.h), pictures (window_pictures.h),
// tooltips (tooltips.h) and keyboard order (tab_order.h); its layout at a
// scale is in window_scale.cpp.
#pragma once

#include "win32/win32_api.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "design/control_ids.h"
#include "design/window_design.h"
#include "win32/tab_order.h"
#include "win32/tooltips.h"
#include "win32/window_class.h"
#include "win32/window_fonts.h"
#include "win32/window_pictures.h"

namespace tessark::win32 {

// The first control identifier; the dialog manager's IDOK and IDCANCEL (1, 2)
// stay free.
inline constexpr int kFirstControlId = 100;

// A window built from its description, with what the window owns besides
// its controls: fonts, pictures, the tooltip window, the keyboard order.
class BuiltWindow {
  public:
    BuiltWindow() = default;
    BuiltWindow(const BuiltWindow&) = delete;
    BuiltWindow& operator=(const BuiltWindow&) = delete;
    ~BuiltWindow();

    // Creates `design`'s top-level window (centred on the screen, hidden) with
    // `owner`, its messages going to `handler`; then its controls. False when
    // the window cannot be made.
    bool create(const design::WindowDesign& design, HWND owner, WindowHandler& handler);

    // The built window behind a top-level window; null for other windows.
    static BuiltWindow* of(HWND window);

    HWND window() const { return window_; }
    int dpi() const { return dpi_; }
    const design::WindowDesign* description() const { return design_; }
    // A control by name; null for a name the description lacks or a control
    // that is no window (a timer, the dialog).
    HWND control(std::string_view name) const;
    template <typename Id>
    requires std::is_enum_v<Id> HWND control(Id id)
    const { return control(design::nameOf(id)); }
    // The name of the control with identifier `id`; empty when unknown.
    std::string_view nameOf(int id) const;
    HWND tooltips() const { return tooltips_.handle(); }
    int pixels(int twips) const;

    // Lays the window out again at `dpi` (a move to a screen of another
    // scale): its size, the controls' places, fonts and pictures, as the
    // description says at that scale; the window's corner goes to the
    // `suggested` one when given.
    void setDpi(int dpi, const RECT* suggested);
    // Lets the window take its designed size on a screen smaller than that.
    void allowDesignedSize(MINMAXINFO& limits) const;

    // The controls that take the focus, in keyboard order.
    TabOrder& tabOrder() { return tabOrder_; }

  private:
    void createControls();
    HWND createControl(const design::Control& control, HWND parent, int id);
    HFONT font(const design::Font& font) { return fonts_.get(font, dpi_); }
    RECT designedOuter() const;
    void fitToDesign(const RECT* suggested);
    void place(HWND made, const design::Control& described) const;
    // What a control sizes by its content: an auto-sizing label, the status
    // bar's height and panels.
    void fitContent(HWND made, const design::Control& described) const;

    const design::WindowDesign* design_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    // Destroyed after the window (~BuiltWindow), in the reverse order.
    FontSet fonts_;
    PictureSet pictures_;
    ToolTips tooltips_;
    TabOrder tabOrder_;
    HWND window_ = nullptr;
    std::map<std::string, HWND, std::less<>> controls_;
    std::map<int, std::string> names_;
};

// A built window's controls by their typed ids, looked up from the control
// identifiers of its notifications; made once, after the window is built.
template <typename Id>
class ControlIds {
  public:
    explicit ControlIds(const BuiltWindow& built) {
        for (const Id id : design::allControls<Id>()) {
            if (HWND control = built.control(id)) {
                byNumber_.emplace(GetDlgCtrlID(control), id);
            }
        }
    }
    // The control with identifier `number`, or nothing.
    std::optional<Id> of(int number) const {
        const auto found = byNumber_.find(number);
        return found == byNumber_.end() ? std::nullopt : std::optional<Id>(found->second);
    }

  private:
    std::map<int, Id> byNumber_;
};

// Centres a top-level window on its screen by its outer size, size unchanged.
void centreOnScreen(HWND window);

}  // namespace tessark::win32
