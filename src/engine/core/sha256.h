// SPDX-License-Identifier: MIT
// SHA-256 from the platform's own cryptography (libcrypto on Linux, CNG on
// Windows): it uses the processor's hash instructions where there are any,
// and no hand-written hash can be trusted as those are.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace tessark {

using Sha256Digest = std::array<std::uint8_t, 32>;

// One running hash. Not copyable; move it to hand it on.
class Sha256 {
  public:
    Sha256();
    ~Sha256();
    Sha256(Sha256&&) noexcept;
    Sha256& operator=(Sha256&&) noexcept;
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void update(std::span<const std::byte> data);
    // The digest of everything given so far; the hash starts again empty.
    Sha256Digest finish();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// 64 lowercase hexadecimal digits.
std::string toHex(const Sha256Digest& digest);

}  // namespace tessark
