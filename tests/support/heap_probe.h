// SPDX-License-Identifier: MIT
// The bytes the program's heap holds in use, where the allocator says.
#pragma once

#include <cstdint>
#include <optional>

#if defined(__SANITIZE_ADDRESS__)
#include <cstddef>
// The sanitizer's allocator statistics (not every compiler ships its header).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#elif defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tessark::test {

inline std::optional<std::int64_t> heapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<std::int64_t>(__sanitizer_get_current_allocated_bytes());
#elif defined(__GLIBC__)
    const struct mallinfo2 info = mallinfo2();
    return static_cast<std::int64_t>(info.uordblks + info.hblkhd);
#else
    return std::nullopt;
#endif
}

}  // namespace tessark::test
