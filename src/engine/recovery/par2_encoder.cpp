// SPDX-License-Identifier: MIT
#include "engine/recovery/par2_encoder.h"

#include <algorithm>
#include <numeric>

#include "engine/core/runtime_error.h"
#include "engine/recovery/hash_worker.h"
#include "engine/recovery/par2_create.h"
#include "engine/recovery/par2_format.h"
#include "engine/recovery/slice_io.h"

namespace tessark::recovery {
namespace {

using par2::Id;

constexpr std::size_t kReadChunk = kSliceChunk;
// Input against every recovery window in pieces that stay in the cache.
constexpr std::size_t kKernelChunk = std::size_t{32} << 10;
// The smallest window a pass works on, however many recovery slices.
constexpr std::int64_t kMinWindow = std::int64_t{4} << 10;

struct Source {
    Text path;
    std::string name;
    std::int64_t length = 0;
    std::int64_t slices = 0;
    std::int64_t firstSlice = 0;  // in the main packet's order
    par2::FileEntry entry;
    Md5 whole;
};

class Encoder {
  public:
    Encoder(FileSystem& fs, const EncoderInput& input,
            std::span<const std::unique_ptr<StagedFile>> files, Progress& progress,
            const ProgressFn& report)
        : fs_(fs),
          input_(input),
          files_(files),
          progress_(progress),
          report_(report),
          slice_(input.sliceSize),
          count_(input.recoverySlices),
          volumes_(par2::volumesFor(Text(), input.recoverySlices)) {}

    bool run() {
        if (!measure()) {
            return false;
        }
        const std::int64_t fit = input_.memory / static_cast<std::int64_t>(count_) / 4 * 4;
        window_ = std::min(slice_, std::max(kMinWindow, fit));
        const std::int64_t passes = (slice_ + window_ - 1) / window_;
        for (Source& source : sources_) {
            if (passes > 1 && source.slices > 1) {
                progress_.bytesTotal += source.length;
            }
        }
        progress_.bytesTotal += totalBytes_;
        if (passes > 1 && !hashWholeFiles()) {
            return false;
        }
        buffers_.assign(static_cast<std::size_t>(window_) * count_, std::byte{0});
        for (std::uint32_t e = 0; e < count_; ++e) {
            Md5& hash = recoveryHashes_.emplace_back();
            hash.update(std::as_bytes(std::span(setId_)));
            hash.update(std::as_bytes(std::span(par2::typeTag(par2::PacketType::RecoverySlice))));
            std::array<std::byte, 4> exponent{};
            par2::putU32(exponent, e);
            hash.update(exponent);
        }
        for (std::int64_t pass = 0; pass < passes; ++pass) {
            if (!runPass(pass * window_, std::min(window_, slice_ - pass * window_),
                         pass + 1 == passes)) {
                return false;
            }
        }
        worker_.drain();
        writeTails();
        return true;
    }

  private:
    // Lengths, heads and identifiers; the main packet's order and the set.
    bool measure() {
        const char16_t separator = fs_.separator();
        std::vector<std::byte> head(static_cast<std::size_t>(par2::kHeadBytes));
        for (const Text& path : input_.pieces) {
            Source& source = sources_.emplace_back();
            source.path = path;
            source.name = toUtf8(GetFileName(path, separator));
            source.length = fs_.fileLength(path);
            source.slices = source.length / slice_ + (source.length % slice_ != 0 ? 1 : 0);
            totalBytes_ += source.length;
            const auto n = static_cast<std::size_t>(std::min(source.length, par2::kHeadBytes));
            readExactly(*fs_.openRead(path), 0, std::span(head).first(n));
            source.entry.head = md5Of(std::span(head).first(n));
            source.entry.length = source.length;
            source.entry.name = source.name;
            source.entry.id = par2::fileId(source.entry.head, source.length, source.name);
            if (report_ && !report_(progress_)) {
                return false;
            }
        }
        std::sort(sources_.begin(), sources_.end(), [](const Source& a, const Source& b) {
            return par2::idLess(a.entry.id, b.entry.id);
        });
        std::vector<Id> ids;
        std::int64_t first = 0;
        for (Source& source : sources_) {
            source.firstSlice = first;
            first += source.slices;
            ids.push_back(source.entry.id);
        }
        sliceHashes_.resize(static_cast<std::size_t>(first));
        sliceCrcs_.assign(static_cast<std::size_t>(first), 0);
        sliceChecks_.resize(static_cast<std::size_t>(first));
        mainBody_ = par2::mainBody(slice_, ids);
        setId_ = md5Of(mainBody_);
        return true;
    }

