// SPDX-License-Identifier: MIT
// Reading slices from pieces: exact reads, and a slice's MD5 and CRC32 as
// the recovery files give them (the slice padded with zeros).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "engine/core/progress.h"
#include "engine/recovery/gf16.h"
#include "engine/recovery/md5.h"
#include "engine/recovery/par2_format.h"

namespace tessark::recovery {

inline constexpr std::size_t kSliceChunk = std::size_t{1} << 20;

// Reads exactly buffer.size() bytes at `offset`, or throws error 57 (the file
// is shorter than it was).
void readExactly(InputFile& in, std::int64_t offset, std::span<std::byte> buffer);

// Adds `count` zero bytes to a slice's MD5 and CRC32, or to one of them.
void feedZeros(Md5& hash, std::uint32_t& crc, std::int64_t count);
void md5Zeros(Md5& hash, std::int64_t count);
std::uint32_t crcZeros(std::uint32_t crc, std::int64_t count);

// dst ^= factor * src; a factor of 1 (every slice at exponent 0) is plain
// XOR, done a machine word at a time whatever the region kernel is.
void addScaled(gf16::Elem factor, std::span<const std::byte> src, std::span<std::byte> dst);

class SliceReader {
  public:
    // The checks of the `real` bytes at `start` padded to `sliceSize`; nothing
    // when `report` asked to stop.
    std::optional<par2::SliceCheck> checkOf(InputFile& in, std::int64_t start, std::int64_t real,
                                            std::int64_t sliceSize, Progress& progress,
                                            const ProgressFn& report);

  private:
    std::vector<std::byte> buffer_;
    Md5 hash_;
};

}  // namespace tessark::recovery
