// SPDX-License-Identifier: MIT
// The split nibble table kernel on 32-byte registers (AVX2's vpshufb, which
// looks up within each 16-byte lane: the tables are in both lanes). Compiled
// with -mavx2; called only where the processor and the system support it.
#include <immintrin.h>

#include "engine/recovery/gf16_kernels.h"

namespace tessark::gf16::detail {

std::size_t mulAddAvx2(const NibbleTables& tables, const std::byte* src, std::byte* dst,
                       std::size_t bytes) {
    const auto at = [](const std::uint8_t* t) { return reinterpret_cast<const __m128i*>(t); };
    const __m256i l0 = _mm256_broadcastsi128_si256(_mm_load_si128(at(tables.low[0])));
    const __m256i l1 = _mm256_broadcastsi128_si256(_mm_load_si128(at(tables.low[1])));
    const __m256i l2 = _mm256_broadcastsi128_si256(_mm_load_si128(at(tables.low[2])));
    const __m256i l3 = _mm256_broadcastsi128_si256(_mm_load_si128(at(tables.low[3])));
    const __m256i h0 = _mm256_broadcastsi128_si256(_mm_load_si128(at(tables.high[0])));
    const __m256i h1 = _mm256_broadcastsi128_si256(_mm_load_si128(at(tables.high[1])));
    const __m256i h2 = _mm256_broadcastsi128_si256(_mm_load_si128(at(tables.high[2])));
    const __m256i h3 = _mm256_broadcastsi128_si256(_mm_load_si128(at(tables.high[3])));
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i lowByte = _mm256_set1_epi16(0x00FF);
    constexpr std::size_t kStep = 64;
    const std::size_t done = bytes - bytes % kStep;
    for (std::size_t i = 0; i < done; i += kStep) {
        const auto* s = reinterpret_cast<const __m256i*>(src + i);
        auto* d = reinterpret_cast<__m256i*>(dst + i);
        const __m256i a = _mm256_loadu_si256(s);
        const __m256i b = _mm256_loadu_si256(s + 1);
        // Packing works lane by lane, and so does the unpacking below: the
        // two undo each other's order, so no lane crossing is needed.
        const __m256i lo =
            _mm256_packus_epi16(_mm256_and_si256(a, lowByte), _mm256_and_si256(b, lowByte));
        const __m256i hi = _mm256_packus_epi16(_mm256_srli_epi16(a, 8), _mm256_srli_epi16(b, 8));
        const __m256i n0 = _mm256_and_si256(lo, nibble);
        const __m256i n1 = _mm256_and_si256(_mm256_srli_epi16(lo, 4), nibble);
        const __m256i n2 = _mm256_and_si256(hi, nibble);
        const __m256i n3 = _mm256_and_si256(_mm256_srli_epi16(hi, 4), nibble);
        const __m256i rlo = _mm256_xor_si256(
            _mm256_xor_si256(_mm256_shuffle_epi8(l0, n0), _mm256_shuffle_epi8(l1, n1)),
            _mm256_xor_si256(_mm256_shuffle_epi8(l2, n2), _mm256_shuffle_epi8(l3, n3)));
        const __m256i rhi = _mm256_xor_si256(
            _mm256_xor_si256(_mm256_shuffle_epi8(h0, n0), _mm256_shuffle_epi8(h1, n1)),
            _mm256_xor_si256(_mm256_shuffle_epi8(h2, n2), _mm256_shuffle_epi8(h3, n3)));
        _mm256_storeu_si256(
            d, _mm256_xor_si256(_mm256_loadu_si256(d), _mm256_unpacklo_epi8(rlo, rhi)));
        _mm256_storeu_si256(
            d + 1, _mm256_xor_si256(_mm256_loadu_si256(d + 1), _mm256_unpackhi_epi8(rlo, rhi)));
    }
    return done;
}

std::size_t xorAvx2(const std::byte* src, std::byte* dst, std::size_t bytes) {
    constexpr std::size_t kStep = 64;
    const std::size_t done = bytes - bytes % kStep;
    for (std::size_t i = 0; i < done; i += kStep) {
        const auto* s = reinterpret_cast<const __m256i*>(src + i);
        auto* d = reinterpret_cast<__m256i*>(dst + i);
        _mm256_storeu_si256(d, _mm256_xor_si256(_mm256_loadu_si256(d), _mm256_loadu_si256(s)));
        _mm256_storeu_si256(d + 1,
                            _mm256_xor_si256(_mm256_loadu_si256(d + 1), _mm256_loadu_si256(s + 1)));
    }
    return done;
}

}  // namespace tessark::gf16::detail
