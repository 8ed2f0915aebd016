// SPDX-License-Identifier: MIT
// The block size as typed on the command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tessark::cli {

// Bytes per piece from SIZE as `split -b` reads it: a whole number with an
// optional unit, K M G T P E (powers of 1024, also written KiB, MiB, ...; k
// and m in lower case too), KB MB GB TB PB EB (powers of 1000) or b (512).
// "1.44M" is the window's fixed block of 1,447,035 bytes. Nothing for a text
// that is not such a size, for 0, and for sizes past 2^63 - 1 bytes.
std::optional<std::int64_t> parseBlockSize(std::string_view text);

}  // namespace tessark::cli
