// SPDX-License-Identifier: MIT
// Files handed to Form2 from outside: those named on the command line ("Open
// with" from a file manager) and those dropped onto its split or merge area,
// turned from Qt's lists into the shared handlers' calls.
#include <QGroupBox>
#include <vector>

#include "forms/desktop_files.h"
#include "forms/window_services.h"
#include "gui/file_drops.h"
#include "gui/form2.h"
#include "qtshared/qt_text.h"

namespace tessark {

namespace {

std::vector<Text> texts(const QStringList& files) {
    std::vector<Text> out;
    out.reserve(static_cast<std::size_t>(files.size()));
    for (const QString& file : files) {
        out.push_back(tx(file));
    }
    return out;
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
        [&fs](const QStringList& files) { return sourceDropWanted(fs, texts(files)); },
        [this, &fs](const QStringList& files) {
            dropSource(controller_->controls(), fs, texts(files));
        });
    new FileDropArea(
        built_.get<QGroupBox>(Form2Control::Frame1),
        [&fs](const QStringList& files) { return piecesDropWanted(fs, texts(files)); },
        [this, &fs](const QStringList& files) {
            dropPieces(controller_->controls(), fs, texts(files));
        });
}

}  // namespace tessark
