// SPDX-License-Identifier: MIT
// What the checksum file beside a set's pieces says about the set: the pieces
// it lists, in its order, and the whole file's digest.
#pragma once

#include <optional>
#include <vector>

#include "engine/checksum/checksum_file.h"

namespace tessark {

class FileSystem;

struct SetChecksums {
    std::vector<ChecksumEntry> pieces;   // in file order
    std::optional<ChecksumEntry> whole;  // the joined file, its last line
};

// The checksum file of the set a piece belongs to: "folder/m.sha256" for
// "folder/m.001" or "folder/m.003"; nothing for a name that does not end in a
// "." and a piece number.
std::optional<Text> checksumFileOf(const Text& piece);

// Tells the pieces (names made of `fixedPart`, "m.", and a piece number) from
// the whole file, the last line when it names no piece. Nothing when another
// line names anything else, or no piece is named.
std::optional<SetChecksums> interpretChecksums(std::vector<ChecksumEntry> entries,
                                               TextView fixedPart);

// What lies under the name of a set's checksum file.
enum class ChecksumFileStatus {
    None,        // nothing: the set is found from its pieces' numbers
    Unreadable,  // something that cannot be read as this set's checksum file:
                 // not an ordinary file, a read error, or text it does not parse as
    Read
};

struct SetChecksumFile {
    ChecksumFileStatus status = ChecksumFileStatus::None;
    Text path;          // the file looked for; empty for a piece without a number
    SetChecksums sums;  // when Read
};

// Looks up and reads the checksum file of the set of `piece`. A name that
// reaches anything but an ordinary file (a FIFO, a device, a folder, a link
// that leads nowhere) is Unreadable without being opened, so it cannot hang
// the read or pass for "no checksum file". Never reads a piece.
// `stop` is asked now and then while a long file is parsed; when it says
// stop, ReadStopped is thrown.
SetChecksumFile readSetChecksumFile(FileSystem& fs, const Text& piece, const StopFn& stop = {});

}  // namespace tessark
