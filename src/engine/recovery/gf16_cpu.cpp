// SPDX-License-Identifier: MIT
// Which vector kernels this processor can run: cpuid says what the processor
// has, and XGETBV whether the operating system saves the registers those
// instructions use (a system that does not would corrupt them at every
// thread switch, so the instructions are off limits there).
#include <cpuid.h>

#include "engine/recovery/gf16_kernels.h"

namespace tessark::gf16::detail {
namespace {

bool has(unsigned reg, unsigned bit) {
    return (reg & (1U << bit)) != 0;
}

// XCR0, the register state the system saves (needs OSXSAVE).
std::uint64_t savedState() {
    unsigned low = 0, high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (std::uint64_t{high} << 32) | low;
}

}  // namespace

CpuFeatures detectCpu() {
    CpuFeatures f;
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(1, &a, &b, &c, &d) == 0)
        return f;
    f.ssse3 = has(c, 9);
    const bool osxsave = has(c, 27), avx = has(c, 28);
    const std::uint64_t xcr0 = osxsave ? savedState() : 0;
    const bool ymmSaved = avx && (xcr0 & 0x6) == 0x6;         // SSE and AVX state
    const bool zmmSaved = ymmSaved && (xcr0 & 0xE0) == 0xE0;  // opmask, ZMM0-15 upper, ZMM16-31
    if (__get_cpuid_count(7, 0, &a, &b, &c, &d) == 0)
        return f;
    f.avx2 = ymmSaved && has(b, 5);
    f.avx512bw = zmmSaved && has(b, 16) && has(b, 30);  // AVX-512F, AVX-512BW
    f.gfni = has(c, 8);
    return f;
}

}  // namespace tessark::gf16::detail
