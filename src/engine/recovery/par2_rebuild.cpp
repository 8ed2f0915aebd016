// SPDX-License-Identifier: MIT
#include "engine/recovery/par2_rebuild.h"

#include <algorithm>
#include <memory>

#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"
#include "engine/recovery/gf16_matrix.h"
#include "engine/recovery/par2_create.h"
#include "engine/recovery/par2_format.h"
#include "engine/recovery/slice_io.h"

namespace tessark::recovery {
namespace {

constexpr std::int64_t kMinWindow = std::int64_t{4} << 10;
// Runs of recovery slices tried before the lost slices count as unsolvable.
constexpr std::size_t kMaxTries = 4;

class Rebuilder {
  public:
    Rebuilder(FileSystem& fs, const RecoveryCheck& check, const RebuildSink& sink,
              Progress& progress, const ProgressFn& report, std::int64_t memory)
        : fs_(fs),
          check_(check),
          sink_(sink),
          progress_(progress),
          report_(report),
          slice_(check.sliceSize),
          memory_(memory) {}

    RebuildOutcome run() {
        for (std::size_t i = 0; i < check_.slices.size(); ++i) {
            (check_.slices[i] == SliceState::Good ? good_ : lost_).push_back(i);
        }
        if (lost_.empty()) {
            return RebuildOutcome::Rebuilt;
        }
        const auto m = lost_.size();
        if (static_cast<std::int64_t>(m) > kMaxRebuildSlices) {
            return RebuildOutcome::TooManyLost;
        }
        // Some choices of exponents leave the system singular; another run of
        // as many recovery slices, when there are more, may not.
        const std::size_t available = check_.recovery.size();
        for (std::size_t first = 0; first + m <= available && !inverse_; ++first) {
            if (first == kMaxTries) {
                break;
            }
            gf16::Matrix matrix(m);
            for (std::size_t r = 0; r < m; ++r) {
                for (std::size_t j = 0; j < m; ++j) {
                    matrix.at(r, j) = par2::inputFactor(static_cast<std::int64_t>(lost_[j]),
                                                        check_.recovery[first + r].exponent);
                }
            }
            if (auto inverse = gf16::inverse(std::move(matrix))) {
                inverse_ = std::move(*inverse);
                rows_ = std::span(check_.recovery).subspan(first, m);
            }
        }
        if (!inverse_) {
            return RebuildOutcome::Unsolvable;
        }
        const std::int64_t fit = memory_ / static_cast<std::int64_t>(2 * m) / 4 * 4;
        window_ = std::min(slice_, std::max(kMinWindow, fit));
        syndromes_.assign(m * static_cast<std::size_t>(window_), std::byte{0});
        outputs_.assign(m * static_cast<std::size_t>(window_), std::byte{0});
        buffer_.resize(kSliceChunk + 2);
        progress_.bytesTotal += static_cast<std::int64_t>(2 * m + good_.size()) * slice_;
        hashes_.resize(m);
        crcs_.assign(m, 0);
        for (std::int64_t at = 0; at < slice_; at += window_) {
            if (!pass(at, std::min(window_, slice_ - at))) {
                return RebuildOutcome::Stopped;
            }
        }
        // What was rebuilt must be what the set describes.
        for (std::size_t j = 0; j < m; ++j) {
            const std::size_t slice = lost_[j];
            feedZeros(hashes_[j], crcs_[j], slice_ - (realEnd(slice) - check_.sliceOffset[slice]));
            const par2::SliceCheck& expected = check_.sliceChecks[slice];
            if (hashes_[j].finish() != expected.md5 || crcs_[j] != expected.crc) {
                return RebuildOutcome::WrongResult;
            }
        }
        return RebuildOutcome::Rebuilt;
    }

  private:
    std::span<std::byte> window(std::vector<std::byte>& all, std::size_t i, std::int64_t length) {
        return std::span(all).subspan(i * static_cast<std::size_t>(window_),
                                      static_cast<std::size_t>(length));
    }

    std::int64_t realEnd(std::size_t slice) const {
        const std::size_t piece = check_.slicePiece[slice];
        return std::min(check_.sliceOffset[slice] + slice_,
                        check_.pieceReports[piece].expectedLength);
    }

    bool tell(std::int64_t bytes) {
        progress_.bytesDone += bytes;
        return !report_ || report_(progress_);
    }

