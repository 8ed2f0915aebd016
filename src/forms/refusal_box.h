// SPDX-License-Identifier: MIT
// The window's table of refusals: for each check of the split and the merge,
// the words of its box, the box's style and the input box the user is put
// back on.
#pragma once

#include "engine/core/text.h"
#include "engine/merge/merge_plan.h"
#include "engine/split/split_plan.h"

namespace tessark {

struct MainControls;

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

// How the window shows a refusal.
struct RefusalBox {
    Text message;
    int style;  // mb::...
    InputField field = InputField::None;
    Selection selection = Selection::Keep;
};

RefusalBox refusalBox(const SplitRefusal& refusal);
RefusalBox refusalBox(const MergeRefusal& refusal);

// Shows the refusal's box and puts the user back on the box it points at.
void showRefusal(MainControls& window, const RefusalBox& box);

}  // namespace tessark
