// SPDX-License-Identifier: MIT
// The bit matrix kernel on 32-byte registers, for processors with GFNI but
// no AVX-512: gf2p8affineqb applies an 8x8 bit matrix to every byte, and a
// byte blend keeps one matrix's result on the words' low bytes and another's
// on their high bytes. Compiled with -mavx2 -mgfni; called only where the
// processor and the system support them.
#include <immintrin.h>

#include "engine/recovery/gf16_kernels.h"

namespace tessark::gf16::detail {

std::size_t mulAddGfniAvx2(const ByteMatrices& matrices, const std::byte* src, std::byte* dst,
                           std::size_t bytes) {
    const auto matrix = [](std::uint64_t m) { return static_cast<long long>(m); };
    const __m256i lowFromLow = _mm256_set1_epi64x(matrix(matrices.lowFromLow));
    const __m256i lowFromHigh = _mm256_set1_epi64x(matrix(matrices.lowFromHigh));
    const __m256i highFromLow = _mm256_set1_epi64x(matrix(matrices.highFromLow));
    const __m256i highFromHigh = _mm256_set1_epi64x(matrix(matrices.highFromHigh));
    const __m256i swapBytes = _mm256_broadcastsi128_si256(
        _mm_setr_epi8(1, 0, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10, 13, 12, 15, 14));
    const __m256i highBytes = _mm256_set1_epi16(static_cast<short>(0xFF00));
    constexpr std::size_t kStep = 32;
    const std::size_t done = bytes - bytes % kStep;
    for (std::size_t i = 0; i < done; i += kStep) {
        const auto* s = reinterpret_cast<const __m256i*>(src + i);
        auto* d = reinterpret_cast<__m256i*>(dst + i);
        const __m256i v = _mm256_loadu_si256(s);
        // Each byte's own contribution: low from low, high from high.
        const __m256i same =
            _mm256_blendv_epi8(_mm256_gf2p8affine_epi64_epi8(v, lowFromLow, 0),
                               _mm256_gf2p8affine_epi64_epi8(v, highFromHigh, 0), highBytes);
        // The other byte's, with each word's bytes swapped first.
        const __m256i swapped = _mm256_shuffle_epi8(v, swapBytes);
        const __m256i other =
            _mm256_blendv_epi8(_mm256_gf2p8affine_epi64_epi8(swapped, lowFromHigh, 0),
                               _mm256_gf2p8affine_epi64_epi8(swapped, highFromLow, 0), highBytes);
        _mm256_storeu_si256(d,
                            _mm256_xor_si256(_mm256_loadu_si256(d), _mm256_xor_si256(same, other)));
    }
    return done;
}

}  // namespace tessark::gf16::detail
