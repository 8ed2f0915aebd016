// SPDX-License-Identifier: MIT
#include "cli/refusals.h"

#include "engine/checksum/checksum_file.h"

namespace tessark::cli {

std::string quoted(const Text& path) {
    return "'" + toUtf8(path) + "'";
}

std::string splitRefusalText(SplitCheck check, const SplitRequest& request, const Text& path) {
    const std::string source = quoted(request.source);
    const std::string target = quoted(request.target);
    switch (check) {
        case SplitCheck::NoSource:
            return "no file to split was given";
        case SplitCheck::SourceIsFolder:
            return "cannot split " + source + ": it names a folder, not a file";
        case SplitCheck::SourceMissing:
            return "cannot split " + source + ": no such file";
        case SplitCheck::NoTarget:
            return "no name for the pieces was given";
        case SplitCheck::TargetIsFolder:
            return "the pieces' name " + target + " names a folder; add a file name";
        case SplitCheck::TargetExists:
            return "a file named " + target +
                   " already exists; choose another name for the pieces with -o";
        case SplitCheck::TargetFolderMissing:
            return "cannot put the pieces in " + target + ": its folder does not exist";
        case SplitCheck::UnsafeScriptName:
            return "cannot name the pieces " + target +
                   ": Link.bat cannot quote a name holding '\"' or a control character";
        case SplitCheck::NoBlockSize:
            return "no block size was given";
        case SplitCheck::BlockLargerThanFile:
            return "the block is larger than " + source + "; there is nothing to split";
        case SplitCheck::TargetIsSource:
            return "a piece of " + target + " or its Link.bat would be " + source +
                   " itself; choose another name for the pieces with -o";
        case SplitCheck::TooManyForChecksum:
            return "too many pieces for a checksum file that can be read back (at most " +
                   std::to_string(kMaxChecksumEntries - 1) +
                   " pieces, and fewer with long names); choose a larger block, or --no-checksum";
        case SplitCheck::TargetNotAFile:
            return "cannot write " + quoted(path) +
                   ": it is a device, a pipe or a folder, not a file; choose another name for "
                   "the pieces with -o";
    }
    return "cannot split " + source;
}

std::string mergeRefusalText(MergeCheck check, const MergeRequest& request) {
    const std::string output = quoted(request.output);
    switch (check) {
        case MergeCheck::NoOutput:
            return "no name for the joined file was given";
        case MergeCheck::OutputIsFolder:
            return "the output " + output + " names a folder; add a file name";
        case MergeCheck::OutputFolderMissing:
            return "cannot write " + output + ": its folder does not exist";
        case MergeCheck::NoPieces:
            return "there are no pieces to join into " + output;
        case MergeCheck::OutputNotAFile:
            return "cannot write " + output +
                   ": it is (or its link leads to) a device, a pipe or a folder, not a file";
    }
    return "cannot join into " + output;
}

}  // namespace tessark::cli
