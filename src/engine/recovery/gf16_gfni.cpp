// SPDX-License-Identifier: MIT
// The bit matrix kernel on 64-byte registers: gf2p8affineqb (GFNI) applies an
// 8x8 bit matrix to every byte of a 64-bit lane, a matrix per lane. So each
// 16 bytes (8 words) are rearranged into their 8 low bytes and their 8 high
// bytes, a lane each: one instruction applies the low-from-low and
// high-from-high matrices, and with the two lanes swapped one more applies
// the low-from-high and high-from-low ones. Compiled with -mavx512f
// -mavx512bw -mgfni; called only where the processor and the system support
// them.
#include <immintrin.h>

#include "engine/recovery/gf16_kernels.h"

namespace tessark::gf16::detail {

std::size_t mulAddGfni(const ByteMatrices& matrices, const std::byte* src, std::byte* dst,
                       std::size_t bytes) {
    const auto matrix = [](std::uint64_t m) { return static_cast<long long>(m); };
    // _mm512_set_epi64 takes the highest lane first: low-byte lanes are even.
    const __m512i same = _mm512_set_epi64(
        matrix(matrices.highFromHigh), matrix(matrices.lowFromLow), matrix(matrices.highFromHigh),
        matrix(matrices.lowFromLow), matrix(matrices.highFromHigh), matrix(matrices.lowFromLow),
        matrix(matrices.highFromHigh), matrix(matrices.lowFromLow));
    const __m512i other = _mm512_set_epi64(
        matrix(matrices.highFromLow), matrix(matrices.lowFromHigh), matrix(matrices.highFromLow),
        matrix(matrices.lowFromHigh), matrix(matrices.highFromLow), matrix(matrices.lowFromHigh),
        matrix(matrices.highFromLow), matrix(matrices.lowFromHigh));
    const __m512i split =
        _mm512_broadcast_i32x4(_mm_setr_epi8(0, 2, 4, 6, 8, 10, 12, 14, 1, 3, 5, 7, 9, 11, 13, 15));
    const __m512i join =
        _mm512_broadcast_i32x4(_mm_setr_epi8(0, 8, 1, 9, 2, 10, 3, 11, 4, 12, 5, 13, 6, 14, 7, 15));
    constexpr std::size_t kStep = 64;
    const std::size_t done = bytes - bytes % kStep;
    for (std::size_t i = 0; i < done; i += kStep) {
        const __m512i v = _mm512_shuffle_epi8(_mm512_loadu_si512(src + i), split);
        const __m512i swapped = _mm512_shuffle_epi32(v, _MM_PERM_BADC);  // each 16 bytes' lanes
        const __m512i product = _mm512_xor_si512(_mm512_gf2p8affine_epi64_epi8(v, same, 0),
                                                 _mm512_gf2p8affine_epi64_epi8(swapped, other, 0));
        const __m512i d = _mm512_loadu_si512(dst + i);
        _mm512_storeu_si512(dst + i, _mm512_xor_si512(d, _mm512_shuffle_epi8(product, join)));
    }
    return done;
}

}  // namespace tessark::gf16::detail
