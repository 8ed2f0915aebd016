// SPDX-License-Identifier: MIT
// The file system of the machine the program runs on.
#pragma once

#include <memory>

#include "engine/core/file_system.h"

namespace tessark {

std::unique_ptr<FileSystem> makeNativeFileSystem();

}  // namespace tessark