    // With several passes a file of several slices is seen out of order: its
    // whole hash takes a pass of its own.
    bool hashWholeFiles() {
        std::vector<std::byte> buffer(kReadChunk);
        for (Source& source : sources_) {
            if (source.slices <= 1) {
                continue;
            }
            const auto in = fs_.openRead(source.path);
            for (std::int64_t at = 0; at < source.length;) {
                const auto n = static_cast<std::size_t>(std::min<std::int64_t>(
                    static_cast<std::int64_t>(kReadChunk), source.length - at));
                readExactly(*in, at, std::span(buffer).first(n));
                source.whole.update(std::span(buffer).first(n));
                at += static_cast<std::int64_t>(n);
                progress_.bytesDone += static_cast<std::int64_t>(n);
                if (report_ && !report_(progress_)) {
                    return false;
                }
            }
        }
        return true;
    }

    bool runPass(std::int64_t windowOffset, std::int64_t windowLength, bool last) {
        std::fill(buffers_.begin(), buffers_.end(), std::byte{0});
        std::vector<gf16::Elem> factors(count_);
        const bool severalPasses = windowLength != slice_;
        for (Source& source : sources_) {
            const auto in = fs_.openRead(source.path);
            for (std::int64_t k = 0; k < source.slices; ++k) {
                const std::int64_t index = source.firstSlice + k;
                for (std::uint32_t e = 0; e < count_; ++e) {
                    factors[e] = par2::inputFactor(index, e);
                }
                const std::int64_t sliceStart = k * slice_;
                const std::int64_t realEnd = std::min(sliceStart + slice_, source.length);
                const std::int64_t from = sliceStart + windowOffset;
                const std::int64_t to = std::min(from + windowLength, realEnd);
                const auto slot = static_cast<std::size_t>(index);
                // A file of one slice: its slice hash is the whole hash plus padding.
                const bool single = source.slices == 1;
                Md5* const hash = single ? &source.whole : &sliceHashes_[slot];
                Md5* const whole = !single && !severalPasses ? &source.whole : nullptr;
                for (std::int64_t at = from; at < to;) {
                    const auto n = static_cast<std::size_t>(
                        std::min<std::int64_t>(static_cast<std::int64_t>(kReadChunk), to - at));
                    const auto buffer = worker_.nextBuffer();
                    readExactly(*in, at, buffer.first(n));
                    buffer[n] = std::byte{0};
                    const auto data = buffer.first(n);
                    // The MD5s on the worker, meanwhile the rest here.
                    worker_.post([hash, whole, data] {
                        hash->update(data);
                        if (whole != nullptr) {
                            whole->update(data);
                        }
                    });
                    sliceCrcs_[slot] = crc32Update(sliceCrcs_[slot], data);
                    accumulate(factors, buffer.first(n + (n & 1)), at - from);
                    at += static_cast<std::int64_t>(n);
                    progress_.bytesDone += static_cast<std::int64_t>(n);
                    if (report_ && !report_(progress_)) {
                        return false;
                    }
                }
                if (last) {
                    finishSlice(source, slot, single, slice_ - (realEnd - sliceStart));
                }
            }
        }
        writeWindows(windowOffset, windowLength);
        return true;
    }

    // Every recovery window ^= its factor times the data at `offset` in the window.
    void accumulate(std::span<const gf16::Elem> factors, std::span<const std::byte> data,
                    std::int64_t offset) {
        for (std::size_t part = 0; part < data.size(); part += kKernelChunk) {
            const auto src = data.subspan(part, std::min(kKernelChunk, data.size() - part));
            for (std::uint32_t e = 0; e < count_; ++e) {
                const auto at = static_cast<std::size_t>(e) * static_cast<std::size_t>(window_) +
                                static_cast<std::size_t>(offset) + part;
                addScaled(factors[e], src, std::span(buffers_).subspan(at, src.size()));
            }
        }
    }

