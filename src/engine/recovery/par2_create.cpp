// SPDX-License-Identifier: MIT
#include "engine/recovery/par2_create.h"

#include <algorithm>
#include <numeric>

#include "engine/checksum/checksum_file.h"
#include "engine/core/runtime_error.h"
#include "engine/recovery/par2_encoder.h"
#include "engine/recovery/par2_format.h"

namespace tessark::recovery {
namespace {

bool wildcard(const Text& name) {
    return name.find_first_of(u"*?") != Text::npos;
}

// "vol" digits "+" digits ".par2" after the base's name: a volume of ours or
// of any client that names volumes the same way.
bool isVolumeName(TextView name, TextView baseName) {
    if (name.size() <= baseName.size() || name.substr(0, baseName.size()) != baseName) {
        return false;
    }
    TextView rest = name.substr(baseName.size());
    if (rest.substr(0, 4) != u".vol" || !endsWith(rest, u".par2")) {
        return false;
    }
    rest = rest.substr(4, rest.size() - 9);
    const auto plus = rest.find(u'+');
    const auto digits = [](TextView t) {
        return !t.empty() &&
               std::all_of(t.begin(), t.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
    };
    return plus != TextView::npos && digits(rest.substr(0, plus)) && digits(rest.substr(plus + 1));
}

}  // namespace

std::int64_t defaultSliceSize(std::int64_t longestPiece) {
    return (longestPiece + 3) / 4 * 4;
}

std::vector<Text> recoveryPaths(const Text& base, std::uint32_t recoverySlices) {
    std::vector<Text> out{par2::indexName(base)};
    for (const auto& volume : par2::volumesFor(base, recoverySlices)) {
        out.push_back(volume.path);
    }
    return out;
}

PreparedRecovery::PreparedRecovery(FileSystem& fs, std::vector<Text> paths,
                                   std::vector<std::unique_ptr<StagedFile>> staged,
                                   std::vector<FileId> guard)
    : fs_(&fs), paths_(std::move(paths)), staged_(std::move(staged)), guard_(std::move(guard)) {}

void PreparedRecovery::commit() {
    // Every name is looked at before any file takes its place, so that a
    // refusal leaves the folder as it was.
    for (const Text& path : paths_) {
        const auto id = fs_->fileId(path);
        if (id && std::find(guard_.begin(), guard_.end(), *id) != guard_.end()) {
            raise(err::PermissionDenied);
        }
    }
    for (std::size_t i = staged_.size(); i-- > 0;) {
        staged_[i]->commit();
    }
    // Volumes an earlier run left under the same base belong to another set.
    const char16_t separator = fs_->separator();
    const Text index = paths_.front();
    const Text base = index.substr(0, index.size() - 5);
    const Text baseName = GetFileName(base, separator);
    const auto folder = folderPart(base, separator);
    if (!folder || wildcard(baseName)) {
        return;
    }
    for (const Text& name : fs_->findFiles(base + u".vol*.par2")) {
        const Text path = *folder + separator + name;
        if (isVolumeName(name, baseName) &&
            std::find(paths_.begin(), paths_.end(), path) == paths_.end()) {
            fs_->removeFile(path);
        }
    }
}

std::optional<CreateCheck> checkCreate(FileSystem& fs, const CreateRequest& request) {
    if (request.pieces.empty()) {
        return CreateCheck::NoPieces;
    }
    if (request.recoverySlices == 0 ||
        request.recoverySlices > static_cast<std::uint64_t>(par2::kMaxRecoverySlices)) {
        return CreateCheck::BadRecoveryCount;
    }
    std::int64_t longest = 0;
    std::vector<std::int64_t> lengths;
    for (const Text& piece : request.pieces) {
        const std::int64_t length = fs.fileLength(piece);
        if (length == 0) {
            return CreateCheck::EmptyPiece;
        }
        lengths.push_back(length);
        longest = std::max(longest, length);
    }
    const std::int64_t slice =
        request.sliceSize == 0 ? defaultSliceSize(longest) : request.sliceSize;
    if (slice <= 0 || slice % 4 != 0) {
        return CreateCheck::BadSliceSize;
    }
    std::int64_t slices = 0;
    for (const std::int64_t length : lengths) {
        slices += length / slice + (length % slice != 0 ? 1 : 0);
        if (slices > par2::kMaxInputSlices) {
            return CreateCheck::TooManySlices;
        }
    }
    return std::nullopt;
}

std::variant<CreateCheck, std::optional<PreparedRecovery>> prepareRecovery(
    FileSystem& fs, const CreateRequest& request, Progress& progress, const ProgressFn& report) {
    if (const auto refused = checkCreate(fs, request)) {
        return *refused;
    }
    std::vector<FileId> guard = request.mustNotBe;
    for (const Text& piece : request.pieces) {
        if (const auto id = fs.fileId(piece)) {
            guard.push_back(*id);
        }
    }
    EncoderInput input{request.pieces, request.sliceSize, request.recoverySlices, request.memory};
    if (input.sliceSize == 0) {
        std::int64_t longest = 0;
        for (const Text& piece : request.pieces) {
            longest = std::max(longest, fs.fileLength(piece));
        }
        input.sliceSize = defaultSliceSize(longest);
    }
    std::vector<Text> paths = recoveryPaths(request.base, request.recoverySlices);
    std::vector<std::unique_ptr<StagedFile>> staged;
    for (const Text& path : paths) {
        staged.push_back(fs.createStaged(path));
    }
    if (!encodeRecovery(fs, input, staged, progress, report)) {
        return std::optional<PreparedRecovery>();
    }
    return std::optional<PreparedRecovery>(
        PreparedRecovery(fs, std::move(paths), std::move(staged), std::move(guard)));
}

std::variant<CreateCheck, ProtectOutcome> protectPieces(FileSystem& fs,
                                                        const CreateRequest& request,
                                                        const ProgressFn& report) {
    Progress progress{0, 0, 0, static_cast<std::int64_t>(request.pieces.size())};
    auto prepared = prepareRecovery(fs, request, progress, report);
    if (const auto* refused = std::get_if<CreateCheck>(&prepared)) {
        return *refused;
    }
    auto& files = std::get<std::optional<PreparedRecovery>>(prepared);
    if (!files) {
        return ProtectOutcome::Stopped;
    }
    files->commit();
    return ProtectOutcome::Written;
}

}  // namespace tessark::recovery
