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
#include "gui/form2_bridge.h"
#include "gui/frm_about.h"
#include "gui/maker.h"
#include "gui/module1.h"
#include "gui/qt_common_dialog.h"
#include "gui/qt_message_box.h"
#include "gui/web_browser.h"
#include "qtshared/qt_text.h"

namespace tessark {

namespace {
constexpr int kClockPanel = 5;
}  // namespace

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
    bridge_.reset(new Bridge{
        QtTextBox(c.get<QLineEdit>(Form2Control::Text1)),
        QtTextBox(c.get<QLineEdit>(Form2Control::Text2)),
        QtTextBox(c.get<QLineEdit>(Form2Control::Text3)),
        QtTextBox(c.get<QLineEdit>(Form2Control::Text4)),
        QtOptionButton(c.get<QRadioButton>(Form2Control::Option1)),
        QtLabel(c.get<QLabel>(Form2Control::Label2),
                design::form2Design().find(nameOf(Form2Control::Label2))->autoSize),
        QtListBox(c.get<QListWidget>(Form2Control::List1), [this] { controller_->List1_Click(); }),
        QtProgressBar(c.get<QProgressBar>(Form2Control::ProgressBar1)), QtMousePointer(),
        QtRepaintHook()});
    bridge_->repaint.watch(this, c.get(Form2Control::Command13));
    Bridge& b = *bridge_;
    StatusPanels* statusBar = c.get<StatusPanels>(Form2Control::StatusBar1);
    const MainControls controls{b.text1,
                                b.text2,
                                b.text3,
                                b.text4,
                                b.option1,
                                b.label2,
                                b.list1,
                                b.progressBar1,
                                *statusBar,
                                b.pointer,
                                services_->messages(),
                                services_->dialog(),
                                b.repaint};
    controller_ = std::make_unique<Form2Controller>(controls, surface_,
                                                    static_cast<Form2Shell&>(*this), *services_);
    wireEvents();
    wireDrops();
    statusBar->setClockPanel(kClockPanel);
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
    Bridge& b = *bridge_;
    showFolderPicker(picker_, services_->fileSystem(), services_->drives(), services_->messages(),
                     b.text2, b.text4);
}

void Form2::closeEvent(QCloseEvent* event) {
    event->accept();
    controller_->Form_Unload();
}

}  // namespace tessark