    // The slice's CRC32 here; its MD5 (and the file's, after its last slice)
    // on the worker, after the slice's data.
    void finishSlice(Source& source, std::size_t slot, bool single, std::int64_t padding) {
        sliceChecks_[slot].crc = crcZeros(sliceCrcs_[slot], padding);
        if (single) {
            worker_.post([this, &source, slot, padding] {
                Md5 padded = source.whole.clone();
                md5Zeros(padded, padding);
                sliceChecks_[slot].md5 = padded.finish();
                source.entry.whole = source.whole.finish();
            });
            return;
        }
        const bool lastOfFile =
            slot + 1 == static_cast<std::size_t>(source.firstSlice + source.slices);
        worker_.post([this, &source, slot, padding, lastOfFile] {
            md5Zeros(sliceHashes_[slot], padding);
            sliceChecks_[slot].md5 = sliceHashes_[slot].finish();
            if (lastOfFile) {
                source.entry.whole = source.whole.finish();
            }
        });
    }

    std::int64_t packetLength() const {
        return static_cast<std::int64_t>(par2::kHeaderSize) + 4 + slice_;
    }

    // Where exponent e's packet starts, and in which file.
    std::pair<std::size_t, std::int64_t> place(std::uint32_t e) const {
        for (std::size_t v = 0; v < volumes_.size(); ++v) {
            if (e < volumes_[v].firstExponent + volumes_[v].count) {
                return {v + 1,
                        static_cast<std::int64_t>(e - volumes_[v].firstExponent) * packetLength()};
            }
        }
        raise(err::InternalError);
    }

    void writeWindows(std::int64_t windowOffset, std::int64_t windowLength) {
        for (std::uint32_t e = 0; e < count_; ++e) {
            const auto window = std::span(buffers_).subspan(
                static_cast<std::size_t>(e) * static_cast<std::size_t>(window_),
                static_cast<std::size_t>(windowLength));
            const auto [file, at] = place(e);
            files_[file]->writeAt(at + packetLength() - slice_ + windowOffset, window);
            recoveryHashes_[e].update(window);
        }
    }

    // The packet headers, now that their hashes are known, and the set's
    // description at the end of every file.
    void writeTails() {
        for (std::uint32_t e = 0; e < count_; ++e) {
            const auto [file, at] = place(e);
            const auto head = par2::header(setId_, par2::PacketType::RecoverySlice, packetLength(),
                                           recoveryHashes_[e].finish());
            files_[file]->writeAt(at, head);
            std::array<std::byte, 4> exponent{};
            par2::putU32(exponent, e);
            files_[file]->writeAt(at + static_cast<std::int64_t>(par2::kHeaderSize), exponent);
        }
        std::vector<std::byte> tail = par2::packet(setId_, par2::PacketType::Main, mainBody_);
        const auto add = [&](par2::PacketType type, const std::vector<std::byte>& body) {
            const auto bytes = par2::packet(setId_, type, body);
            tail.insert(tail.end(), bytes.begin(), bytes.end());
        };
        for (const Source& source : sources_) {
            add(par2::PacketType::FileDescription, par2::fileDescriptionBody(source.entry));
        }
        for (const Source& source : sources_) {
            const auto checks = std::span(sliceChecks_)
                                    .subspan(static_cast<std::size_t>(source.firstSlice),
                                             static_cast<std::size_t>(source.slices));
            add(par2::PacketType::SliceChecksums, par2::sliceChecksumBody(source.entry.id, checks));
        }
        add(par2::PacketType::Creator, par2::creatorBody());
        files_[0]->writeAt(0, tail);
        for (std::size_t v = 0; v < volumes_.size(); ++v) {
            files_[v + 1]->writeAt(static_cast<std::int64_t>(volumes_[v].count) * packetLength(),
                                   tail);
        }
    }

    FileSystem& fs_;
    const EncoderInput& input_;
    std::span<const std::unique_ptr<StagedFile>> files_;
    Progress& progress_;
    const ProgressFn& report_;
    std::int64_t slice_;
    std::uint32_t count_;
    std::vector<par2::Volume> volumes_;
    std::vector<Source> sources_;
    std::int64_t totalBytes_ = 0;
    std::int64_t window_ = 0;
    std::vector<Md5> sliceHashes_;
    std::vector<std::uint32_t> sliceCrcs_;
    std::vector<par2::SliceCheck> sliceChecks_;
    std::vector<std::byte> mainBody_;
    Id setId_{};
    std::vector<std::byte> buffers_;
    std::vector<Md5> recoveryHashes_;
    // Last: destroyed first, so that no job it runs outlives what it uses.
    HashWorker worker_{kReadChunk + 2};
};

}  // namespace

bool encodeRecovery(FileSystem& fs, const EncoderInput& input,
                    std::span<const std::unique_ptr<StagedFile>> files, Progress& progress,
                    const ProgressFn& report) {
    return Encoder(fs, input, files, progress, report).run();
}

}  // namespace tessark::recovery
