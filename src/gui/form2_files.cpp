// SPDX-License-Identifier: MIT
// Files handed to Form2 from outside: those named on the command line and
// those dropped onto its split or merge area, passed on as the shared
// behaviour takes them.
#include <QGroupBox>
#include <vector>

#include "forms/handed_files.h"
#include "forms/window_services.h"
#include "gui/file_drops.h"
#include "gui/form2.h"
#include "qtshared/qt_text.h"

namespace tessark {

namespace {

std::vector<Text> texts(const QStringList& files) {
    std::vector<Text> paths;
    paths.reserve(static_cast<std::size_t>(files.size()));
    for (const QString& file : files) {
        paths.push_back(tx(file));
    }
    return paths;
}

}  // namespace

void Form2::openFiles(const QStringList& paths) {
    tessark::openFiles(controller_->controls(), services_->fileSystem(), texts(paths));
}

void Form2::wireDrops() {
    FileSystem& fs = services_->fileSystem();
    using design::Form2Control;
    new FileDropArea(
        built_.get<QGroupBox>(Form2Control::Frame4),
        [&fs](const QStringList& files) { return takesSourceDrop(fs, texts(files)); },
        [this, &fs](const QStringList& files) {
            dropSource(controller_->controls(), fs, texts(files));
        });
    new FileDropArea(
        built_.get<QGroupBox>(Form2Control::Frame1),
        [&fs](const QStringList& files) { return takesPieceDrop(fs, texts(files)); },
        [this, &fs](const QStringList& files) {
            dropPieces(controller_->controls(), fs, texts(files));
        });
}

}  // namespace tessark
