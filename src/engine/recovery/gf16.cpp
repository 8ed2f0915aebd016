// SPDX-License-Identifier: MIT
#include "engine/recovery/gf16.h"

#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "engine/recovery/gf16_kernels.h"

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
            if (x & 0x10000)
                x ^= kPolynomial;
        }
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

// The portable kernel, and the tail the vector kernels leave.
void mulAddScalar(Elem factor, const std::byte* src, std::byte* dst, std::size_t bytes) {
    const Tables& t = tables();
    const std::uint32_t lf = t.log[factor];
    const auto* s = reinterpret_cast<const unsigned char*>(src);
    auto* d = reinterpret_cast<unsigned char*>(dst);
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
        const unsigned v = s[i] | (unsigned{s[i + 1]} << 8);
        if (v == 0)
            continue;
        const Elem p = t.exp[t.log[v] + lf];
        d[i] ^= static_cast<unsigned char>(p & 0xFF);
        d[i + 1] ^= static_cast<unsigned char>(p >> 8);
    }
}

// Factor 1: the product is the word itself. The portable XOR, and the tail
// the vector ones leave.
void xorRegion(const std::byte* src, std::byte* dst, std::size_t bytes) {
    std::size_t i = 0;
    for (; i + 8 <= bytes; i += 8) {
        std::uint64_t a = 0, b = 0;
        std::memcpy(&a, src + i, 8);
        std::memcpy(&b, dst + i, 8);
        b ^= a;
        std::memcpy(dst + i, &b, 8);
    }
    for (; i < bytes; ++i)
        dst[i] ^= src[i];
}

#ifdef TESSARK_GF16_X86
// factor * 2^j for the sixteen bits j of a word: multiplying by the factor is
// linear, so these columns say everything about it.
std::array<Elem, 16> columns(Elem factor) {
    std::array<Elem, 16> c{};
    std::uint32_t x = factor;
    for (auto& column : c) {
        column = static_cast<Elem>(x);
        x <<= 1;
        if (x & 0x10000)
            x ^= kPolynomial;
    }
    return c;
}

// Every call builds these afresh, so they are built from the columns by
// XORs and shifts, with no table lookups and no loop over the 256 bits.
detail::NibbleTables nibbleTables(Elem factor) {
    const std::array<Elem, 16> c = columns(factor);
    detail::NibbleTables t{};
    for (std::size_t i = 0; i < 4; ++i) {
        unsigned product[16] = {0};
        for (unsigned n = 1; n < 16; ++n) {
            // n without its lowest bit, plus that bit's column.
            product[n] = product[n & (n - 1)] ^ c[4 * i + std::countr_zero(n)];
            t.low[i][n] = static_cast<std::uint8_t>(product[n] & 0xFF);
            t.high[i][n] = static_cast<std::uint8_t>(product[n] >> 8);
        }
    }
    return t;
}

// The 8x8 bit matrix held one row a byte (bit j of byte i is entry i, j),
// transposed.
std::uint64_t transposeBits(std::uint64_t x) {
    std::uint64_t t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAULL;
    x ^= t ^ (t << 7);
    t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCULL;
    x ^= t ^ (t << 14);
    t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ULL;
    return x ^ t ^ (t << 28);
}

detail::ByteMatrices byteMatrices(Elem factor) {
    const std::array<Elem, 16> c = columns(factor);
    // The block taking input byte `in` to output byte `out`. Byte j of
    // `columns` is output byte `out` of the product with input bit j: the
    // block's column j. Transposed, byte r holds the row of output bit r,
    // which gf2p8affineqb wants in byte 7 - r.
    const auto block = [&c](unsigned out, unsigned in) {
        std::uint64_t columnBytes = 0;
        for (unsigned j = 0; j < 8; ++j) {
            columnBytes |= std::uint64_t{(c[8 * in + j] >> (8 * out)) & 0xFFU} << (8 * j);
        }
        return __builtin_bswap64(transposeBits(columnBytes));
    };
    return {block(0, 0), block(0, 1), block(1, 0), block(1, 1)};
}
#endif

// How much of the region the kernel did; the scalar kernel does the rest.
std::size_t vectorPart(Kernel kernel, Elem factor, const std::byte* src, std::byte* dst,
                       std::size_t bytes) {
#ifdef TESSARK_GF16_X86
    if (factor == 1) {
        switch (kernel) {
            case Kernel::Scalar:
                return 0;
            case Kernel::Ssse3:
                return detail::xorSsse3(src, dst, bytes);
            case Kernel::Avx2:
            case Kernel::GfniAvx2:
                return detail::xorAvx2(src, dst, bytes);
            case Kernel::Avx512:
            case Kernel::Gfni:
                return detail::xorAvx512(src, dst, bytes);
        }
    }
    switch (kernel) {
        case Kernel::Scalar:
            return 0;
        case Kernel::Ssse3:
            return detail::mulAddSsse3(nibbleTables(factor), src, dst, bytes);
        case Kernel::Avx2:
            return detail::mulAddAvx2(nibbleTables(factor), src, dst, bytes);
        case Kernel::GfniAvx2:
            return detail::mulAddGfniAvx2(byteMatrices(factor), src, dst, bytes);
        case Kernel::Avx512:
            return detail::mulAddAvx512(nibbleTables(factor), src, dst, bytes);
        case Kernel::Gfni:
            return detail::mulAddGfni(byteMatrices(factor), src, dst, bytes);
    }
#else
    (void)kernel, (void)factor, (void)src, (void)dst, (void)bytes;
#endif
    return 0;
}

