// SPDX-License-Identifier: MIT
// The bit matrix kernel on 32-byte registers, for processors with GFNI but no
// AVX-512: the same as gf16_gfni.cpp on half the width. gf2p8affineqb applies
// a matrix per 64-bit lane; each 16 bytes are rearranged into a lane of low
// bytes and a lane of high bytes, so that two instructions apply the four
// matrices. Compiled with -mavx2 -mgfni; called only where the processor and
// the system support them.
#include <immintrin.h>

#include "engine/recovery/gf16_kernels.h"

namespace tessark::gf16::detail {

std::size_t mulAddGfniAvx2(const ByteMatrices& matrices, const std::byte* src, std::byte* dst,
                           std::size_t bytes) {
    const auto matrix = [](std::uint64_t m) { return static_cast<long long>(m); };
    // _mm256_set_epi64x takes the highest lane first: low-byte lanes are even.
    const __m256i same =
        _mm256_set_epi64x(matrix(matrices.highFromHigh), matrix(matrices.lowFromLow),
                          matrix(matrices.highFromHigh), matrix(matrices.lowFromLow));
    const __m256i other =
        _mm256_set_epi64x(matrix(matrices.highFromLow), matrix(matrices.lowFromHigh),
                          matrix(matrices.highFromLow), matrix(matrices.lowFromHigh));
    const __m256i split = _mm256_broadcastsi128_si256(
        _mm_setr_epi8(0, 2, 4, 6, 8, 10, 12, 14, 1, 3, 5, 7, 9, 11, 13, 15));
    const __m256i join = _mm256_broadcastsi128_si256(
        _mm_setr_epi8(0, 8, 1, 9, 2, 10, 3, 11, 4, 12, 5, 13, 6, 14, 7, 15));
    constexpr std::size_t kStep = 32;
    const std::size_t done = bytes - bytes % kStep;
    for (std::size_t i = 0; i < done; i += kStep) {
        const auto* s = reinterpret_cast<const __m256i*>(src + i);
        auto* d = reinterpret_cast<__m256i*>(dst + i);
        const __m256i v = _mm256_shuffle_epi8(_mm256_loadu_si256(s), split);
        const __m256i swapped = _mm256_shuffle_epi32(v, 0x4E);  // the two lanes of each 16 bytes
        const __m256i product = _mm256_xor_si256(_mm256_gf2p8affine_epi64_epi8(v, same, 0),
                                                 _mm256_gf2p8affine_epi64_epi8(swapped, other, 0));
        _mm256_storeu_si256(
            d, _mm256_xor_si256(_mm256_loadu_si256(d), _mm256_shuffle_epi8(product, join)));
    }
    return done;
}

}  // namespace tessark::gf16::detail
