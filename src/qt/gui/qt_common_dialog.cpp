// SPDX-License-Identifier: MIT
#include "gui/qt_common_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

#include "qtshared/qt_text.h"

namespace tessark {

QStringList nameFilters(const Text& filter) {
    const QStringList parts = qs(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*")) {
                pattern = QStringLiteral("*");
            }
        }
        filters << parts.at(i) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters;
}

QString startFolder(const Text& initDir) {
    const QString held = QDir::fromNativeSeparators(qs(initDir));
    if (!held.isEmpty() && QDir(held).exists()) {
        return held;
    }
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void QtCommonDialog::showOpen() {
    QFileDialog dialog(parent_, qs(dialogTitle), startFolder(initDir));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode((flags & cdl::FileMustExist) != 0 ? QFileDialog::ExistingFile
                                                         : QFileDialog::AnyFile);
    // The descriptions already list their patterns.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(nameFilters(filter));
    if (!fileName.empty()) {
        dialog.selectFile(qs(fileName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        fileName.clear();
        return;
    }
    fileName = tx(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

}  // namespace tessark
