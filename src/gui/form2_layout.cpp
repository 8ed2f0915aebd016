// SPDX-License-Identifier: MIT
// Form2's controls, built from the window's description; the window keeps a
// pointer to each control its handlers use.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

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
            return new StatusPanels(services_.now, control.panels, in);
        }
        if (control.kind == design::Kind::WebBrowser) {
            return new WebBrowser(in);
        }
        return nullptr;
    };
    built_ = buildWindow(this, design, makers);
    const QtBuiltControls& c = built_;

    Frame4 = c.get<QGroupBox>("Frame4");
    Frame5 = c.get<QGroupBox>("Frame5");
    Frame6 = c.get<QGroupBox>("Frame6");
    Frame1 = c.get<QGroupBox>("Frame1");
    Frame2 = c.get<QGroupBox>("Frame2");
    Frame3 = c.get<QGroupBox>("Frame3");
    Label10 = c.get<QLabel>("Label10");
    Label2 = c.get<QLabel>("Label2");
    Label11 = c.get<QLabel>("Label11");
    Label1 = c.get<QLabel>("Label1");
    Label4 = c.get<QLabel>("Label4");
    Text1 = c.get<QLineEdit>("Text1");
    Text2 = c.get<QLineEdit>("Text2");
    Text3 = c.get<QLineEdit>("Text3");
    Text4 = c.get<QLineEdit>("Text4");
    QPushButton** const buttons[] = {&Command1, &Command2, &Command4,  &Command5,  &Command7,
                                     &Command8, &Command9, &Command10, &Command12, &Command13};
    const char* const buttonNames[] = {"Command1",  "Command2", "Command4", "Command5",
                                       "Command7",  "Command8", "Command9", "Command10",
                                       "Command12", "Command13"};
    for (std::size_t i = 0; i < std::size(buttons); ++i) {
        *buttons[i] = c.get<QPushButton>(buttonNames[i]);
    }
    Command3 = c.get<QToolButton>("Command3");
    Command6 = c.get<QToolButton>("Command6");
    Option1 = c.get<QRadioButton>("Option1");
    Option2 = c.get<QRadioButton>("Option2");
    ProgressBar1 = c.get<QProgressBar>("ProgressBar1");
    Line1 = c.get<QFrame>("Line1");
    List1 = c.get<QListWidget>("List1");
    WebBrowser1 = c.get<WebBrowser>("WebBrowser1");
    StatusBar1 = c.get<StatusPanels>("StatusBar1");
    Timer1.setInterval(design.find("Timer1")->interval);
}

}  // namespace tessark
