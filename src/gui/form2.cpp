// SPDX-License-Identifier: MIT
#include "gui/form2.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include "design/window_design.h"
#include "engine/platform/native_file_system.h"
#include "folderpicker/form1.h"
#include "forms/controls.h"
#include "gui/form2_bridge.h"
#include "gui/frm_about.h"
#include "gui/maker.h"
#include "gui/module1.h"
#include "gui/web_browser.h"
#include "qtshared/qt_text.h"

namespace tessark {

namespace {
constexpr int kClockPanel = 5;
}  // namespace

Form2::Form2(Form2Services services) : QWidget(nullptr), services_(std::move(services)) {
    if (!services_.now) {
        services_.now = [] { return QDateTime::currentDateTime(); };
    }
    if (!services_.openWebSite) {
        services_.openWebSite = &Module1::OpenWebSite;
    }
    if (!services_.endProgram) {
        services_.endProgram = [] { QCoreApplication::exit(0); };
    }
    buildControls();
    bridge_.reset(new Bridge{
        QtTextBox(Text1), QtTextBox(Text2), QtTextBox(Text3), QtTextBox(Text4),
        QtOptionButton(Option1), QtLabel(Label2, design::form2Design().find("Label2")->autoSize),
        QtListBox(List1, [this] { List1_Click(); }), QtProgressBar(ProgressBar1), QtMousePointer(),
        QtRepaintHook(), nullptr, nullptr, nullptr, nullptr, services_.fileSystem,
        services_.messages, services_.dialog, services_.drives});
    if (bridge_->fileSystem == nullptr) {
        bridge_->ownFileSystem = makeNativeFileSystem();
        bridge_->fileSystem = bridge_->ownFileSystem.get();
    }
    if (bridge_->messages == nullptr) {
        bridge_->ownMessages = std::make_unique<QtMessageBox>(this);
        bridge_->messages = bridge_->ownMessages.get();
    }
    if (bridge_->dialog == nullptr) {
        bridge_->ownDialog = std::make_unique<QtCommonDialog>(this);
        bridge_->dialog = bridge_->ownDialog.get();
    }
    if (bridge_->drives == nullptr) {
        bridge_->ownDrives = makeNativeDriveSource();
        bridge_->drives = bridge_->ownDrives.get();
    }
    bridge_->repaint.watch(this, Command13);
    wireEvents();
    wireDrops();
    StatusBar1->setClockPanel(kClockPanel);
    Timer1.start();
    Form_Load();
}

// The folder picker writes into this window's boxes: it goes first.
Form2::~Form2() {
    delete picker_.data();
}

MainControls Form2::controls() {
    Bridge& b = *bridge_;
    return {b.text1,        b.text2,     b.text3,   b.text4,     b.option1, b.label2, b.list1,
            b.progressBar1, *StatusBar1, b.pointer, *b.messages, *b.dialog, b.repaint};
}

void Form2::Form_Load() {
    // Centred on the screen by the outer frame, size unchanged.
    if (const QScreen* screen = this->screen()) {
        const QSize outer = frameGeometry().size();
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - outer.width()) / 2,
             area.y() + (area.height() - outer.height()) / 2);
    }
    WebBrowser1->navigate(QStringLiteral("about:blank"));
    WebBrowser1->navigate(maker::advertisementUrl());
}

void Form2::Timer1_Timer() {
    StatusBar1->setPanelText(kClockPanel, tx(longTime(services_.now().time())));
}

void Form2::StatusBar1_PanelClick(int panel) {
    design::statusPanelClick(*this, panel);
}

void Form2::Command12_Click() {
    design::aboutClick(*this);
}

void Form2::hideMain() {
    hide();
}

void Form2::openWebSite() {
    services_.openWebSite();
}

void Form2::showAbout() {
    if (about_ == nullptr) {
        about_ = new frmAbout(this);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void Form2::Command13_Click() {
    services_.endProgram();
}

void Form2::closeEvent(QCloseEvent* event) {
    event->accept();
    services_.endProgram();
}

}  // namespace tessark
