// SPDX-License-Identifier: MIT
// What a refused request points at, so a front end can put the user back on
// the input that needs changing.
#pragma once

#include "engine/core/text.h"

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

// A request turned down by one of its checks, in the window's own words.
template <typename Check>
struct Refusal {
    Check check;
    Text message;  // the window's own words
    int style;     // the box style it is shown with (mb::...)
    InputField field = InputField::None;
    Selection selection = Selection::Keep;
};

}  // namespace tessark
