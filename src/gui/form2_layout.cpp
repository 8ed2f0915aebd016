// SPDX-License-Identifier: MIT
// Form2's controls, built from the window's description.
#include "design/window_design.h"
#include "gui/form2.h"
#include "gui/icons.h"
#include "gui/web_browser.h"

namespace tessark {

void Form2::buildControls() {
    const design::WindowDesign& design = design::form2Design();
    QtWidgetMakers makers;
    makers.picture = &icons::picture;
    makers.special = [this](const design::Control& control, QWidget* in) -> QWidget* {
        if (control.kind == design::Kind::StatusBar) {
            return new StatusPanels(now_, control.panels, in);
        }
        if (control.kind == design::Kind::WebBrowser) {
            return new WebBrowser(in);
        }
        return nullptr;
    };
    built_ = buildWindow(this, design, makers);
    Timer1.setInterval(design.find(nameOf(design::Form2Control::Timer1))->interval);
}

}  // namespace tessark
