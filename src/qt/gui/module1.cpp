// SPDX-License-Identifier: MIT
#include "gui/module1.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include "gui/qt_maker.h"

namespace tessark::Module1 {

void OpenWebSite() {
#ifdef Q_OS_WIN
    // The shell opens an address given to explorer.exe in the default browser.
    QProcess::startDetached(QStringLiteral("explorer.exe"), {maker::webSiteUrl()});
#else
    QDesktopServices::openUrl(QUrl(maker::webSiteUrl()));
#endif
}

}  // namespace tessark::Module1
