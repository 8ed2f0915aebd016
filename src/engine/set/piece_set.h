// SPDX-License-Identifier: MIT
// A set of pieces read once, as a value: its checksum file, its pieces, what
// is missing and what lies beside it without belonging to it, the whole
// file's digest and the output Add proposes. Add, the merge, `list` and
// `verify` all take the set from here.
//
// When the first piece's checksum file is read, the set is exactly the pieces
// it lists, in its order: numbered files beside them that it does not list
// are left over, never joined. Without one (or when it cannot be read) the
// set is found from the numbers: every file of the first piece's fixed part
// and a piece number, in number order, the gaps below the highest missing.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/checksum/set_checksums.h"
#include "engine/core/piece_names.h"
#include "engine/core/progress.h"
#include "engine/core/runtime_error.h"
#include "engine/core/sha256.h"
#include "engine/core/text.h"
#include "engine/merge/piece_list.h"

namespace tessark {

class FileSystem;

enum class PieceState {
    Present,     // there; not hashed, or nothing to hash it against
    Missing,     // listed by the checksum file and not there (an ordinary file)
    Matches,     // hashed: the digest the checksum file gives it
    Damaged,     // hashed: another digest
    Unreadable,  // there, but reading it failed (SetPiece::error says why)
    // Recovery data adds the states of pieces it can rebuild here.
};

struct SetPiece {
    Text name;                             // without folder
    std::int64_t number = 0;               // kPieceNumberTooLong when too long
    std::optional<Sha256Digest> expected;  // from the checksum file
    PieceState state = PieceState::Present;
    std::int64_t length = 0;  // of a piece the checksum file lists, when there
    std::optional<RuntimeError> error;
};

// Numbered files beside a set that its checksum file does not list.
struct Leftovers {
    std::int64_t count = 0;
    Text first;  // the lowest numbered of them, without folder
};

// What recovery data beside the set can rebuild (set/set_recovery.h fills it).
struct SetRecovery {
    bool looked = false;              // recovery data was looked for
    bool found = false;               // some describes the set's pieces
    std::int64_t lostSlices = 0;      // damaged or missing, to rebuild
    std::int64_t recoverySlices = 0;  // sound recovery slices at hand
    std::vector<Text> files;          // the recovery files that describe the set

    bool canRebuild() const { return found && lostSlices > 0 && lostSlices <= recoverySlices; }
};

enum class SetHashing {
    NotAsked,
    Done,    // every listed piece that is there was hashed
    Stopped  // the progress callback asked to stop: the states are partial
};

inline constexpr std::size_t kMaxMissing = 100;

struct PieceSet {
    Text firstPiece;  // as chosen
    Text folder;      // its folder, with the separator at its end
    Text fixedPart;   // "m." for ".../m.001"
    SetChecksumFile checksums;

    // The pieces: the checksum file's, in its order, missing ones included;
    // found by numbers, those that are there, in number order. Empty when
    // `run` holds them.
    std::vector<SetPiece> pieces;
    // Found by numbers as a split names them, exactly 1 to `run` with no
    // gap: held as a count (PieceList::numbered), however many there are.
    std::int64_t run = 0;

    // Names (without folder) of the missing pieces, the first kMaxMissing:
    // those the checksum file lists that are not there; found by numbers,
    // the numbers below the highest piece that none has.
    std::vector<Text> missing;
    std::int64_t missingCount = 0;

    Leftovers leftovers;  // only when the checksum file is read
    Text proposedOutput;  // the merge output Add proposes
    SetRecovery recovery;

    SetHashing hashing = SetHashing::NotAsked;
    // The joined file named for checking, when it was hashed too.
    std::optional<PieceState> joined;

    bool listed() const { return checksums.status == ChecksumFileStatus::Read; }
    const std::optional<ChecksumEntry>& whole() const { return checksums.sums.whole; }
    // How many pieces the set has, missing ones listed by the checksum file
    // included.
    std::int64_t size() const;
    // The pieces that are there, as full paths in the set's order: what Add
    // lists and a merge of the set joins.
    PieceList present() const;
    // The full path of a piece of `pieces`.
    Text pathOf(const SetPiece& piece) const { return folder + piece.name; }
};

struct SetReadOptions {
    // Hash every piece that is there and has a digest, marking it Matches,
    // Damaged or Unreadable (what `verify` does), reporting to `progress`.
    bool hash = false;
    // With `hash`, a joined file to check against the whole file's digest.
    std::optional<Text> joined;
    ProgressFn progress;
    // Asked while a long checksum file is parsed: true ends the read with
    // ReadStopped.
    StopFn stop = {};
};

// The names (without folder) of the set's pieces in its order, the missing
// pieces its checksum file lists included: what recovery data is matched to.
std::vector<Text> pieceNames(const PieceSet& set);

// Reads the set of `firstPiece` (a full path ending in "001"): the checksum
// file once, the folder walked once or twice without holding names that do
// not belong to the set, each listed piece looked up. Throws RuntimeError
// when the folder cannot be read.
PieceSet readPieceSet(FileSystem& fs, const Text& firstPiece, const SetReadOptions& options = {});

}  // namespace tessark
