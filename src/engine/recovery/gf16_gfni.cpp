// SPDX-License-Identifier: MIT
// The bit matrix kernel on 64-byte registers: gf2p8affineqb (GFNI) applies an
// 8x8 bit matrix to every byte, and AVX-512BW's byte masks let one register
// take one matrix on the words' low bytes and another on their high bytes.
// Compiled with -mavx512f -mavx512bw -mgfni; called only where the processor
// and the system support them.
#include <immintrin.h>

#include "engine/recovery/gf16_kernels.h"

namespace tessark::gf16::detail {

std::size_t mulAddGfni(const ByteMatrices& matrices, const std::byte* src, std::byte* dst,
                       std::size_t bytes) {
    const auto matrix = [](std::uint64_t m) { return static_cast<long long>(m); };
    const __m512i lowFromLow = _mm512_set1_epi64(matrix(matrices.lowFromLow));
    const __m512i lowFromHigh = _mm512_set1_epi64(matrix(matrices.lowFromHigh));
    const __m512i highFromLow = _mm512_set1_epi64(matrix(matrices.highFromLow));
    const __m512i highFromHigh = _mm512_set1_epi64(matrix(matrices.highFromHigh));
    const __m512i swapBytes =
        _mm512_broadcast_i32x4(_mm_setr_epi8(1, 0, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10, 13, 12, 15, 14));
    const __mmask64 highBytes = 0xAAAA'AAAA'AAAA'AAAAULL;
    constexpr std::size_t kStep = 64;
    const std::size_t done = bytes - bytes % kStep;
    for (std::size_t i = 0; i < done; i += kStep) {
        const __m512i v = _mm512_loadu_si512(src + i);
        // Each byte's own contribution: low from low, high from high.
        __m512i same = _mm512_gf2p8affine_epi64_epi8(v, lowFromLow, 0);
        same = _mm512_mask_gf2p8affine_epi64_epi8(same, highBytes, v, highFromHigh, 0);
        // The other byte's, with each word's bytes swapped first.
        const __m512i swapped = _mm512_shuffle_epi8(v, swapBytes);
        __m512i other = _mm512_gf2p8affine_epi64_epi8(swapped, lowFromHigh, 0);
        other = _mm512_mask_gf2p8affine_epi64_epi8(other, highBytes, swapped, highFromLow, 0);
        const __m512i d = _mm512_loadu_si512(dst + i);
        _mm512_storeu_si512(dst + i, _mm512_ternarylogic_epi32(d, same, other, 0x96));
    }
    return done;
}

}  // namespace tessark::gf16::detail
