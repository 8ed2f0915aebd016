// SPDX-License-Identifier: MIT
// The merge list's operations: Add, Remove selected, Clear, Move down, Move up
// and the click that shows an entry's path.
#pragma once

#include "engine/core/text.h"

namespace tessark {

struct MainControls;
class FileSystem;

void addPieces(MainControls& window, FileSystem& fs);  // Add button
// Add without the dialog, as if `chosen` had been picked in it: a ".001"
// brings its whole set and warns about the first missing piece and the
// numbered files its checksum file leaves out. True when the set was the one
// its checksum file lists.
bool addPiecesFrom(MainControls& window, FileSystem& fs, const Text& chosen);
void removeSelected(MainControls& window);  // Remove selected button
void clearList(MainControls& window);       // Clear button
void moveDown(MainControls& window);        // Move down button
void moveUp(MainControls& window);          // Move up button
void showPath(MainControls& window);        // click on the list

}  // namespace tessark
