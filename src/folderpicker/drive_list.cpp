// SPDX-License-Identifier: MIT
#include "folderpicker/drive_list.h"

#include <QSignalBlocker>

#include "engine/platform/drives.h"
#include "qtshared/qt_text.h"

namespace tessark {

DriveList::DriveList(DriveSource& source, QWidget* parent) : QComboBox(parent), source_(source) {
    reload();
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::changed);
}

void DriveList::showDrive(const Text& drive) {
    const QSignalBlocker quiet(this);
    setCurrentIndex(findData(qs(drive)));
}

Text DriveList::currentDrive() const {
    return tx(currentData().toString());
}

void DriveList::showDrive(std::size_t index) {
    const QSignalBlocker quiet(this);
    setCurrentIndex(static_cast<int>(index));
}

std::optional<Text> DriveList::chosenDrive() const {
    if (currentIndex() < 0) {
        return std::nullopt;
    }
    return currentDrive();
}

std::vector<Text> DriveList::drives() const {
    std::vector<Text> all;
    for (int i = 0; i < count(); ++i) {
        all.push_back(tx(itemData(i).toString()));
    }
    return all;
}

void DriveList::showPopup() {
    reload();
    QComboBox::showPopup();
}

void DriveList::reload() {
    const Text shown = currentDrive();
    const QSignalBlocker quiet(this);
    clear();
    for (const Text& drive : source_.drives()) {
        const QString path = qs(drive);
        addItem(path, path);
    }
    // A drive that went away stays listed while it is the one shown.
    if (!shown.empty() && findData(qs(shown)) < 0) {
        addItem(qs(shown), qs(shown));
    }
    showDrive(shown);
}

}  // namespace tessark
