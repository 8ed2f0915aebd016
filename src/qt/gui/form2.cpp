// SPDX-License-Identifier: MIT
#include "gui/form2.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>

#include "design/window_design.h"
#include "folderpicker/form1.h"
#include "forms/controls.h"
#include "gui/form2_parts.h"
#include "gui/frm_about.h"
#include "gui/module1.h"
#include "gui/qt_common_dialog.h"
#include "gui/qt_maker.h"
#include "gui/qt_message_box.h"
#include "gui/web_browser.h"
#include "qtshared/qt_text.h"

namespace tessark {

using design::Form2Control;

Form2::Form2(Form2Services services) : QWidget(nullptr), now_(std::move(services.now)) {
    if (!now_) {
        now_ = [] { return QDateTime::currentDateTime(); };
    }
    buildControls();
    services_ = std::make_unique<ServicesInUse>(
        std::move(services),
        ToolkitServices{[this] { return std::make_unique<QtMessageBox>(this); },
                        [this] { return std::make_unique<QtCommonDialog>(this); },
                        &Module1::OpenWebSite, [] { QCoreApplication::exit(0); }});
    const QtBuiltControls& c = built_;
    parts_.reset(new Parts{
        QtTextBox(c.get<QLineEdit>(Form2Control::Text1)),
        QtTextBox(c.get<QLineEdit>(Form2Control::Text2)),
        QtTextBox(c.get<QLineEdit>(Form2Control::Text3)),
        QtTextBox(c.get<QLineEdit>(Form2Control::Text4)),
        QtOptionButton(c.get<QRadioButton>(Form2Control::Option1)),
        QtLabel(c.get<QLabel>(Form2Control::Label2),
                design::form2Design().find(nameOf(Form2Control::Label2))->autoSize),
        QtListBox(c.get<QListWidget>(Form2Control::List1), [this] { controller_->List1_Click(); }),
        QtProgressBar(c.get<QProgressBar>(Form2Control::ProgressBar1)), QtMousePointer(),
        QtStopListener()});
    parts_->stop.watch(this, c.get(Form2Control::Command13));
    controller_ = std::make_unique<Form2Controller>(static_cast<Form2Window&>(*this), *services_);
    wireEvents();
    wireDrops();
    c.get<StatusPanels>(Form2Control::StatusBar1)->setClockPanel(design::kClockPanel);
    Timer1.start();
    Form_Load();
}

// The folder picker writes into this window's boxes: it goes first.
Form2::~Form2() {
    delete picker_.data();
}

void Form2::Form_Load() {
    // Centred on the screen by the outer frame, size unchanged.
    if (const QScreen* screen = this->screen()) {
        const QSize outer = frameGeometry().size();
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - outer.width()) / 2,
             area.y() + (area.height() - outer.height()) / 2);
    }
    WebBrowser* web = built_.get<WebBrowser>(Form2Control::WebBrowser1);
    web->navigate(QStringLiteral("about:blank"));
    web->navigate(maker::advertisementUrl());
}

MainControls Form2::controls() {
    Parts& p = *parts_;
    return {p.text1,
            p.text2,
            p.text3,
            p.text4,
            p.option1,
            p.label2,
            p.list1,
            p.progressBar1,
            *built_.get<StatusPanels>(Form2Control::StatusBar1),
            p.pointer,
            services_->messages(),
            services_->dialog(),
            p.stop};
}

bool Form2::checked(Form2Control option) const {
    return built_.get<QAbstractButton>(option)->isChecked();
}

void Form2::showControl(Form2Control control, bool visible) {
    built_.get(control)->setVisible(visible);
}

void Form2::enableControl(Form2Control control, bool enabled) {
    built_.get(control)->setEnabled(enabled);
}

void Form2::focusControl(Form2Control control) {
    built_.get(control)->setFocus(Qt::OtherFocusReason);
}

std::optional<Text> Form2::timeOfDay() {
    return tx(longTime(now_().time()));
}

void Form2::hideMain() {
    hide();
}

void Form2::showAbout() {
    if (about_ == nullptr) {
        about_ = new frmAbout(this);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void Form2::press(Form2Control button) {
    built_.get<QAbstractButton>(button)->click();
}

void Form2::showPicker() {
    Parts& p = *parts_;
    showFolderPicker(picker_, services_->fileSystem(), services_->drives(), services_->messages(),
                     p.text2, p.text4);
}

// While a job runs (the close comes past its stop listener, as under a
// question of the job's) the close is a request to stop it; the window stays.
void Form2::closeEvent(QCloseEvent* event) {
    if (!controller_->Form_QueryUnload()) {
        event->ignore();
        return;
    }
    event->accept();
    controller_->Form_Unload();
}

}  // namespace tessark
