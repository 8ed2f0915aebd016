// SPDX-License-Identifier: MIT
// tessark-cli list: a set's pieces with their sizes, the total and the pieces
// missing from it, so that a set can be checked before it is joined.
#include <cstdio>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/refusals.h"
#include "cli/stop_signal.h"
#include "engine/core/file_system.h"
#include "engine/set/piece_set.h"

namespace tessark::cli {
namespace {

std::string row(const std::string& left, const Text& name) {
    char size[32];
    std::snprintf(size, sizeof size, "%15s  ", left.c_str());
    return size + toUtf8(name) + "\n";
}

}  // namespace

int listCommand(FileSystem& fs, const std::string& firstPiece) {
    const Text first = absolutePath(firstPiece);
    if (!isFirstPiece(first)) {
        return fail(quoted(first) + " is not the first piece of a set (a name ending in 001)");
    }
    try {
        SetReadOptions read;
        read.stop = stopRequested;
        const PieceSet set = readPieceSet(fs, first, read);
        const PieceList present = set.present();
        if (present.empty()) {
            return fail("cannot list " + quoted(first) + ": no such file");
        }
        const char16_t sep = fs.separator();
        std::string text;
        std::int64_t total = 0;
        for (std::int64_t i = 0; i < present.size(); ++i) {
            const Text path = present[i];
            const std::int64_t size = fs.fileLength(path);
            total += size;
            text += row(std::to_string(size), GetFileName(path, sep));
        }
        const std::string count = std::to_string(present.size());
        text += row(std::to_string(total),
                    fromUtf8("bytes in " + count + (present.size() == 1 ? " piece" : " pieces")));
        for (const auto& name : set.missing) {
            text += row("missing", name);
        }
        text += row("joins into", set.proposedOutput);
        writeOut(text);
        if (const std::string leftovers = leftoversText(set, sep); !leftovers.empty()) {
            complain(leftovers);
        }
        if (set.checksums.status == ChecksumFileStatus::Unreadable) {
            return fail("cannot read " + quoted(set.checksums.path) +
                        " as a checksum file; the set was found from the pieces' numbers");
        }
        if (set.missingCount != 0) {
            return fail("the set of " + quoted(first) +
                        " is incomplete: " + std::to_string(set.missingCount) +
                        (set.missingCount == 1 ? " piece" : " pieces") + " missing");
        }
        return 0;
    } catch (const RuntimeError& error) {
        return fail(describe(error));
    }
}

}  // namespace tessark::cli
