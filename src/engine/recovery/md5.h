// SPDX-License-Identifier: MIT
// MD5 and CRC32, the two checks recovery files use for packets, files and
// slices: from the platform's own libraries (libcrypto and zlib on Linux, CNG
// and the system's CRC32 on Windows), never hand-written.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace tessark {

using Md5Digest = std::array<std::uint8_t, 16>;

// One running hash. Not copyable; clone() duplicates the state on purpose.
class Md5 {
  public:
    Md5();
    ~Md5();
    Md5(Md5&&) noexcept;
    Md5& operator=(Md5&&) noexcept;
    Md5(const Md5&) = delete;
    Md5& operator=(const Md5&) = delete;

    void update(std::span<const std::byte> data);
    // A second hash that has seen what this one has.
    Md5 clone() const;
    // The digest of everything given so far; the hash starts again empty.
    Md5Digest finish();

  private:
    struct State;
    explicit Md5(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

Md5Digest md5Of(std::span<const std::byte> data);

// The CRC-32 of zip and PNG (reflected, polynomial 0xEDB88320): `crc` is the
// value of the bytes before `data`, 0 at the start.
std::uint32_t crc32Update(std::uint32_t crc, std::span<const std::byte> data);

}  // namespace tessark
