// SPDX-License-Identifier: MIT
// The split nibble table kernel on 16-byte registers (SSSE3's pshufb).
// Compiled with -mssse3; called only on processors that have it.
#include <tmmintrin.h>

#include "engine/recovery/gf16_kernels.h"

namespace tessark::gf16::detail {

std::size_t mulAddSsse3(const NibbleTables& tables, const std::byte* src, std::byte* dst,
                        std::size_t bytes) {
    const auto at = [](const std::uint8_t* t) { return reinterpret_cast<const __m128i*>(t); };
    const __m128i l0 = (_mm_load_si128(at(tables.low[0])));
    const __m128i l1 = (_mm_load_si128(at(tables.low[1])));
    const __m128i l2 = (_mm_load_si128(at(tables.low[2])));
    const __m128i l3 = (_mm_load_si128(at(tables.low[3])));
    const __m128i h0 = (_mm_load_si128(at(tables.high[0])));
    const __m128i h1 = (_mm_load_si128(at(tables.high[1])));
    const __m128i h2 = (_mm_load_si128(at(tables.high[2])));
    const __m128i h3 = (_mm_load_si128(at(tables.high[3])));
    const __m128i nibble = _mm_set1_epi8(0x0F);
    const __m128i lowByte = _mm_set1_epi16(0x00FF);
    constexpr std::size_t kStep = 32;
    const std::size_t done = bytes - bytes % kStep;
    for (std::size_t i = 0; i < done; i += kStep) {
        const auto* s = reinterpret_cast<const __m128i*>(src + i);
        auto* d = reinterpret_cast<__m128i*>(dst + i);
        const __m128i a = _mm_loadu_si128(s);
        const __m128i b = _mm_loadu_si128(s + 1);
        // The words' low bytes in one register and their high bytes in another.
        const __m128i lo = _mm_packus_epi16(_mm_and_si128(a, lowByte), _mm_and_si128(b, lowByte));
        const __m128i hi = _mm_packus_epi16(_mm_srli_epi16(a, 8), _mm_srli_epi16(b, 8));
        const __m128i n0 = _mm_and_si128(lo, nibble);
        const __m128i n1 = _mm_and_si128(_mm_srli_epi16(lo, 4), nibble);
        const __m128i n2 = _mm_and_si128(hi, nibble);
        const __m128i n3 = _mm_and_si128(_mm_srli_epi16(hi, 4), nibble);
        const __m128i rlo =
            _mm_xor_si128(_mm_xor_si128(_mm_shuffle_epi8(l0, n0), _mm_shuffle_epi8(l1, n1)),
                          _mm_xor_si128(_mm_shuffle_epi8(l2, n2), _mm_shuffle_epi8(l3, n3)));
        const __m128i rhi =
            _mm_xor_si128(_mm_xor_si128(_mm_shuffle_epi8(h0, n0), _mm_shuffle_epi8(h1, n1)),
                          _mm_xor_si128(_mm_shuffle_epi8(h2, n2), _mm_shuffle_epi8(h3, n3)));
        // Interleaved again: the first half's words, then the second's.
        _mm_storeu_si128(d, _mm_xor_si128(_mm_loadu_si128(d), _mm_unpacklo_epi8(rlo, rhi)));
        _mm_storeu_si128(d + 1, _mm_xor_si128(_mm_loadu_si128(d + 1), _mm_unpackhi_epi8(rlo, rhi)));
    }
    return done;
}

std::size_t xorSsse3(const std::byte* src, std::byte* dst, std::size_t bytes) {
    constexpr std::size_t kStep = 32;
    const std::size_t done = bytes - bytes % kStep;
    for (std::size_t i = 0; i < done; i += kStep) {
        const auto* s = reinterpret_cast<const __m128i*>(src + i);
        auto* d = reinterpret_cast<__m128i*>(dst + i);
        _mm_storeu_si128(d, _mm_xor_si128(_mm_loadu_si128(d), _mm_loadu_si128(s)));
        _mm_storeu_si128(d + 1, _mm_xor_si128(_mm_loadu_si128(d + 1), _mm_loadu_si128(s + 1)));
    }
    return done;
}

}  // namespace tessark::gf16::detail
