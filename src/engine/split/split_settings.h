// SPDX-License-Identifier: MIT
// The split inputs: the proposed target and size caption for a chosen source.
#pragma once

#include <cstdint>

#include "engine/core/text.h"

namespace tessark {

struct MainControls;
class FileSystem;

// Bytes in the fixed "1.44M" block: 1.38 × 1,048,576 rounded.
inline constexpr std::int64_t kFloppyBlock = 1447035;

// The source path with "$" inserted before its last four characters, or the
// path unchanged when it holds no "." at all.
Text DeriveTargetName(const Text& source);

// "文件大小：N KB" with N the whole kilobytes.
Text SizeCaption(std::int64_t bytes);

// Browse for the source (the source browse button): the shared dialog with
// flags 4100; a chosen file fills Text1, Text2 and Label2.
void browseSource(MainControls& window, FileSystem& fs);
// What the source browse does with a chosen file, without the dialog.
void takeSource(MainControls& window, FileSystem& fs, const Text& path);

}  // namespace tessark
