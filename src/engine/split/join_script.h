// SPDX-License-Identifier: MIT
// Link.bat: the command processor's byte-exact copy that rejoins the pieces.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/core/file_system.h"
#include "engine/core/text.h"

namespace tessark {

// Whether a file name can stand inside the script's quotes: the command
// processor cannot keep a '"' or a control character (below U+0020, DEL)
// inside them, and such a name would end the quoting and run the rest.
bool safeInScript(TextView fileName);

// Link.bat in the target's folder. Raises error 5 for a target without a
// folder part.
Text joinScriptPath(const Text& target, char16_t separator);

// The script's bytes: encoded in the system's ANSI code page, CR LF line ends.
std::string joinScriptBytes(FileSystem& fs, const std::vector<Text>& pieces, const Text& mergeName);

// Writes (or replaces) the script at `path` with `bytes`; never over the file
// `mustNotBe`. A script that could not be written whole is removed.
void writeJoinScriptFile(FileSystem& fs, const Text& path, const std::string& bytes,
                         std::optional<FileId> mustNotBe);

// Writes (or replaces) Link.bat in the target's folder; never over the file
// `mustNotBe` (error 70, see FileSystem::createFile).
void writeJoinScript(FileSystem& fs, const Text& target, const std::vector<Text>& pieces,
                     const Text& mergeName, std::optional<FileId> mustNotBe = std::nullopt);

}  // namespace tessark
