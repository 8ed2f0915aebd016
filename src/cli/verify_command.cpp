// SPDX-License-Identifier: MIT
// tessark-cli verify: every piece of a set (and the joined file, when named)
// against the set's checksum file, one line per file as the GNU tools print
// them, without joining anything.
#include <cstdint>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/refusals.h"
#include "cli/stop_signal.h"
#include "engine/checksum/hash_file.h"
#include "engine/checksum/set_checksums.h"
#include "engine/core/file_system.h"

namespace tessark::cli {
namespace {

enum class Verdict { Ok, Failed, Missing };

struct Tally {
    std::int64_t ok = 0;
    std::int64_t failed = 0;
    std::int64_t missing = 0;

    void add(Verdict verdict) {
        switch (verdict) {
            case Verdict::Ok:
                ++ok;
                return;
            case Verdict::Failed:
                ++failed;
                return;
            case Verdict::Missing:
                ++missing;
                return;
        }
    }
};

const char* word(Verdict verdict) {
    switch (verdict) {
        case Verdict::Ok:
            return "OK";
        case Verdict::Failed:
            return "FAILED";
        case Verdict::Missing:
            return "MISSING";
    }
    return "FAILED";
}

// The file's verdict; nothing when Ctrl+C stopped the hashing. A file that
// cannot be read has FAILED, as the GNU tools count it, and says why.
std::optional<Verdict> check(FileSystem& fs, const Text& path, const Sha256Digest& expected,
                             Progress& progress, const ProgressFn& report) {
    if (!fs.fileExists(path)) {
        return Verdict::Missing;
    }
    try {
        const auto digest = hashFile(fs, path, progress, report);
        if (!digest) {
            return std::nullopt;
        }
        return *digest == expected ? Verdict::Ok : Verdict::Failed;
    } catch (const RuntimeError& error) {
        complain(describe(error));
        return Verdict::Failed;
    }
}

}  // namespace

int verifyCommand(FileSystem& fs, const VerifyOptions& options) {
    const Text first = absolutePath(options.firstPiece);
    const auto file = checksumFileOf(first);
    if (!file) {
        complain(quoted(first) + " is not a piece of a set (a name ending in .001)");
        return kUsageStatus;
    }
    try {
        if (!fs.fileExists(*file)) {
            complain("no checksum file " + quoted(*file) + " beside " + quoted(first));
            return kUsageStatus;
        }
        const auto set = readSetChecksums(fs, first);
        if (!set) {
            return fail("cannot read " + quoted(*file) + " as the checksum file of " +
                        quoted(first));
        }
        const Text folder = folderPart(*file, fs.separator()).value_or(Text()) + fs.separator();
        const Text output = options.output ? absolutePath(*options.output) : Text();
        if (!output.empty() && !set->whole) {
            return fail(quoted(*file) + " holds no checksum of the joined file");
        }

        Progress progress{0, 0, 0, static_cast<std::int64_t>(set->pieces.size())};
        for (const auto& piece : set->pieces) {
            if (fs.fileExists(folder + piece.name)) {
                progress.bytesTotal += fs.fileLength(folder + piece.name);
            }
        }
        if (!output.empty() && fs.fileExists(output)) {
            progress.bytesTotal += fs.fileLength(output);
        }
        ProgressLine line = progressLineFor(options.quiet);
        const ProgressFn report = reportTo(line);
        Tally tally;
        const auto tell = [&](const std::string& name, const Sha256Digest& digest,
                              const Text& path) -> bool {
            const auto verdict = check(fs, path, digest, progress, report);
            if (!verdict) {
                return false;
            }
            line.finish();
            writeOut(name + ": " + word(*verdict) + "\n");
            tally.add(*verdict);
            return true;
        };
        for (const auto& piece : set->pieces) {
            if (!tell(toUtf8(piece.name), piece.digest, folder + piece.name)) {
                line.finish();
                complain("verify stopped");
                return kStoppedStatus;
            }
        }
        if (!output.empty() && !tell(*options.output, set->whole->digest, output)) {
            line.finish();
            complain("verify stopped");
            return kStoppedStatus;
        }
        const std::string summary =
            toUtf8(GetFileName(*file, fs.separator())) + ": " + std::to_string(tally.ok) + " OK, " +
            std::to_string(tally.failed) + " FAILED, " + std::to_string(tally.missing) + " MISSING";
        if (tally.failed != 0 || tally.missing != 0) {
            return fail(summary);
        }
        writeOut(summary + "\n");
        return 0;
    } catch (const RuntimeError& error) {
        return fail(describe(error));
    }
}

}  // namespace tessark::cli
