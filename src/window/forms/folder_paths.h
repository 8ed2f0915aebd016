// SPDX-License-Identifier: MIT
// Folder paths as the directory list walks them: a root ("/", "C:\") ends in
// the separator, any other folder does not.
#pragma once

#include <vector>

#include "engine/core/text.h"

namespace tessark {

// `name` inside `folder`.
Text childFolder(TextView folder, TextView name, char16_t separator);

// The folders from the root down to `folder` itself: "/a/b" gives "/", "/a"
// and "/a/b"; "C:\a" gives "C:\" and "C:\a". A path without a separator is
// its own chain.
std::vector<Text> folderChain(TextView folder, char16_t separator);

// What the directory list shows for a folder: its own name, or the whole path
// for a root.
Text folderCaption(TextView folder, char16_t separator);

}  // namespace tessark