    bool pass(std::int64_t offset, std::int64_t length) {
        const std::size_t m = lost_.size();
        // The syndromes: each recovery slice with every sound slice taken out.
        for (std::size_t r = 0; r < m; ++r) {
            const RecoverySlice& source = rows_[r];
            const auto in = fs_.openRead(source.path);
            readExactly(*in, source.offset + offset, window(syndromes_, r, length));
            if (!tell(length)) {
                return false;
            }
        }
        std::vector<gf16::Elem> factors(m);
        const Text prefix = check_.folder + fs_.separator();
        std::size_t openPiece = check_.pieces.size();
        std::unique_ptr<InputFile> in;
        for (const std::size_t slice : good_) {
            const std::int64_t from = check_.sliceOffset[slice] + offset;
            const std::int64_t to = std::min(from + length, realEnd(slice));
            if (from >= to) {
                continue;
            }
            if (check_.slicePiece[slice] != openPiece) {
                openPiece = check_.slicePiece[slice];
                in = fs_.openRead(prefix + check_.pieces[openPiece]);
            }
            for (std::size_t r = 0; r < m; ++r) {
                factors[r] = par2::inputFactor(static_cast<std::int64_t>(slice), rows_[r].exponent);
            }
            for (std::int64_t at = from; at < to;) {
                const auto n = static_cast<std::size_t>(
                    std::min<std::int64_t>(static_cast<std::int64_t>(kSliceChunk), to - at));
                readExactly(*in, at, std::span(buffer_).first(n));
                buffer_[n] = std::byte{0};
                const auto data = std::span(buffer_).first(n + (n & 1));
                const auto place = static_cast<std::size_t>(at - from);
                for (std::size_t r = 0; r < m; ++r) {
                    addScaled(factors[r], data,
                              window(syndromes_, r, length).subspan(place, data.size()));
                }
                at += static_cast<std::int64_t>(n);
                if (!tell(static_cast<std::int64_t>(n))) {
                    return false;
                }
            }
        }
        // The lost slices: the inverse applied to the syndromes.
        std::fill(outputs_.begin(), outputs_.end(), std::byte{0});
        for (std::size_t j = 0; j < m; ++j) {
            const auto out = window(outputs_, j, length);
            for (std::size_t r = 0; r < m; ++r) {
                addScaled(inverse_->at(j, r), window(syndromes_, r, length), out);
            }
            const std::size_t slice = lost_[j];
            const std::int64_t from = check_.sliceOffset[slice] + offset;
            const std::int64_t to = std::min(from + length, realEnd(slice));
            if (from < to) {
                const auto bytes = out.first(static_cast<std::size_t>(to - from));
                hashes_[j].update(bytes);
                crcs_[j] = crc32Update(crcs_[j], bytes);
                sink_(check_.slicePiece[slice], from, bytes);
            }
            if (!tell(length)) {
                return false;
            }
        }
        return true;
    }

    FileSystem& fs_;
    const RecoveryCheck& check_;
    const RebuildSink& sink_;
    Progress& progress_;
    const ProgressFn& report_;
    std::int64_t slice_;
    std::int64_t memory_;
    std::int64_t window_ = 0;
    std::vector<std::size_t> good_;
    std::vector<std::size_t> lost_;
    std::optional<gf16::Matrix> inverse_;
    std::span<const RecoverySlice> rows_;  // the recovery slices used
    std::vector<std::byte> syndromes_;
    std::vector<std::byte> outputs_;
    std::vector<std::byte> buffer_;
    std::vector<Md5> hashes_;  // of each rebuilt slice, as it is handed on
    std::vector<std::uint32_t> crcs_;
};

}  // namespace

RebuildOutcome rebuildLost(FileSystem& fs, const RecoveryCheck& check, const RebuildSink& sink,
                           Progress& progress, const ProgressFn& report, std::int64_t memory) {
    if (!check.setFound) {
        return RebuildOutcome::NoSet;
    }
    if (!check.repairable()) {
        return RebuildOutcome::NotEnough;
    }
    return Rebuilder(fs, check, sink, progress, report, memory).run();
}

Text damagedName(const Text& piecePath) {
    return piecePath + u".damaged";
}

}  // namespace tessark::recovery
