// SPDX-License-Identifier: MIT
#include <openssl/evp.h>

#include "engine/core/runtime_error.h"
#include "engine/core/sha256.h"

namespace tessark {

// The only ways these calls fail are a library without SHA-256 or no memory
// for the context: both leave the run unable to go on, like memory running
// out.
struct Sha256::State {
    EVP_MD_CTX* context = nullptr;

    State() : context(EVP_MD_CTX_new()) {
        if (context == nullptr) {
            raise(err::OutOfMemory);
        }
        start();
    }
    ~State() { EVP_MD_CTX_free(context); }
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    void start() {
        if (EVP_DigestInit_ex(context, EVP_sha256(), nullptr) != 1) {
            raise(err::OutOfMemory);
        }
    }
};

Sha256::Sha256() : state_(std::make_unique<State>()) {}
Sha256::~Sha256() = default;
Sha256::Sha256(Sha256&&) noexcept = default;
Sha256& Sha256::operator=(Sha256&&) noexcept = default;

void Sha256::update(std::span<const std::byte> data) {
    if (!data.empty() && EVP_DigestUpdate(state_->context, data.data(), data.size()) != 1) {
        raise(err::OutOfMemory);
    }
}

Sha256Digest Sha256::finish() {
    Sha256Digest digest{};
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(state_->context, digest.data(), &length) != 1 ||
        length != digest.size()) {
        raise(err::InternalError);
    }
    state_->start();
    return digest;
}

}  // namespace tessark
