// SPDX-License-Identifier: MIT
#include <openssl/evp.h>
#include <zlib.h>

#include <algorithm>
#include <limits>

#include "engine/core/runtime_error.h"
#include "engine/recovery/md5.h"

namespace tessark {

// As with SHA-256: these calls fail only without MD5 in the library or without
// memory for the context.
struct Md5::State {
    EVP_MD_CTX* context = nullptr;

    State() : context(EVP_MD_CTX_new()) {
        if (context == nullptr) {
            raise(err::OutOfMemory);
        }
    }
    ~State() { EVP_MD_CTX_free(context); }
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    void start() {
        if (EVP_DigestInit_ex(context, EVP_md5(), nullptr) != 1) {
            raise(err::OutOfMemory);
        }
    }
};

Md5::Md5() : state_(std::make_unique<State>()) {
    state_->start();
}
Md5::Md5(std::unique_ptr<State> state) : state_(std::move(state)) {}
Md5::~Md5() = default;
Md5::Md5(Md5&&) noexcept = default;
Md5& Md5::operator=(Md5&&) noexcept = default;

void Md5::update(std::span<const std::byte> data) {
    if (!data.empty() && EVP_DigestUpdate(state_->context, data.data(), data.size()) != 1) {
        raise(err::OutOfMemory);
    }
}

Md5 Md5::clone() const {
    auto copy = std::make_unique<State>();
    if (EVP_MD_CTX_copy_ex(copy->context, state_->context) != 1) {
        raise(err::OutOfMemory);
    }
    return Md5(std::move(copy));
}

Md5Digest Md5::finish() {
    Md5Digest digest{};
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(state_->context, digest.data(), &length) != 1 ||
        length != digest.size()) {
        raise(err::InternalError);
    }
    state_->start();
    return digest;
}

std::uint32_t crc32Update(std::uint32_t crc, std::span<const std::byte> data) {
    // zlib takes at most 4 GiB less one at a time.
    constexpr std::size_t kMost = std::numeric_limits<uInt>::max();
    uLong value = crc;
    while (!data.empty()) {
        const std::size_t n = std::min(data.size(), kMost);
        value = crc32(value, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(n));
        data = data.subspan(n);
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace tessark
