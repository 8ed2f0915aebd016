#include "folderpicker/drive_list.h"

#include <QSignalBlocker>

#include "platform/drives.h"

namespace tessark {

DriveList::DriveList(DriveSource& source, QWidget* parent) : QComboBox(parent), source_(source) {
    reload();
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::changed);
}

void DriveList::showDrive(const Text& drive) {
    const QSignalBlocker quiet(this);
    setCurrentIndex(findData(QString::fromStdU16String(drive)));
}

Text DriveList::currentDrive() const {
    return currentData().toString().toStdU16String();
}

std::vector<Text> DriveList::drives() const {
    std::vector<Text> all;
    for (int i = 0; i < count(); ++i) {
        all.push_back(itemData(i).toString().toStdU16String());
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
        const QString path = QString::fromStdU16String(drive);
        addItem(path, path);
    }
    // A drive that went away stays listed while it is the one shown.
    if (!shown.empty() && findData(QString::fromStdU16String(shown)) < 0) {
        addItem(QString::fromStdU16String(shown), QString::fromStdU16String(shown));
    }
    showDrive(shown);
}

}  // namespace tessark
