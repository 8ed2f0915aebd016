// SPDX-License-Identifier: MIT
#include "cli/app.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <sstream>

#include "cli/block_size.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "engine/split/split_settings.h"
#include "version/version.h"

namespace tessark::cli {
namespace {

const char kVersion[] = "tessark-cli (Tessark) " TESSARK_VERSION;
constexpr int kMaxRecoverySlices = 32768;

struct SplitFlags {
    std::string size;
    bool floppy = false;
    bool noScript = false;
    bool noChecksum = false;
    bool noRecovery = false;
};

void addSplit(CLI::App& app, SplitOptions& options, SplitFlags& flags) {
    auto* split = app.add_subcommand(
        "split",
        "Cut FILE into pieces TARGET.001, TARGET.002, ... and write Link.bat and TARGET.sha256 "
        "beside them.");
    split->add_option("FILE", options.file, "the file to split")->required();
    split->add_option("-o,--output", options.target,
                      "the name the pieces extend (default: FILE with '$' before its extension)");
    auto* bytes = split->add_option(
        "-b,--bytes", flags.size,
        "bytes per piece: a number with K, M, G (powers of 1024) or KB, MB, GB (powers of "
        "1000), or 1.44M (default: 1.44M, 1,447,035 bytes)");
    split->add_flag("--floppy", flags.floppy, "pieces of the fixed 1.44M block")->excludes(bytes);
    split->add_flag("--no-script", flags.noScript, "do not write Link.bat");
    split->add_flag("--no-checksum", flags.noChecksum,
                    "do not write TARGET.sha256 (the pieces' and the file's SHA-256)");
    auto* recovery = split->add_option(
        "-r,--recovery", options.recovery,
        "recovery slices in TARGET.par2 and TARGET.vol*.par2: that many lost or damaged pieces "
        "can be rebuilt (default: 1)");
    recovery->check(CLI::Range(1, kMaxRecoverySlices));
    split->add_flag("--no-recovery", flags.noRecovery, "do not write recovery files")
        ->excludes(recovery);
    split->add_flag("-q,--quiet", options.quiet, "show no progress");
}

void addProtect(CLI::App& app, ProtectOptions& options) {
    auto* protect = app.add_subcommand(
        "protect",
        "Check the set of FIRST.001 against its checksum file, then write (or replace) its "
        "recovery files FIRST.par2 and FIRST.vol*.par2.");
    protect->add_option("FIRST.001", options.firstPiece, "the first piece of the set")->required();
    protect
        ->add_option(
            "-r,--recovery", options.recovery,
            "recovery slices: that many lost or damaged pieces can be rebuilt (default: 1)")
        ->check(CLI::Range(1, kMaxRecoverySlices));
    protect->add_flag("-q,--quiet", options.quiet, "show no progress");
}

void addRepair(CLI::App& app, RepairOptions& options) {
    auto* repair = app.add_subcommand(
        "repair",
        "Rebuild the damaged or missing pieces of the set of FIRST.001 in place from the recovery "
        "files beside them; a damaged piece is kept as NAME.damaged.");
    repair->add_option("FIRST.001", options.firstPiece, "the first piece of the set")->required();
    repair->add_flag("-q,--quiet", options.quiet, "show no progress");
}

void addMerge(CLI::App& app, MergeOptions& options) {
    auto* merge = app.add_subcommand(
        "merge",
        "Join the set of FIRST.001 (or the PIECEs in the order given) byte for byte into OUTPUT, "
        "rebuilding damaged or missing pieces from the recovery files beside them.");
    merge->add_option("FIRST.001|PIECE", options.inputs, "the first piece, or every piece in order")
        ->required();
    merge->add_option("-o,--output", options.output,
                      "the joined file (default: the name the pieces were cut from; required "
                      "with a list of pieces)");
    merge->add_flag("-f,--force", options.force, "replace OUTPUT if it exists");
    merge->add_flag("--allow-gaps", options.allowGaps, "join a set with missing pieces");
    merge->add_flag("--no-verify{false}", options.verify,
                    "join without checking the pieces against FIRST.sha256");
    merge->add_flag("--no-repair{false}", options.repair,
                    "refuse a set with damaged or missing pieces rather than rebuild them from "
                    "the recovery files beside it");
    merge->add_flag("-q,--quiet", options.quiet, "show no progress");
}

void addVerify(CLI::App& app, VerifyOptions& options) {
    auto* verify = app.add_subcommand(
        "verify", "Check every piece of the set of FIRST.001 against its checksum file.");
    verify->add_option("FIRST.001", options.firstPiece, "the first piece of the set")->required();
    verify->add_option("-o,--output", options.output, "the joined file, checked too");
    verify->add_flag("-q,--quiet", options.quiet, "show no progress");
}

int usageError(const std::string& message) {
    writeError("tessark-cli: " + message + "\nTry 'tessark-cli --help' for more information.\n");
    return kUsageStatus;
}

}  // namespace

int runApp(FileSystem& fs, const std::vector<std::string>& arguments) {
    CLI::App app("Split a file into numbered pieces and join them again.", "tessark-cli");
    app.set_version_flag("--version", std::string(kVersion));
    app.require_subcommand(1);

    SplitOptions split;
    SplitFlags flags;
    MergeOptions merge;
    VerifyOptions verify;
    ProtectOptions protect;
    RepairOptions repair;
    std::string listed;
    addSplit(app, split, flags);
    addMerge(app, merge);
    addVerify(app, verify);
    addProtect(app, protect);
    addRepair(app, repair);
    app.add_subcommand("list", "Show the pieces of the set of FIRST.001, their sizes and gaps.")
        ->add_option("FIRST.001", listed, "the first piece of the set")
        ->required();

    if (const auto malformed = malformedArgument(arguments)) {
        return usageError("the argument '" + *malformed +
                          "' is not valid UTF-8; names are read as UTF-8 whatever the locale");
    }
    // Without this, a mistyped command reads as a missing one.
    if (!arguments.empty() && !arguments.front().empty() && arguments.front()[0] != '-' &&
        app.get_subcommands(
               [&](const CLI::App* command) { return command->get_name() == arguments.front(); })
            .empty()) {
        return usageError("unknown command '" + arguments.front() +
                          "'; the commands are split, merge, list, verify, protect and repair");
    }
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() != static_cast<int>(CLI::ExitCodes::Success)) {
            return usageError(e.what());
        }
        std::ostringstream out;
        std::ostringstream err;
        app.exit(e, out, err);
        writeOut(out.str());
        return 0;
    }

    if (app.got_subcommand("split")) {
        split.block = kFloppyBlock;
        split.writeScript = !flags.noScript;
        split.writeChecksum = !flags.noChecksum;
        if (flags.noRecovery) {
            split.recovery = 0;
        }
        if (!flags.size.empty()) {
            const auto bytes = parseBlockSize(flags.size);
            if (!bytes) {
                return usageError("invalid block size '" + flags.size + "'");
            }
            split.block = *bytes;
        }
        return splitCommand(fs, split);
    }
    if (app.got_subcommand("merge")) {
        return mergeCommand(fs, merge);
    }
    if (app.got_subcommand("verify")) {
        return verifyCommand(fs, verify);
    }
    if (app.got_subcommand("protect")) {
        return protectCommand(fs, protect);
    }
    if (app.got_subcommand("repair")) {
        return repairCommand(fs, repair);
    }
    return listCommand(fs, listed);
}

}  // namespace tessark::cli
