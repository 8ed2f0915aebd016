// SPDX-License-Identifier: MIT
#include "gui/frm_about.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QScreen>

#include "design/window_design.h"
#include "gui/icons.h"
#include "qtshared/qt_window_builder.h"

namespace tessark {

frmAbout::frmAbout(QWidget* mainWindow) : QDialog(mainWindow), mainWindow_(mainWindow) {
    setAttribute(Qt::WA_DeleteOnClose);
    QtWidgetMakers makers;
    makers.picture = &icons::picture;
    const QtBuiltControls built = buildWindow(this, design::aboutDesign(), makers);
    connect(built.get<QPushButton>(design::AboutControl::cmdOK), &QPushButton::clicked, this,
            [this] { controller_.cmdOK_Click(); });

    if (const QScreen* screen = mainWindow->screen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void frmAbout::showMain() {
    mainWindow_->show();
}

void frmAbout::closeAbout() {
    close();
}

void frmAbout::reject() {
    controller_.cmdOK_Click();
}

void frmAbout::done(int /*result*/) {
    controller_.cmdOK_Click();
}

void frmAbout::closeEvent(QCloseEvent* event) {
    controller_.Form_Unload();
    event->accept();
}

}  // namespace tessark
