// SPDX-License-Identifier: MIT
#include "gui/file_drops.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace tessark {

FileDropArea::FileDropArea(QWidget* area, Wants wants, Take take)
    : QObject(area), wants_(std::move(wants)), take_(std::move(take)) {
    area->setAcceptDrops(true);
    area->installEventFilter(this);
    // Boxes take drops of their own (text); a file dropped on one of them is
    // still meant for the area.
    for (QWidget* inside : area->findChildren<QWidget*>()) {
        if (inside->acceptDrops()) {
            inside->installEventFilter(this);
        }
    }
}

bool FileDropArea::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return QObject::eventFilter(watched, event);
    }
    auto& drop = static_cast<QDropEvent&>(*event);
    if (!drop.mimeData()->hasUrls()) {
        return false;  // text for a box
    }
    const QStringList files = localFiles(*drop.mimeData());
    // The files are looked at when the drag comes in and when it is dropped,
    // not at every move of the mouse.
    if (type != QEvent::DragMove || !wanted_) {
        wanted_ = !files.isEmpty() && wants_(files);
    }
    if (!accept(drop)) {
        drop.ignore();
    } else if (type == QEvent::Drop) {
        // The file manager waits for the drop to finish; the action may ask
        // questions, so it runs once the drop is over.
        QMetaObject::invokeMethod(
            this, [this, files] { take_(files); }, Qt::QueuedConnection);
    }
    if (type == QEvent::Drop) {
        wanted_.reset();
    }
    return true;
}

bool FileDropArea::accept(QDropEvent& drop) const {
    // While a box or the folder picker is up, the window waits for its answer.
    if (!wanted_.value_or(false) || QApplication::activeModalWidget() != nullptr) {
        return false;
    }
    // Never a move: the file manager would delete what it thinks was moved.
    for (const Qt::DropAction action : {Qt::CopyAction, Qt::LinkAction}) {
        if (drop.possibleActions().testFlag(action)) {
            drop.setDropAction(action);
            drop.accept();
            return true;
        }
    }
    return false;
}

QStringList localFiles(const QMimeData& data) {
    QStringList files;
    for (const QUrl& url : data.urls()) {
        const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
        if (path.isEmpty()) {
            return {};
        }
        files << QDir::toNativeSeparators(path);
    }
    return files;
}

}  // namespace tessark
