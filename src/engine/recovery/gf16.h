// SPDX-License-Identifier: MIT
// Arithmetic in GF(2^16) with the generator polynomial 0x1100B, the field of
// the recovery data: single elements, and the region kernel that recovery
// slices are made of (dst ^= factor * src over 16-bit little-endian words).
// The region kernel has a portable version and vector versions; the best one
// the processor has is picked once, at first use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tessark::gf16 {

using Elem = std::uint16_t;

inline constexpr std::uint32_t kPolynomial = 0x1100B;
inline constexpr std::uint32_t kOrder = 65535;  // the multiplicative group's

Elem mul(Elem a, Elem b);
// a / b; b must not be 0.
Elem div(Elem a, Elem b);
// 2^n, the generator to the power n (n taken modulo 65535).
Elem exp2(std::uint32_t n);
// a^n.
Elem pow(Elem a, std::uint32_t n);

// The region kernels, slowest first. Scalar runs everywhere; the others are
// x86 vector versions, each used only when the processor and the operating
// system (the register state it saves) support it. Ssse3, Avx2 and Avx512
// look up split nibble tables (pshufb on 16, 32 and 64 bytes); GfniAvx2
// (AVX2 and GFNI, 32 bytes) and Gfni (AVX-512BW and GFNI, 64 bytes) apply
// the factor as bit matrices (gf2p8affineqb).
enum class Kernel { Scalar, Ssse3, Avx2, Avx512, GfniAvx2, Gfni };

// The kernels this processor can run, Scalar first.
std::vector<Kernel> availableKernels();
// The fastest of them: the one mulAdd uses. The environment variable
// TESSARK_GF16_KERNEL (a kernelName, read once) picks another the processor
// runs instead, for the benchmark.
Kernel bestKernel();
const char* kernelName(Kernel kernel);

// dst ^= factor * src, word by word; the two regions have the same size, a
// multiple of 2 bytes. Any alignment; they may be one region, but must not
// otherwise overlap. Factor 0 changes nothing; factor 1 is a plain XOR.
void mulAdd(Elem factor, std::span<const std::byte> src, std::span<std::byte> dst);
// The same with the kernel named, for tests and the benchmark; the kernel
// must be one of availableKernels() (std::invalid_argument otherwise).
void mulAddWith(Kernel kernel, Elem factor, std::span<const std::byte> src,
                std::span<std::byte> dst);

}  // namespace tessark::gf16
