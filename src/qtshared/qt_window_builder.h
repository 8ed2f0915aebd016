// SPDX-License-Identifier: MIT
// Builds a window's Qt widgets from its description: each control becomes a
// widget of the class that matches its kind, named, placed, captioned and
// set up as described, and the keyboard order and first focus follow.
#pragma once

#include <QIcon>
#include <QWidget>
#include <functional>
#include <string_view>
#include <unordered_map>

#include "design/window_behaviour.h"
#include "design/window_design.h"

namespace tessark {

struct QtWidgetMakers {
    // The widget for a control of a kind that the window makes itself (the web
    // panel, the status bar, the drive and directory lists). The builder names,
    // places and sets it up like any other.
    std::function<QWidget*(const design::Control&, QWidget* container)> special;
    // The window's pictures.
    std::function<QIcon(design::Picture)> picture;
};

class QtBuiltControls {
  public:
    // The widget built for `name`, as `W`; stops the program when there is
    // none of that class (a description and its window disagree).
    template <typename W = QWidget>
    W* get(std::string_view name) const {
        W* widget = qobject_cast<W*>(find(name));
        if (widget == nullptr) {
            fail(name);
        }
        return widget;
    }
    QWidget* find(std::string_view name) const;

  private:
    friend QtBuiltControls buildWindow(QWidget*, const design::WindowDesign&,
                                       const QtWidgetMakers&);
    [[noreturn]] static void fail(std::string_view name);
    std::unordered_map<std::string_view, QWidget*> widgets_;
};

// Sets up `window` (caption, fixed client size, border, icon, font, text
// colour) and builds its controls. Timers and the open-file dialog have no
// widget; the window keeps them itself.
QtBuiltControls buildWindow(QWidget* window, const design::WindowDesign& design,
                            const QtWidgetMakers& makers);

// The pixel size of a font size in twips at 96 dpi.
inline constexpr int fontPixels(int sizeTwips) {
    return sizeTwips / 15;
}

// The built controls as the shared behaviour addresses them.
class QtControlSurface : public design::ControlSurface {
  public:
    explicit QtControlSurface(const QtBuiltControls& controls) : controls_(controls) {}
    bool checked(std::string_view name) const override;
    void setVisible(std::string_view name, bool visible) override;
    void setEnabled(std::string_view name, bool enabled) override;
    void setFocus(std::string_view name) override;

  private:
    const QtBuiltControls& controls_;
};

}  // namespace tessark
