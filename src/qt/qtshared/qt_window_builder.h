// SPDX-License-Identifier: MIT
// Builds a window's Qt widgets from its description: each control becomes a
// widget of the class that matches its kind, named, placed, captioned and
// set up as described, and the keyboard order and first focus follow.
#pragma once

#include <QIcon>
#include <QWidget>
#include <functional>
#include <string_view>
#include <type_traits>
#include <unordered_map>

#include "design/control_ids.h"
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
    template <typename W = QWidget, typename Id>
    requires std::is_enum_v<Id> W* get(Id id) const { return get<W>(design::nameOf(id)); }
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

}  // namespace tessark
