// SPDX-License-Identifier: MIT
#include "engine/recovery/slice_io.h"

#include <algorithm>
#include <cstring>

#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"

namespace tessark::recovery {

void readExactly(InputFile& in, std::int64_t offset, std::span<std::byte> buffer) {
    while (!buffer.empty()) {
        const std::size_t got = in.readAt(offset, buffer);
        if (got == 0) {
            raise(err::DeviceIo);
        }
        offset += static_cast<std::int64_t>(got);
        buffer = buffer.subspan(got);
    }
}

namespace {

template <typename Feed>
void forZeros(std::int64_t count, const Feed& feed) {
    static const std::vector<std::byte> zeros(kSliceChunk);
    while (count > 0) {
        const auto n = static_cast<std::size_t>(
            std::min<std::int64_t>(count, static_cast<std::int64_t>(kSliceChunk)));
        feed(std::span(zeros).first(n));
        count -= static_cast<std::int64_t>(n);
    }
}

}  // namespace

void feedZeros(Md5& hash, std::uint32_t& crc, std::int64_t count) {
    md5Zeros(hash, count);
    crc = crcZeros(crc, count);
}

void md5Zeros(Md5& hash, std::int64_t count) {
    forZeros(count, [&](std::span<const std::byte> part) { hash.update(part); });
}

std::uint32_t crcZeros(std::uint32_t crc, std::int64_t count) {
    forZeros(count, [&](std::span<const std::byte> part) { crc = crc32Update(crc, part); });
    return crc;
}

void addScaled(gf16::Elem factor, std::span<const std::byte> src, std::span<std::byte> dst) {
    if (factor != 1) {
        gf16::mulAdd(factor, src, dst);
        return;
    }
    std::size_t i = 0;
    for (; i + 8 <= src.size(); i += 8) {
        std::uint64_t a = 0;
        std::uint64_t b = 0;
        std::memcpy(&a, src.data() + i, 8);
        std::memcpy(&b, dst.data() + i, 8);
        b ^= a;
        std::memcpy(dst.data() + i, &b, 8);
    }
    for (; i < src.size(); ++i) {
        dst[i] ^= src[i];
    }
}

std::optional<par2::SliceCheck> SliceReader::checkOf(InputFile& in, std::int64_t start,
                                                     std::int64_t real, std::int64_t sliceSize,
                                                     Progress& progress, const ProgressFn& report) {
    buffer_.resize(kSliceChunk);
    std::uint32_t crc = 0;
    for (std::int64_t done = 0; done < real;) {
        const auto n = static_cast<std::size_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(kSliceChunk), real - done));
        const auto part = std::span(buffer_).first(n);
        readExactly(in, start + done, part);
        hash_.update(part);
        crc = crc32Update(crc, part);
        done += static_cast<std::int64_t>(n);
        progress.bytesDone += static_cast<std::int64_t>(n);
        if (report && !report(progress)) {
            hash_.finish();
            return std::nullopt;
        }
    }
    feedZeros(hash_, crc, sliceSize - real);
    return par2::SliceCheck{hash_.finish(), crc};
}

}  // namespace tessark::recovery