// availableKernels() as flags by kernel, found once.
struct Available {
    std::array<bool, 6> has{};
    Available() {
        has[static_cast<std::size_t>(Kernel::Scalar)] = true;
#ifdef TESSARK_GF16_X86
        const detail::CpuFeatures cpu = detail::detectCpu();
        has[static_cast<std::size_t>(Kernel::Ssse3)] = cpu.ssse3;
        has[static_cast<std::size_t>(Kernel::Avx2)] = cpu.avx2;
        has[static_cast<std::size_t>(Kernel::GfniAvx2)] = cpu.avx2 && cpu.gfni;
        has[static_cast<std::size_t>(Kernel::Avx512)] = cpu.avx512bw;
        has[static_cast<std::size_t>(Kernel::Gfni)] = cpu.avx512bw && cpu.gfni;
#endif
    }
    bool operator()(Kernel k) const {
        const auto i = static_cast<std::size_t>(k);
        return i < has.size() && has[i];
    }
};

const Available& available() {
    static const Available a;
    return a;
}

}  // namespace

Elem mul(Elem a, Elem b) {
    if (a == 0 || b == 0)
        return 0;
    const Tables& t = tables();
    return t.exp[t.log[a] + t.log[b]];
}

Elem div(Elem a, Elem b) {
    if (b == 0)
        throw std::domain_error("gf16::div");
    if (a == 0)
        return 0;
    const Tables& t = tables();
    return t.exp[t.log[a] + kOrder - t.log[b]];
}

Elem exp2(std::uint32_t n) {
    return tables().exp[n % kOrder];
}

Elem pow(Elem a, std::uint32_t n) {
    if (n == 0)
        return 1;
    if (a == 0)
        return 0;
    const Tables& t = tables();
    return t.exp[static_cast<std::uint32_t>((std::uint64_t{t.log[a]} * n) % kOrder)];
}

std::vector<Kernel> availableKernels() {
    std::vector<Kernel> kernels;
    for (const Kernel k : {Kernel::Scalar, Kernel::Ssse3, Kernel::Avx2, Kernel::Avx512,
                           Kernel::GfniAvx2, Kernel::Gfni}) {
        if (available()(k))
            kernels.push_back(k);
    }
    return kernels;
}

// The kernels are listed slowest first, so the fastest is the last. The
// environment variable TESSARK_GF16_KERNEL, read once, names another one the
// processor runs (as kernelName spells it), so that the benchmark can time
// whole runs with each; any other value is passed over.
Kernel bestKernel() {
    static const Kernel best = [] {
        const std::vector<Kernel> kernels = availableKernels();
        if (const char* forced = std::getenv("TESSARK_GF16_KERNEL")) {
            for (const Kernel k : kernels) {
                if (std::strcmp(forced, kernelName(k)) == 0)
                    return k;
            }
        }
        return kernels.back();
    }();
    return best;
}

const char* kernelName(Kernel kernel) {
    switch (kernel) {
        case Kernel::Scalar:
            return "scalar";
        case Kernel::Ssse3:
            return "ssse3";
        case Kernel::Avx2:
            return "avx2";
        case Kernel::GfniAvx2:
            return "avx2-gfni";
        case Kernel::Avx512:
            return "avx512";
        case Kernel::Gfni:
            return "gfni";
    }
    return "?";
}

void mulAdd(Elem factor, std::span<const std::byte> src, std::span<std::byte> dst) {
    mulAddWith(bestKernel(), factor, src, dst);
}

void mulAddWith(Kernel kernel, Elem factor, std::span<const std::byte> src,
                std::span<std::byte> dst) {
    if (!available()(kernel))
        throw std::invalid_argument("gf16::kernel");
    if (src.size() != dst.size() || src.size() % 2 != 0) {
        throw std::invalid_argument("gf16::mulAdd: sizes");
    }
    const std::size_t bytes = src.size();
    if (factor == 0 || bytes == 0)
        return;
    const std::size_t done = vectorPart(kernel, factor, src.data(), dst.data(), bytes);
    if (factor == 1) {
        xorRegion(src.data() + done, dst.data() + done, bytes - done);
    } else {
        mulAddScalar(factor, src.data() + done, dst.data() + done, bytes - done);
    }
}

}  // namespace tessark::gf16
