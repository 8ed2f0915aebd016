// SPDX-License-Identifier: MIT
// Form2 in Qt: the main window's widgets, built from its description, and the
// events that reach its controller. Its behaviour lives in Form2Controller.
#pragma once

#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "forms/form2_controller.h"
#include "forms/window_services.h"
#include "gui/frm_about.h"
#include "gui/status_panels.h"
#include "qtshared/qt_window_builder.h"

namespace tessark {

class Form1;

// What the window uses beyond its own widgets: the services of every
// toolkit, and the local clock.
struct Form2Services : WindowServices {
    Clock now;  // the local clock
};

class Form2 : public QWidget, private Form2Window {
    Q_OBJECT

  public:
    explicit Form2(Form2Services services = {});
    ~Form2() override;

    // The window's handlers.
    Form2Controller& controller() { return *controller_; }

    // Files handed over on the command line, each in turn: a piece joins the
    // merge list as Add would add it, any other file becomes the source as
    // the source browse would take it, a missing one is reported.
    void openFiles(const QStringList& paths);

    // The About window while it is open.
    frmAbout* about() const { return about_; }

  protected:
    void closeEvent(QCloseEvent* event) override;  // the window's unload

  private:
    struct Parts;

    void buildControls();
    void wireEvents();
    void wireDrops();
    void Form_Load();

    // Form2Window
    MainControls controls() override;
    bool checked(design::Form2Control option) const override;
    void showControl(design::Form2Control control, bool visible) override;
    void enableControl(design::Form2Control control, bool enabled) override;
    void focusControl(design::Form2Control control) override;
    void press(design::Form2Control button) override;
    void hideMain() override;
    void showAbout() override;
    void showPicker() override;
    std::optional<Text> timeOfDay() override;

    Clock now_;
    QTimer Timer1;
    QtBuiltControls built_;
    std::unique_ptr<ServicesInUse> services_;
    std::unique_ptr<Parts> parts_;
    std::unique_ptr<Form2Controller> controller_;
    QPointer<frmAbout> about_;
    QPointer<Form1> picker_;
};

}  // namespace tessark
