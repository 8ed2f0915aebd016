// SPDX-License-Identifier: MIT
// Writing PAR 2.0 recovery files for a set of pieces in one folder: the index
// BASE.par2 (what the pieces should be) and the volumes BASE.vol0+1.par2 ...
// (the recovery slices, with the same description). Any PAR 2.0 client can
// check and repair the set with them.
//
// Memory stays within kRecoveryMemory whatever the slice size and count: the
// recovery slices are computed in one pass when all of them fit, otherwise in
// passes over windows of every slice (each pass reads one window of every
// piece and completes that window of every recovery slice).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "engine/core/file_system.h"
#include "engine/core/progress.h"
#include "engine/core/text.h"

namespace tessark::recovery {

// The recovery windows' share of memory.
inline constexpr std::int64_t kRecoveryMemory = std::int64_t{256} << 20;

struct CreateRequest {
    std::vector<Text> pieces;    // full paths, all in one folder, in the set's order
    Text base;                   // "folder/m": folder/m.par2, folder/m.vol0+1.par2 ...
    std::int64_t sliceSize = 0;  // a multiple of 4; 0: the longest piece's length rounded up
    std::uint32_t recoverySlices = 1;
    // Files no recovery file may be written over, whatever name reaches them
    // (the split's source); the pieces are always among them.
    std::vector<FileId> mustNotBe;
    // The recovery windows' memory; less makes more passes (for tests).
    std::int64_t memory = kRecoveryMemory;
};

enum class CreateCheck {
    NoPieces,
    EmptyPiece,       // a piece of no bytes: it has no slice to protect
    BadSliceSize,     // not a positive multiple of 4
    TooManySlices,    // more than 32,768 input slices
    BadRecoveryCount  // none, or more than 32,768
};

// The slice size a set gets by default: its longest piece, rounded up to a
// multiple of 4, so that every piece is one slice.
std::int64_t defaultSliceSize(std::int64_t longestPiece);

// Recovery files computed but not yet in place: destroying this leaves the
// folder as it was.
class PreparedRecovery {
  public:
    PreparedRecovery(FileSystem& fs, std::vector<Text> paths,
                     std::vector<std::unique_ptr<StagedFile>> staged, std::vector<FileId> guard);
    PreparedRecovery(PreparedRecovery&&) noexcept = default;
    PreparedRecovery& operator=(PreparedRecovery&&) noexcept = default;
    PreparedRecovery(const PreparedRecovery&) = delete;

    const std::vector<Text>& paths() const { return paths_; }
    // Puts the files in place, volumes first, index last, unless a name has
    // come to reach a guarded file (error 70); then removes the volumes of an
    // earlier run under the same base that this one does not replace.
    void commit();

  private:
    FileSystem* fs_;
    std::vector<Text> paths_;  // index first
    std::vector<std::unique_ptr<StagedFile>> staged_;
    std::vector<FileId> guard_;
};

// The checks of a request, without reading the pieces' contents.
std::optional<CreateCheck> checkCreate(FileSystem& fs, const CreateRequest& request);

// The paths the request would write, index first.
std::vector<Text> recoveryPaths(const Text& base, std::uint32_t recoverySlices);

// Reads every piece (once when the recovery slices fit in memory, else once
// per window pass) and writes the recovery files staged. `progress.bytesDone`
// grows by the bytes read; nothing when `report` asked to stop. Throws
// RuntimeError on a disk error, or error 57 when a piece is shorter than when
// it was measured.
std::variant<CreateCheck, std::optional<PreparedRecovery>> prepareRecovery(
    FileSystem& fs, const CreateRequest& request, Progress& progress, const ProgressFn& report);

enum class ProtectOutcome { Written, Stopped };

// The recovery files of the request written (or replaced) in one go.
std::variant<CreateCheck, ProtectOutcome> protectPieces(FileSystem& fs,
                                                        const CreateRequest& request,
                                                        const ProgressFn& report);

}  // namespace tessark::recovery
