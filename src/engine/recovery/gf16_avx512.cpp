// SPDX-License-Identifier: MIT
// The split nibble table kernel on 64-byte registers (AVX-512BW's vpshufb,
// which looks up within each 16-byte lane: the tables are in every lane).
// Compiled with -mavx512f -mavx512bw; called only where the processor and
// the system support them.
#include <immintrin.h>

#include "engine/recovery/gf16_kernels.h"

namespace tessark::gf16::detail {

std::size_t mulAddAvx512(const NibbleTables& tables, const std::byte* src, std::byte* dst,
                         std::size_t bytes) {
    const auto at = [](const std::uint8_t* t) { return reinterpret_cast<const __m128i*>(t); };
    const __m512i l0 = _mm512_broadcast_i32x4(_mm_load_si128(at(tables.low[0])));
    const __m512i l1 = _mm512_broadcast_i32x4(_mm_load_si128(at(tables.low[1])));
    const __m512i l2 = _mm512_broadcast_i32x4(_mm_load_si128(at(tables.low[2])));
    const __m512i l3 = _mm512_broadcast_i32x4(_mm_load_si128(at(tables.low[3])));
    const __m512i h0 = _mm512_broadcast_i32x4(_mm_load_si128(at(tables.high[0])));
    const __m512i h1 = _mm512_broadcast_i32x4(_mm_load_si128(at(tables.high[1])));
    const __m512i h2 = _mm512_broadcast_i32x4(_mm_load_si128(at(tables.high[2])));
    const __m512i h3 = _mm512_broadcast_i32x4(_mm_load_si128(at(tables.high[3])));
    const __m512i nibble = _mm512_set1_epi8(0x0F);
    const __m512i lowByte = _mm512_set1_epi16(0x00FF);
    constexpr std::size_t kStep = 128;
    const std::size_t done = bytes - bytes % kStep;
    for (std::size_t i = 0; i < done; i += kStep) {
        const std::byte* s = src + i;
        std::byte* d = dst + i;
        const __m512i a = _mm512_loadu_si512(s);
        const __m512i b = _mm512_loadu_si512(s + 64);
        // Packing works lane by lane, and so does the unpacking below: the
        // two undo each other's order, so no lane crossing is needed.
        const __m512i lo =
            _mm512_packus_epi16(_mm512_and_si512(a, lowByte), _mm512_and_si512(b, lowByte));
        const __m512i hi = _mm512_packus_epi16(_mm512_srli_epi16(a, 8), _mm512_srli_epi16(b, 8));
        const __m512i n0 = _mm512_and_si512(lo, nibble);
        const __m512i n1 = _mm512_and_si512(_mm512_srli_epi16(lo, 4), nibble);
        const __m512i n2 = _mm512_and_si512(hi, nibble);
        const __m512i n3 = _mm512_and_si512(_mm512_srli_epi16(hi, 4), nibble);
        const __m512i rlo = _mm512_ternarylogic_epi32(
            _mm512_shuffle_epi8(l0, n0), _mm512_shuffle_epi8(l1, n1),
            _mm512_xor_si512(_mm512_shuffle_epi8(l2, n2), _mm512_shuffle_epi8(l3, n3)), 0x96);
        const __m512i rhi = _mm512_ternarylogic_epi32(
            _mm512_shuffle_epi8(h0, n0), _mm512_shuffle_epi8(h1, n1),
            _mm512_xor_si512(_mm512_shuffle_epi8(h2, n2), _mm512_shuffle_epi8(h3, n3)), 0x96);
        _mm512_storeu_si512(
            d, _mm512_xor_si512(_mm512_loadu_si512(d), _mm512_unpacklo_epi8(rlo, rhi)));
        _mm512_storeu_si512(
            d + 64, _mm512_xor_si512(_mm512_loadu_si512(d + 64), _mm512_unpackhi_epi8(rlo, rhi)));
    }
    return done;
}

std::size_t xorAvx512(const std::byte* src, std::byte* dst, std::size_t bytes) {
    constexpr std::size_t kStep = 128;
    const std::size_t done = bytes - bytes % kStep;
    for (std::size_t i = 0; i < done; i += kStep) {
        _mm512_storeu_si512(
            dst + i, _mm512_xor_si512(_mm512_loadu_si512(dst + i), _mm512_loadu_si512(src + i)));
        _mm512_storeu_si512(dst + i + 64, _mm512_xor_si512(_mm512_loadu_si512(dst + i + 64),
                                                           _mm512_loadu_si512(src + i + 64)));
    }
    return done;
}

}  // namespace tessark::gf16::detail
