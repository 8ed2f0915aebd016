// SPDX-License-Identifier: MIT
// The x86 vector region kernels, inside the engine only. Each lives in its own
// file compiled for its instruction set, and gf16.cpp calls one only when the
// processor has that set. The kernel files use nothing inline from a header
// but the compiler's intrinsics: an inline function compiled there for AVX-512
// could be the copy the linker keeps for every caller, and then run on a
// processor without AVX-512. So what a kernel needs is built here, by code
// compiled for any x86-64, and handed to it as plain data.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessark::gf16::detail {

// What the processor and the operating system support.
struct CpuFeatures {
    bool ssse3 = false;
    bool avx2 = false;      // with the ymm state saved by the system
    bool avx512bw = false;  // AVX-512F and BW, with the zmm and mask state saved
    bool gfni = false;
};
CpuFeatures detectCpu();

// A word w is four nibbles n0..n3 (n0 lowest); factor * w is the XOR of
// factor * (n_i << 4i). For each i, the 16 values of that product, split into
// its low byte and its high byte: the tables pshufb looks up.
struct NibbleTables {
    alignas(16) std::uint8_t low[4][16];
    alignas(16) std::uint8_t high[4][16];
};

// Multiplying by a constant is linear over GF(2): on a word split into its
// low byte and high byte it is four 8x8 bit matrices, in gf2p8affineqb's
// layout (the row giving result bit i in byte 7 - i).
struct ByteMatrices {
    std::uint64_t lowFromLow, lowFromHigh, highFromLow, highFromHigh;
};

// Each does dst ^= factor * src over the longest prefix of `bytes` that is a
// whole number of its steps and returns that prefix's length; the caller does
// the rest. Any alignment.
std::size_t mulAddSsse3(const NibbleTables& tables, const std::byte* src, std::byte* dst,
                        std::size_t bytes);
std::size_t mulAddAvx2(const NibbleTables& tables, const std::byte* src, std::byte* dst,
                       std::size_t bytes);
std::size_t mulAddAvx512(const NibbleTables& tables, const std::byte* src, std::byte* dst,
                         std::size_t bytes);
std::size_t mulAddGfniAvx2(const ByteMatrices& matrices, const std::byte* src, std::byte* dst,
                           std::size_t bytes);
std::size_t mulAddGfni(const ByteMatrices& matrices, const std::byte* src, std::byte* dst,
                       std::size_t bytes);
// dst ^= src (factor 1) in the same way, on 16, 32 and 64-byte registers.
std::size_t xorSsse3(const std::byte* src, std::byte* dst, std::size_t bytes);
std::size_t xorAvx2(const std::byte* src, std::byte* dst, std::size_t bytes);
std::size_t xorAvx512(const std::byte* src, std::byte* dst, std::size_t bytes);

}  // namespace tessark::gf16::detail
