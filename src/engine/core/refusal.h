// SPDX-License-Identifier: MIT
// What a refused request points at, so a front end can put the user back on
// the input that needs changing.
#pragma once

namespace tessark {

enum class InputField {
    None,       // nothing to change in a box (e.g. the file is too small to cut)
    Source,     // the file to cut
    Target,     // the pieces' name
    BlockSize,  // the custom block size
    Output      // the merge's output name
};

enum class Selection {
    Keep,       // the caret stays where it is
    All,        // the whole text selected
    CaretToEnd  // the caret after the last character
};

}  // namespace tessark
