// SPDX-License-Identifier: MIT
#include "engine/recovery/gf16.h"

#include <array>
#include <cstring>
#include <stdexcept>

namespace tessark::gf16 {
namespace {

struct Tables {
    std::array<Elem, kOrder * 2> exp{};  // doubled, so a sum of two logs needs no modulo
    std::array<std::uint32_t, 65536> log{};
    Tables() {
        std::uint32_t x = 1;
        for (std::uint32_t i = 0; i < kOrder; ++i) {
            exp[i] = exp[i + kOrder] = static_cast<Elem>(x);
            log[x] = i;
            x <<= 1;
            if (x & 0x10000) x ^= kPolynomial;
        }
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

void mulAddScalar(Elem factor, std::span<const std::byte> src, std::span<std::byte> dst) {
    if (factor == 0) return;
    const Tables& t = tables();
    const std::uint32_t lf = t.log[factor];
    const std::size_t words = src.size() / 2;
    const auto* s = reinterpret_cast<const unsigned char*>(src.data());
    auto* d = reinterpret_cast<unsigned char*>(dst.data());
    for (std::size_t i = 0; i < words; ++i) {
        const unsigned v = s[2 * i] | (unsigned{s[2 * i + 1]} << 8);
        if (v == 0) continue;
        const Elem p = t.exp[t.log[v] + lf];
        d[2 * i] ^= static_cast<unsigned char>(p & 0xFF);
        d[2 * i + 1] ^= static_cast<unsigned char>(p >> 8);
    }
}

}  // namespace

Elem mul(Elem a, Elem b) {
    if (a == 0 || b == 0) return 0;
    const Tables& t = tables();
    return t.exp[t.log[a] + t.log[b]];
}

Elem div(Elem a, Elem b) {
    if (b == 0) throw std::domain_error("gf16 division by zero");
    if (a == 0) return 0;
    const Tables& t = tables();
    return t.exp[t.log[a] + kOrder - t.log[b]];
}

Elem exp2(std::uint32_t n) { return tables().exp[n % kOrder]; }

Elem pow(Elem a, std::uint32_t n) {
    if (n == 0) return 1;
    if (a == 0) return 0;
    const Tables& t = tables();
    return t.exp[static_cast<std::uint32_t>((std::uint64_t{t.log[a]} * n) % kOrder)];
}

std::vector<Kernel> availableKernels() { return {Kernel::Scalar}; }

Kernel bestKernel() { return Kernel::Scalar; }

const char* kernelName(Kernel kernel) {
    switch (kernel) {
        case Kernel::Scalar: return "scalar";
        case Kernel::Ssse3: return "ssse3";
        case Kernel::Avx2: return "avx2";
        case Kernel::Avx512: return "avx512";
        case Kernel::Gfni: return "gfni";
    }
    return "?";
}

void mulAdd(Elem factor, std::span<const std::byte> src, std::span<std::byte> dst) {
    mulAddWith(bestKernel(), factor, src, dst);
}

void mulAddWith(Kernel kernel, Elem factor, std::span<const std::byte> src,
                std::span<std::byte> dst) {
    switch (kernel) {
        case Kernel::Scalar: mulAddScalar(factor, src, dst); return;
        case Kernel::Ssse3:
        case Kernel::Avx2:
        case Kernel::Avx512:
        case Kernel::Gfni: break;
    }
    throw std::invalid_argument("gf16 kernel not available");
}

}  // namespace tessark::gf16
