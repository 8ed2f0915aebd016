// SPDX-License-Identifier: MIT
#include "engine/core/sha256.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessark {
namespace {

std::span<const std::byte> bytesOf(const std::string& s) {
    return std::as_bytes(std::span(s.data(), s.size()));
}

struct Vector {
    std::string input;
    int repeat;
    const char* hex;
};

// Published test vectors, fed in pieces of every awkward size so that the
// platform hash's own buffering is crossed at odd places.
TEST(Sha256, KnownVectorsWhateverTheChunks) {
    const std::vector<Vector> vectors = {
        {"", 1, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", 1, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", 1,
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"a", 1000000, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& v : vectors) {
        std::string input;
        for (int i = 0; i < v.repeat; ++i) {
            input += v.input;
        }
        for (const std::size_t chunk : {std::size_t{1}, std::size_t{63}, std::size_t{65536}}) {
            Sha256 hash;
            for (std::size_t at = 0; at < input.size(); at += chunk) {
                hash.update(bytesOf(input).subspan(at, std::min(chunk, input.size() - at)));
            }
            EXPECT_EQ(toHex(hash.finish()), v.hex) << v.input.substr(0, 8) << " in " << chunk;
            if (chunk == 1 && input.size() > 100000) {
                break;  // a million one-byte calls say nothing more
            }
        }
    }
}

TEST(Sha256, StartsAgainAfterFinish) {
    Sha256 hash;
    hash.update(bytesOf("abc"));
    hash.finish();
    EXPECT_EQ(toHex(hash.finish()),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

}  // namespace
}  // namespace tessark
