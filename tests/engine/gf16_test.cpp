// SPDX-License-Identifier: MIT
#include "engine/recovery/gf16.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/recovery/gf16_matrix.h"

namespace tessark::gf16 {
namespace {

// The product by shifts and the polynomial, sharing nothing with the tables.
Elem slowMul(Elem a, Elem b) {
    std::uint32_t product = 0, x = a;
    for (unsigned bit = 0; bit < 16; ++bit) {
        if (b & (1U << bit))
            product ^= x;
        x <<= 1;
        if (x & 0x10000)
            x ^= kPolynomial;
    }
    return static_cast<Elem>(product);
}

TEST(Gf16Field, ProductsQuotientsAndPowersAgreeWithShiftAndReduce) {
    std::mt19937 random(24);
    for (int i = 0; i < 20000; ++i) {
        const auto a = static_cast<Elem>(random()), b = static_cast<Elem>(random() | 1);
        ASSERT_EQ(mul(a, b), slowMul(a, b)) << a << " * " << b;
        ASSERT_EQ(div(mul(a, b), b), a) << a << " * " << b;
        const auto n = static_cast<std::uint32_t>(random() % 64);
        Elem power = 1;
        for (std::uint32_t k = 0; k < n; ++k)
            power = slowMul(power, a);
        ASSERT_EQ(pow(a, n), power) << a << " ^ " << n;
    }
    EXPECT_EQ(pow(0x1234, kOrder), 1);
    EXPECT_EQ(pow(0, 5), 0);
    EXPECT_THROW(div(1, 0), std::domain_error);
}

// 2 generates the multiplicative group: its powers run through every
// non-zero element once before 2^65535 = 1.
TEST(Gf16Field, TwoHasOrder65535) {
    std::bitset<65536> seen;
    Elem expected = 1;
    for (std::uint32_t n = 0; n < kOrder; ++n) {
        ASSERT_EQ(exp2(n), expected) << n;
        ASSERT_FALSE(seen[expected]) << n;
        seen[expected] = true;
        expected = slowMul(expected, 2);
    }
    EXPECT_EQ(exp2(kOrder), 1);
    EXPECT_FALSE(seen[0]);
}

class Gf16Kernels : public testing::TestWithParam<Kernel> {};

// Every kernel against the word-by-word product, at lengths around each
// vector step, from unaligned starts, with guard bytes on both sides of the
// destination that must come out untouched.
TEST_P(Gf16Kernels, MatchWordByWordProducts) {
    const Kernel kernel = GetParam();
    std::mt19937 random(static_cast<unsigned>(kernel) + 1);
    std::vector<std::size_t> lengths = {0, 2, 1048576 + 2};
    for (const std::size_t step : {16, 32, 64, 128, 256}) {
        for (const std::size_t length : {step - 2, step, step + 2, 3 * step - 2, 3 * step + 14}) {
            lengths.push_back(length);
        }
    }
    constexpr std::size_t kGuard = 67;
    for (const std::size_t length : lengths) {
        for (const auto& [srcAt, dstAt] :
             {std::pair<std::size_t, std::size_t>{1, 3}, {0, 0}, {6, 1}}) {
            if (length > 4096 && srcAt != 1)
                continue;  // one unaligned run is enough
            for (const Elem factor :
                 {Elem{0}, Elem{1}, Elem{2}, Elem{0xFFFF}, static_cast<Elem>(random() | 2)}) {
                SCOPED_TRACE(testing::Message() << length << " bytes at +" << srcAt << " into +"
                                                << dstAt << ", factor " << factor);
                // src ends where the region does (an overread shows under ASan).
                std::vector<std::byte> src(length + srcAt), dst(kGuard + dstAt + length + kGuard);
                for (auto& b : src)
                    b = static_cast<std::byte>(random());
                for (auto& b : dst)
                    b = static_cast<std::byte>(random());
                std::vector<std::byte> expected = dst;
                for (std::size_t i = 0; i < length; i += 2) {
                    const auto word =
                        static_cast<Elem>(std::to_integer<unsigned>(src[srcAt + i]) |
                                          std::to_integer<unsigned>(src[srcAt + i + 1]) << 8);
                    const Elem p = mul(factor, word);
                    expected[kGuard + dstAt + i] ^= static_cast<std::byte>(p & 0xFF);
                    expected[kGuard + dstAt + i + 1] ^= static_cast<std::byte>(p >> 8);
                }
                mulAddWith(kernel, factor, std::span(src).subspan(srcAt, length),
                           std::span(dst).subspan(kGuard + dstAt, length));
                ASSERT_TRUE(dst == expected);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Available, Gf16Kernels, testing::ValuesIn(availableKernels()),
                         [](const testing::TestParamInfo<Kernel>& kernel) {
                             std::string name = kernelName(kernel.param);
                             std::erase(name, '-');
                             return name;
                         });

#if defined(__x86_64__) || defined(__i386__)
// Detection against the compiler's own, which reads cpuid apart from ours: a
// kernel missing here would leave a fast processor on a slow path unnoticed.
TEST(Gf16Kernels, EveryKernelTheProcessorRunsIsAvailable) {
    const auto has = [](Kernel k) {
        const auto all = availableKernels();
        return std::find(all.begin(), all.end(), k) != all.end();
    };
    const bool avx512 = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    const bool gfni = __builtin_cpu_supports("gfni");
    EXPECT_EQ(has(Kernel::Ssse3), __builtin_cpu_supports("ssse3") != 0);
    EXPECT_EQ(has(Kernel::Avx2), __builtin_cpu_supports("avx2") != 0);
    EXPECT_EQ(has(Kernel::GfniAvx2), __builtin_cpu_supports("avx2") && gfni);
    EXPECT_EQ(has(Kernel::Avx512), avx512);
    EXPECT_EQ(has(Kernel::Gfni), avx512 && gfni);
    EXPECT_EQ(bestKernel(), availableKernels().back());
}
#endif

TEST(Gf16Kernels, RefusesRegionsOfDifferentOrOddSizes) {
    std::vector<std::byte> a(8), b(6);
    EXPECT_THROW(mulAdd(3, a, b), std::invalid_argument);
    EXPECT_THROW(mulAdd(3, std::span(a).first(5), std::span(a).last(5)), std::invalid_argument);
}

// A random invertible matrix with many zero cells, so that rows must be
// swapped to find pivots: row r has a non-zero cell in column order[r] and
// random ones only right of it. And the same with its last row a mix of two
// others.
TEST(Gf16Matrix, InverseTimesMatrixIsIdentityAndSingularHasNone) {
    std::mt19937 random(7);
    for (const std::size_t n : {1, 2, 5, 64, 150}) {
        SCOPED_TRACE(n);
        std::vector<std::size_t> order(n);
        for (std::size_t i = 0; i < n; ++i)
            order[i] = i;
        std::shuffle(order.begin(), order.end(), random);
        Matrix m(n);
        for (std::size_t r = 0; r < n; ++r) {
            m.at(r, order[r]) = static_cast<Elem>(random() % 65535 + 1);
            for (std::size_t c = order[r] + 1; c < n; ++c) {
                if (random() % 3 == 0)
                    m.at(r, c) = static_cast<Elem>(random());
            }
        }
        const auto inv = inverse(m);
        ASSERT_TRUE(inv.has_value());
        EXPECT_TRUE(m * *inv == Matrix::identity(n));
        EXPECT_TRUE(*inv * m == Matrix::identity(n));

        if (n < 3)
            continue;
        for (std::size_t c = 0; c < n; ++c) {
            m.at(n - 1, c) = static_cast<Elem>(m.at(0, c) ^ mul(0x4321, m.at(1, c)));
        }
        EXPECT_FALSE(inverse(m).has_value());
    }
    EXPECT_FALSE(inverse(Matrix(3)).has_value());
}

}  // namespace
}  // namespace tessark::gf16
