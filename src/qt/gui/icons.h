// SPDX-License-Identifier: MIT
// The window's pictures, drawn for this program with QPainter.
#pragma once

#include <QIcon>
#include <QImage>

#include "design/window_design.h"

namespace tessark::icons {

QIcon openFolder();    // the browse buttons
QIcon blankPage();     // Add
QIcon blackCross();    // Remove selected
QIcon redCrossList();  // Clear
QIcon arrowUp();       // Move up
QIcon arrowDown();     // Move down
QIcon splitPicture();  // Start split, 24 × 23
QIcon mergePicture();  // Start merge, 24 × 23
QIcon program();       // the window icon

// The picture a window description names.
QIcon picture(design::Picture picture);

// The program's icon as an image of `size` × `size` pixels.
QImage programImage(int size);

}  // namespace tessark::icons
