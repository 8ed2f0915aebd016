// SPDX-License-Identifier: MIT
// A directory list: the open folder's ancestors from the root down, the open
// folder itself, then its subfolders. A single click only highlights an
// entry; a double-click or Enter opens it. Enter on the open folder itself is
// left to the window, whose default button takes it.
#pragma once

#include <QTreeWidget>

#include "engine/core/text.h"
#include "forms/form1_controller.h"

namespace tessark {

class FileSystem;

class DirectoryList : public QTreeWidget, public FolderList {
    Q_OBJECT

  public:
    DirectoryList(FileSystem& fs, QWidget* parent);

    // The open folder.
    const Text& path() const override { return path_; }

    // Opens `folder` and lists its subfolders, then notifies a change when the
    // open folder is another one. When the listing fails, its run-time error
    // is thrown and the list stays as it was.
    void setPath(const Text& folder) override;

    // Opens `folder` without its subfolders, for a folder that cannot be
    // listed but must be shown.
    void showUnlisted(const Text& folder) override;

    // Lists the open folder's subfolders again; keeps the old listing when
    // that fails.
    void refresh();

    // The folder of the highlighted entry.
    Text highlightedPath() const;

  signals:
    void changed();
    // Opening an entry failed with this run-time error number.
    void openFailed(int number);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Every level is always open: the indentation alone shows the nesting.
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

  private:
    void display(const Text& folder, const std::vector<Text>& subfolders);
    void open(QTreeWidgetItem* item);

    FileSystem& fs_;
    Text path_;
};

}  // namespace tessark
