// SPDX-License-Identifier: MIT
// The progress line's figures, and how it is drawn over itself and rubbed out.
#include <gtest/gtest.h>

#include <string>

#include "cli/progress_line.h"

namespace tessark::cli {
namespace {

constexpr std::int64_t kMiB = 1 << 20;

struct LineCase {
    std::int64_t done, total;
    double seconds;
    const char* line;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.done << "_of_" << c.total << "_in_" << c.seconds << "s";
}

class ProgressLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ProgressLineTest, ShowsPercentBytesSpeedAndTimeLeft) {
    const auto& c = GetParam();
    EXPECT_EQ(progressLine(c.done, c.total, c.seconds), c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Figures, ProgressLineTest,
    ::testing::Values(
        LineCase{0, 512 * kMiB, 0.0, "  0%   0.0 MiB / 512.0 MiB   0.0 MiB/s   --:-- left"},
        LineCase{128 * kMiB, 512 * kMiB, 2.0,
                 " 25%   128.0 MiB / 512.0 MiB   64.0 MiB/s   0:06 left"},
        // The time left rounds up, and grows an hours field past an hour.
        LineCase{kMiB, 4000 * kMiB, 1.0, "  0%   1.0 MiB / 4000.0 MiB   1.0 MiB/s   1:06:39 left"},
        LineCase{3 * kMiB, 10 * kMiB, 1.0, " 30%   3.0 MiB / 10.0 MiB   3.0 MiB/s   0:03 left"},
        LineCase{10 * kMiB, 10 * kMiB, 4.0, "100%   10.0 MiB / 10.0 MiB   2.5 MiB/s   0:00 left"},
        // An empty source is complete from the start.
        LineCase{0, 0, 0.0, "100%   0.0 MiB / 0.0 MiB   0.0 MiB/s   --:-- left"}));

TEST(ProgressLineDrawing, RedrawsInPlaceAndRubsOutWhatItDrew) {
    std::string terminal;
    {
        ProgressLine line(true, [&](std::string_view text) { terminal += text; });
        line.update(0, 10 * kMiB);
        ASSERT_EQ(terminal.front(), '\r');
        // The last update always shows, however soon it comes.
        line.update(10 * kMiB, 10 * kMiB);
        const std::size_t second = terminal.rfind('\r');
        ASSERT_NE(second, 0u);
        std::string shown = terminal.substr(second + 1);
        EXPECT_EQ(shown.rfind("100%", 0), 0u) << shown;
        shown.erase(shown.find_last_not_of(' ') + 1);
        const std::size_t width = shown.size();
        terminal.clear();
        line.finish();
        EXPECT_EQ(terminal, "\r" + std::string(width, ' ') + "\r");
        terminal.clear();
    }
    EXPECT_EQ(terminal, "") << "finished once, not again when destroyed";
}

TEST(ProgressLineDrawing, DrawsNothingWhenDisabled) {
    std::string terminal;
    {
        ProgressLine line(false, [&](std::string_view text) { terminal += text; });
        line.update(1, 2);
        line.update(2, 2);
    }
    EXPECT_EQ(terminal, "");
}

}  // namespace
}  // namespace tessark::cli
