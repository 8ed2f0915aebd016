// SPDX-License-Identifier: MIT
#include "gui_test.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace tessark::test {

std::vector<std::pair<std::string, TestFactory>>& testRegistry() {
    static std::vector<std::pair<std::string, TestFactory>> registry;
    return registry;
}

QString captionOf(const QWidget* w) {
    if (const auto* frame = qobject_cast<const QGroupBox*>(w)) {
        return frame->title();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        return button->text();
    }
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        return label->text();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
        return edit->text();
    }
    return {};
}

Harness::Harness(bool nativeFiles) {
    Form2Services services;
    services.fileSystem = nativeFiles ? nullptr : &files;
    services.messages = &messages;
    services.dialog = &dialog;
    services.openWebSite = [this] {
        ++webSiteOpenings;
        log.push_back("web site");
        if (onWebSite) {
            onWebSite();
        }
    };
    services.endProgram = [this] {
        ++endings;
        log.push_back("end");
    };
    services.now = [this] { return clock; };
    form = std::make_unique<Form2>(std::move(services));
}

Harness::~Harness() {
    form.reset();
    // About windows die with the main window; let their deletions run.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool Harness::showActive() {
    form->show();
    form->activateWindow();
    return QTest::qWaitForWindowActive(form.get());
}

QWidget* Harness::aboutWindow() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("frmAbout")) {
            return window;
        }
    }
    return nullptr;
}

}  // namespace tessark::test
