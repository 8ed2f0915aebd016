// SPDX-License-Identifier: MIT
// The file system of the machine the program runs on.
#pragma once

#include <memory>

#include "engine/core/file_system.h"

namespace tessark {

std::unique_ptr<FileSystem> makeNativeFileSystem();

// A path as typed by the user (command line, "Open with") made absolute by
// the rules of this system, against the current folder; as typed when it
// cannot be (the file system then reports why).
Text absoluteNativePath(const Text& typed);

}  // namespace tessark
