// SPDX-License-Identifier: MIT
// The sets described by the packets of several .par2 files, and the one of
// them that describes a given list of pieces. Nothing read is trusted: a
// main packet must hash to its set identifier, a file description to its
// file identifier, names must be plain file names, counts must agree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "engine/core/text.h"
#include "engine/recovery/par2_format.h"
#include "engine/recovery/par2_scan.h"

namespace tessark::par2 {

struct DescribedFile {
    Id id{};
    std::int64_t length = 0;
    Text name;
    std::vector<SliceCheck> slices;
};

struct FoundRecovery {
    std::size_t file = 0;  // which scanned file
    RecoveryRef ref;
};

struct CandidateSets {
    std::map<Id, std::vector<std::byte>> mains;  // set -> main body, hashing to the set
    std::map<std::pair<Id, Id>, FileEntry> descriptions;
    std::map<std::pair<Id, Id>, std::vector<SliceCheck>> checks;
    std::vector<FoundRecovery> recovery;
    std::map<Id, std::vector<std::size_t>> filesOfSet;  // which scanned files gave each set
};

// Adds the packets of one scanned file (the `index`th).
void addScanned(CandidateSets& sets, std::size_t index, ScannedFile&& file, char16_t separator);

struct ChosenSet {
    Id id{};
    std::int64_t sliceSize = 0;
    std::vector<DescribedFile> files;  // in the main packet's order
    std::vector<std::size_t> pieceOf;  // per file, the piece it describes
};

// The set whose every file is one of `pieces` (by name), the one naming the
// most pieces, then with the most recovery slices; nothing when none does.
std::optional<ChosenSet> chooseSet(const CandidateSets& sets, const std::vector<Text>& pieces);

}  // namespace tessark::par2
