// SPDX-License-Identifier: MIT
#include "cli/block_size.h"

#include <limits>
#include <string>

#include "engine/split/split_settings.h"

namespace tessark::cli {
namespace {

// The power a unit letter stands for: K is the first, E the sixth.
std::optional<int> unitPower(char letter) {
    const std::string_view letters = "KMGTPE";
    const char upper =
        letter == 'k' || letter == 'm' ? static_cast<char>(letter - 'a' + 'A') : letter;
    const auto at = letters.find(upper);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return static_cast<int>(at) + 1;
}

std::optional<std::int64_t> times(std::int64_t value, std::int64_t factor) {
    if (value > std::numeric_limits<std::int64_t>::max() / factor) {
        return std::nullopt;
    }
    return value * factor;
}

}  // namespace

std::optional<std::int64_t> parseBlockSize(std::string_view text) {
    if (text == "1.44M") {
        return kFloppyBlock;
    }
    std::size_t digits = 0;
    std::int64_t value = 0;
    for (; digits < text.size() && text[digits] >= '0' && text[digits] <= '9'; ++digits) {
        const auto shifted = times(value, 10);
        if (!shifted ||
            *shifted > std::numeric_limits<std::int64_t>::max() - (text[digits] - '0')) {
            return std::nullopt;
        }
        value = *shifted + (text[digits] - '0');
    }
    if (digits == 0) {
        return std::nullopt;
    }
    const std::string_view unit = text.substr(digits);
    std::int64_t factor = 1;
    if (unit == "b") {
        factor = 512;
    } else if (!unit.empty()) {
        const auto power = unitPower(unit[0]);
        const std::string_view rest = unit.substr(1);
        if (!power || (rest != "" && rest != "B" && rest != "iB")) {
            return std::nullopt;
        }
        const std::int64_t base = rest == "B" ? 1000 : 1024;
        for (int i = 0; i < *power; ++i) {
            factor *= base;
        }
    }
    const auto bytes = times(value, factor);
    if (!bytes || *bytes <= 0) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace tessark::cli
