// SPDX-License-Identifier: MIT
#include <windows.h>

#include <bcrypt.h>

#include <limits>

#include "engine/core/runtime_error.h"
#include "engine/core/sha256.h"

namespace tessark {
namespace {

bool ok(NTSTATUS status) {
    return status >= 0;
}

// The algorithm provider is opened once for the program: opening it is the
// slow part of CNG, and the handle may be shared between threads.
BCRYPT_ALG_HANDLE provider() {
    static const BCRYPT_ALG_HANDLE handle = [] {
        BCRYPT_ALG_HANDLE h = nullptr;
        if (!ok(BCryptOpenAlgorithmProvider(&h, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
            return BCRYPT_ALG_HANDLE{nullptr};
        }
        return h;
    }();
    if (handle == nullptr) {
        raise(err::InternalError);
    }
    return handle;
}

}  // namespace

struct Sha256::State {
    BCRYPT_HASH_HANDLE hash = nullptr;

    State() { start(); }
    ~State() { BCryptDestroyHash(hash); }
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    // The system keeps the hash object's memory itself (no object buffer).
    void start() {
        if (!ok(BCryptCreateHash(provider(), &hash, nullptr, 0, nullptr, 0, 0))) {
            raise(err::OutOfMemory);
        }
    }
};

Sha256::Sha256() : state_(std::make_unique<State>()) {}
Sha256::~Sha256() = default;
Sha256::Sha256(Sha256&&) noexcept = default;
Sha256& Sha256::operator=(Sha256&&) noexcept = default;

void Sha256::update(std::span<const std::byte> data) {
    // BCryptHashData takes at most 4 GiB less one at a time.
    constexpr std::size_t kMost = std::numeric_limits<ULONG>::max();
    while (!data.empty()) {
        const std::size_t n = std::min(data.size(), kMost);
        auto* bytes = reinterpret_cast<PUCHAR>(const_cast<std::byte*>(data.data()));
        if (!ok(BCryptHashData(state_->hash, bytes, static_cast<ULONG>(n), 0))) {
            raise(err::InternalError);
        }
        data = data.subspan(n);
    }
}

Sha256Digest Sha256::finish() {
    Sha256Digest digest{};
    if (!ok(BCryptFinishHash(state_->hash, digest.data(), static_cast<ULONG>(digest.size()), 0))) {
        raise(err::InternalError);
    }
    BCryptDestroyHash(state_->hash);
    state_->hash = nullptr;
    state_->start();
    return digest;
}

}  // namespace tessark
