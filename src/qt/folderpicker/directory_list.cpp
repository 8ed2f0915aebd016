// SPDX-License-Identifier: MIT
#include "folderpicker/directory_list.h"

#include <QKeyEvent>
#include <QStyle>
#include <algorithm>

#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"
#include "forms/folder_paths.h"
#include "qtshared/qt_text.h"

namespace tessark {

namespace {

constexpr int kPathRole = Qt::UserRole;

}  // namespace

DirectoryList::DirectoryList(FileSystem& fs, QWidget* parent) : QTreeWidget(parent), fs_(fs) {
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setIndentation(12);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { open(item); });
}

void DirectoryList::setPath(const Text& folder) {
    std::vector<Text> subfolders = fs_.listFolders(folder);
    std::sort(subfolders.begin(), subfolders.end(), [](const Text& a, const Text& b) {
        const int order = qs(a).compare(qs(b), Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    display(folder, subfolders);
}

void DirectoryList::showUnlisted(const Text& folder) {
    display(folder, {});
}

void DirectoryList::refresh() {
    try {
        setPath(path_);
    } catch (...) {
        // The folder shown stays the open one; only its listing is old.
    }
}

Text DirectoryList::highlightedPath() const {
    const QTreeWidgetItem* item = currentItem();
    return item ? tx(item->data(0, kPathRole).toString()) : path_;
}

void DirectoryList::display(const Text& folder, const std::vector<Text>& subfolders) {
    const char16_t separator = fs_.separator();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QIcon driveIcon = style()->standardIcon(QStyle::SP_DriveHDIcon);

    clear();
    QTreeWidgetItem* parent = nullptr;
    for (const Text& ancestor : folderChain(folder, separator)) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
        item->setText(0, qs(folderCaption(ancestor, separator)));
        item->setIcon(0, parent ? openIcon : driveIcon);
        item->setData(0, kPathRole, qs(ancestor));
        parent = item;
    }
    for (const Text& name : subfolders) {
        auto* item = new QTreeWidgetItem(parent);
        item->setText(0, qs(name));
        item->setIcon(0, closedIcon);
        item->setData(0, kPathRole, qs(childFolder(folder, name, separator)));
    }
    expandAll();
    setCurrentItem(parent);
    scrollToItem(parent);

    const bool moved = folder != path_;
    path_ = folder;
    if (moved) {
        emit changed();
    }
}

void DirectoryList::open(QTreeWidgetItem* item) {
    const Text folder = tx(item->data(0, kPathRole).toString());
    if (folder == path_) {
        return;
    }
    try {
        setPath(folder);
    } catch (...) {
        emit openFailed(currentErrorNumber());
    }
}

void DirectoryList::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    QTreeWidgetItem* item = currentItem();
    if (item && highlightedPath() != path_) {
        open(item);
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace tessark
