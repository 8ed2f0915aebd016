// SPDX-License-Identifier: MIT
// tessark-cli's command line: parses the arguments and runs the command.
#pragma once

#include <string>
#include <vector>

namespace tessark {
class FileSystem;
}

namespace tessark::cli {

// `arguments` are those after the program's name, in UTF-8. Returns the exit
// status: 2 for a usage error, otherwise the command's.
int runApp(FileSystem& fs, const std::vector<std::string>& arguments);

}  // namespace tessark::cli
