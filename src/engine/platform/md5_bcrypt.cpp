// SPDX-License-Identifier: MIT
#include <windows.h>

#include <bcrypt.h>

#include <algorithm>
#include <limits>

#include "engine/core/runtime_error.h"
#include "engine/recovery/md5.h"

namespace tessark {
namespace {

bool ok(NTSTATUS status) {
    return status >= 0;
}

// Opened once for the program, as for SHA-256.
BCRYPT_ALG_HANDLE provider() {
    static const BCRYPT_ALG_HANDLE handle = [] {
        BCRYPT_ALG_HANDLE h = nullptr;
        if (!ok(BCryptOpenAlgorithmProvider(&h, BCRYPT_MD5_ALGORITHM, nullptr, 0))) {
            return BCRYPT_ALG_HANDLE{nullptr};
        }
        return h;
    }();
    if (handle == nullptr) {
        raise(err::InternalError);
    }
    return handle;
}

// ntdll's CRC-32, the zip one; looked up once (ntdll is in every process).
using RtlComputeCrc32Fn = DWORD(WINAPI*)(DWORD, const BYTE*, INT);

RtlComputeCrc32Fn crcFunction() {
    static const RtlComputeCrc32Fn function = [] {
        const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        if (ntdll == nullptr) {
            return RtlComputeCrc32Fn{nullptr};
        }
        return reinterpret_cast<RtlComputeCrc32Fn>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlComputeCrc32")));
    }();
    if (function == nullptr) {
        raise(err::InternalError);
    }
    return function;
}

}  // namespace

struct Md5::State {
    BCRYPT_HASH_HANDLE hash = nullptr;

    State() = default;
    ~State() { BCryptDestroyHash(hash); }
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    void start() {
        if (!ok(BCryptCreateHash(provider(), &hash, nullptr, 0, nullptr, 0, 0))) {
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

Md5 Md5::clone() const {
    auto copy = std::make_unique<State>();
    if (!ok(BCryptDuplicateHash(state_->hash, &copy->hash, nullptr, 0, 0))) {
        raise(err::OutOfMemory);
    }
    return Md5(std::move(copy));
}

Md5Digest Md5::finish() {
    Md5Digest digest{};
    if (!ok(BCryptFinishHash(state_->hash, digest.data(), static_cast<ULONG>(digest.size()), 0))) {
        raise(err::InternalError);
    }
    BCryptDestroyHash(state_->hash);
    state_->hash = nullptr;
    state_->start();
    return digest;
}

std::uint32_t crc32Update(std::uint32_t crc, std::span<const std::byte> data) {
    constexpr std::size_t kMost = std::numeric_limits<INT>::max();
    const RtlComputeCrc32Fn compute = crcFunction();
    DWORD value = crc;
    while (!data.empty()) {
        const std::size_t n = std::min(data.size(), kMost);
        value = compute(value, reinterpret_cast<const BYTE*>(data.data()), static_cast<INT>(n));
        data = data.subspan(n);
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace tessark
