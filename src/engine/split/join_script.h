// SPDX-License-Identifier: MIT
// Link.bat: the command processor's byte-exact copy that rejoins the pieces.
#pragma once

#include <cstdint>
#include <functional>
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

// The pieces the script joins, in order: `count` names, the one at 0-based
// `index` given on demand by `nameAt` so that no list of them is needed.
struct ScriptPieces {
    std::int64_t count = 0;
    std::function<Text(std::int64_t index)> nameAt;
};

// The script's lines in order, each handed to `emit` with its CR LF: encoded
// as FileSystem::encodeAnsi makes them. At most one line is held at a time.
void joinScriptLines(FileSystem& fs, const ScriptPieces& pieces, const Text& mergeName,
                     const std::function<void(const std::string&)>& emit);

// The script's bytes, whole.
std::string joinScriptBytes(FileSystem& fs, const std::vector<Text>& pieces, const Text& mergeName);

// Writes (or replaces) the script at `path`, a block of lines at a time;
// never over the file `mustNotBe`. A script that could not be written whole
// is removed.
void writeJoinScriptFile(FileSystem& fs, const Text& path, const ScriptPieces& pieces,
                         const Text& mergeName, std::optional<FileId> mustNotBe);

// Writes (or replaces) Link.bat in the target's folder; never over the file
// `mustNotBe` (error 70, see FileSystem::createFile).
void writeJoinScript(FileSystem& fs, const Text& target, const std::vector<Text>& pieces,
                     const Text& mergeName, std::optional<FileId> mustNotBe = std::nullopt);

}  // namespace tessark
