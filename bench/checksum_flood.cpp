// SPDX-License-Identifier: MIT
#include "checksum_flood.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/checksum/checksum_file.h"
#include "engine/core/text.h"

namespace tessark::bench {
namespace {

// The names of a file, as many as the issue that found the flood used.
constexpr std::size_t kNames = 65536;
// A hash set of colliding names is quadratic: fewer of them show it.
constexpr std::size_t kSetNames = 4096;

// The block step of the C++ library's string hash (libstdc++'s _Hash_bytes,
// a 64-bit Murmur variant): the state after a block of 8 bytes is
// (state ^ mix(block)) * kMul, and mix is a bijection. So for any first
// block A there is exactly one second block B that brings the state after
// both to a chosen value: B = unmix((target / kMul) ^ stateAfter(A)). Names
// that share a prefix, the length and the tail, and differ only in A and B,
// then share the whole hash, whatever the seed. A B whose 4 UTF-16 units are
// not all fit for a file name is passed over (about one in eight).
constexpr std::uint64_t kMul = (std::uint64_t{0xc6a4a793} << 32) + 0x5bd1e995;

std::uint64_t shiftMix(std::uint64_t v) {
    return v ^ (v >> 47);  // its own inverse: 47 is more than half of 64
}

std::uint64_t inverseOf(std::uint64_t odd) {
    std::uint64_t x = odd;  // Newton's step doubles the correct low bits
    for (int i = 0; i < 6; ++i) {
        x *= 2 - odd * x;
    }
    return x;
}

std::uint64_t mix(std::uint64_t block) {
    return shiftMix(block * kMul) * kMul;
}

std::uint64_t unmix(std::uint64_t mixed) {
    const std::uint64_t inv = inverseOf(kMul);
    return shiftMix(mixed * inv) * inv;
}

std::uint64_t blockOf(const char16_t* units) {
    std::uint64_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 16) | units[i];  // little-endian, as the bytes lie in memory
    }
    return v;
}

bool fitForName(char16_t c) {
    return c >= 0x20 && c != 0x7F && c != u'/' && c != u'\\' && (c < 0xD800 || c > 0xDFFF);
}

const Text kPrefix = u"f$.a";  // one block, so that A and B are whole blocks
const Text kTail = u".bin";

Text nameOf(const char16_t* a, const char16_t* b) {
    return kPrefix + Text(a, 4) + Text(b, 4) + kTail;
}

// The library's seed for std::hash of strings.
constexpr std::uint64_t kSeed = 0xc70f6907;

std::vector<Text> collidingNames(std::size_t count, std::mt19937_64& random) {
    std::uniform_int_distribution<int> cjk(0x4E00, 0x9FFF);
    // The state after the prefix: the same for every name of this length.
    constexpr std::uint64_t kBytes = 2 * 16;  // 16 UTF-16 units a name
    const std::uint64_t before = ((kSeed ^ (kBytes * kMul)) ^ mix(blockOf(kPrefix.data()))) * kMul;
    const auto after = [&](std::uint64_t a) { return (before ^ mix(a)) * kMul; };
    char16_t a[4] = {u'甲', u'乙', u'丙', u'丁'};
    char16_t b[4] = {u'子', u'丑', u'寅', u'卯'};
    const std::uint64_t target = (after(blockOf(a)) ^ mix(blockOf(b))) * kMul;
    const std::uint64_t need = target * inverseOf(kMul);
    std::vector<Text> names{nameOf(a, b)};
    std::unordered_set<std::uint64_t> usedA{blockOf(a)};
    while (names.size() < count) {
        for (auto& unit : a) {
            unit = static_cast<char16_t>(cjk(random));
        }
        if (!usedA.insert(blockOf(a)).second) {
            continue;
        }
        const std::uint64_t bBlock = unmix(need ^ after(blockOf(a)));
        for (int i = 0; i < 4; ++i) {
            b[i] = static_cast<char16_t>(bBlock >> (16 * i));
        }
        if (std::all_of(b, b + 4, fitForName)) {
            names.push_back(nameOf(a, b));
        }
    }
    return names;
}

std::vector<Text> randomNames(std::size_t count, std::mt19937_64& random) {
    std::uniform_int_distribution<int> cjk(0x4E00, 0x9FFF);
    std::vector<Text> names;
    std::unordered_set<Text> seen;
    while (names.size() < count) {
        char16_t a[4], b[4];
        for (int i = 0; i < 4; ++i) {
            a[i] = static_cast<char16_t>(cjk(random));
            b[i] = static_cast<char16_t>(cjk(random));
        }
        if (seen.insert(nameOf(a, b)).second) {
            names.push_back(nameOf(a, b));
        }
    }
    return names;
}

std::string checksumText(const std::vector<Text>& names) {
    std::string text;
    const Sha256Digest digest{};
    for (const Text& name : names) {
        text += checksumLine(digest, name);
    }
    return text;
}

// The best of three runs, in seconds.
double bestOf(const std::function<void()>& run) {
    double best = 1e300;
    for (int i = 0; i < 3; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        best = std::min(
            best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

double parseSeconds(const std::string& text, std::size_t expected) {
    return bestOf([&] {
        const auto parsed = parseChecksumText(text, u'/');
        if (!parsed || parsed->size() != expected) {
            throw std::runtime_error("the flood's checksum file was not read whole");
        }
    });
}

double setSeconds(const std::vector<Text>& names, std::size_t count) {
    return bestOf([&] {
        std::unordered_set<Text> set;
        for (std::size_t i = 0; i < count; ++i) {
            set.insert(names[i]);
        }
    });
}

}  // namespace

void measureChecksumFlood() {
    std::fprintf(stderr, "  checksum file of %zu colliding names\n", kNames);
    std::mt19937_64 random(23);
    const auto colliding = collidingNames(kNames, random);
    const auto plain = randomNames(kNames, random);
    const std::hash<Text> hash;
    const bool allCollide = std::all_of(colliding.begin(), colliding.end(), [&](const Text& n) {
        return hash(n) == hash(colliding[0]);
    });

    const double collidingParse = parseSeconds(checksumText(colliding), kNames);
    const double plainParse = parseSeconds(checksumText(plain), kNames);
    std::printf("\nChecksum file of %zu names of %zu characters (best of 3)\n", kNames,
                colliding[0].size());
    std::printf("parse: colliding names %.3f s, random names %.3f s, ratio %.2f (aim: at most 2)\n",
                collidingParse, plainParse, collidingParse / plainParse);
    if (!allCollide) {
        std::printf("  (this C++ library's string hash is not the one the names were made for)\n");
        return;
    }
    const double collidingSet = setSeconds(colliding, kSetNames);
    const double plainSet = setSeconds(plain, kSetNames);
    std::printf(
        "for scale, a hash set of %zu of them: colliding %.3f s, random %.3f s, ratio "
        "%.0f\n",
        kSetNames, collidingSet, plainSet, collidingSet / plainSet);
}

}  // namespace tessark::bench
