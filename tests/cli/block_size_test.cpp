// SPDX-License-Identifier: MIT
// SIZE as `split -b` reads it, and what it refuses.
#include <gtest/gtest.h>

#include <optional>

#include "cli/block_size.h"

namespace tessark::cli {
namespace {

struct SizeCase {
    const char* text;
    std::optional<std::int64_t> bytes;
};

void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class BlockSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(BlockSizeTest, ReadsAsSplitDoes) {
    EXPECT_EQ(parseBlockSize(GetParam().text), GetParam().bytes) << GetParam().text;
}

constexpr std::int64_t kMax = 9223372036854775807;

INSTANTIATE_TEST_SUITE_P(
    Sizes, BlockSizeTest,
    ::testing::Values(
        SizeCase{"1", 1}, SizeCase{"1000", 1000}, SizeCase{"007", 7}, SizeCase{"1.44M", 1447035},
        SizeCase{"1K", 1024}, SizeCase{"1k", 1024}, SizeCase{"3KiB", 3072}, SizeCase{"1KB", 1000},
        SizeCase{"2M", 2097152}, SizeCase{"2m", 2097152}, SizeCase{"2MB", 2000000},
        SizeCase{"1G", 1073741824}, SizeCase{"1GB", 1000000000}, SizeCase{"1T", 1099511627776},
        SizeCase{"3b", 1536}, SizeCase{"7E", 8070450532247928832},
        SizeCase{"9223372036854775807", kMax},
        // Refused: not a number, no digits, a unit split does not
        // know, zero, signs, blanks, fractions other than the
        // fixed block, and sizes past the 64-bit range.
        SizeCase{"", std::nullopt}, SizeCase{"K", std::nullopt}, SizeCase{"abc", std::nullopt},
        SizeCase{"0", std::nullopt}, SizeCase{"0K", std::nullopt}, SizeCase{"-1", std::nullopt},
        SizeCase{"+1", std::nullopt}, SizeCase{" 1", std::nullopt}, SizeCase{"1 ", std::nullopt},
        SizeCase{"1.5M", std::nullopt}, SizeCase{"1.44m", std::nullopt},
        SizeCase{"1g", std::nullopt}, SizeCase{"1KiBB", std::nullopt},
        SizeCase{"1bB", std::nullopt}, SizeCase{"1X", std::nullopt}, SizeCase{"8E", std::nullopt},
        SizeCase{"9223372036854775808", std::nullopt},
        SizeCase{"99999999999999999999", std::nullopt}));

}  // namespace
}  // namespace tessark::cli
