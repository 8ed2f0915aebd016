// SPDX-License-Identifier: MIT
// Files dragged from a file manager onto an area of a window. An area takes
// local files only: while a drag that carries anything else (a web address, a
// file the area does not want) is over it, the cursor says no. Text dragged
// into a box of the area still goes to the box.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

class QDropEvent;
class QMimeData;
class QWidget;

namespace tessark {

class FileDropArea : public QObject {
    Q_OBJECT

  public:
    // `wants` says whether the area takes these files (native paths, in the
    // drag's order); `take` gets them after the drop, once the file manager
    // has been told the drop is done, so it may show message boxes.
    using Wants = std::function<bool(const QStringList& files)>;
    using Take = std::function<void(const QStringList& files)>;

    // Covers `area` and every box inside it that would take a drop itself.
    FileDropArea(QWidget* area, Wants wants, Take take);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool accept(QDropEvent& drop) const;

    Wants wants_;
    Take take_;
    std::optional<bool> wanted_;  // by the drag over the area now
};

// The local files a drag carries as native paths; empty when it carries any
// address that is not a local file.
QStringList localFiles(const QMimeData& data);

}  // namespace tessark
