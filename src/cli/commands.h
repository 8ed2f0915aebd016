// SPDX-License-Identifier: MIT
// The commands of tessark-cli, each returning the process's exit status:
// 0 done, 1 failed or refused, 130 stopped by Ctrl+C. Messages go to standard
// error, the listing to standard output.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessark {
class FileSystem;
}

namespace tessark::cli {

inline constexpr int kFailureStatus = 1;
inline constexpr int kUsageStatus = 2;

struct SplitOptions {
    std::string file;
    std::optional<std::string> target;  // default: as the window proposes it
    std::int64_t block = 0;             // bytes per piece
    bool writeScript = true;
    bool writeChecksum = true;
    int recovery = 1;  // recovery slices; 0: no recovery files
    bool quiet = false;
};

struct MergeOptions {
    // One first piece (its whole set is joined), or the pieces in order.
    std::vector<std::string> inputs;
    std::optional<std::string> output;  // default: as Add proposes it
    bool force = false;
    bool allowGaps = false;
    bool verify = true;
    // Rebuild damaged or missing pieces from recovery data beside the set.
    bool repair = true;
    bool quiet = false;
};

struct VerifyOptions {
    std::string firstPiece;
    std::optional<std::string> output;  // the joined file, checked too when given
    bool quiet = false;
};

struct ProtectOptions {
    std::string firstPiece;
    int recovery = 1;
    bool quiet = false;
};

struct RepairOptions {
    std::string firstPiece;
    bool quiet = false;
};

int splitCommand(FileSystem& fs, const SplitOptions& options);
int mergeCommand(FileSystem& fs, const MergeOptions& options);
int listCommand(FileSystem& fs, const std::string& firstPiece);
// 0 when every file matches, 1 when one does not or is missing, 2 without a
// checksum file.
int verifyCommand(FileSystem& fs, const VerifyOptions& options);
// Writes or replaces the set's recovery files once every piece matches the
// checksum file; 1 when one does not, or there is none.
int protectCommand(FileSystem& fs, const ProtectOptions& options);
// Rebuilds damaged or missing pieces in place from the recovery files beside
// them; 0 also when nothing needed it, 1 when it could not.
int repairCommand(FileSystem& fs, const RepairOptions& options);

}  // namespace tessark::cli
