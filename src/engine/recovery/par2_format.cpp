// SPDX-License-Identifier: MIT
#include "engine/recovery/par2_format.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace tessark::par2 {
namespace {

constexpr TypeTag tag(const char (&text)[17]) {
    TypeTag out{};
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<std::uint8_t>(text[i]);
    }
    return out;
}

constexpr TypeTag kMain = tag("PAR 2.0\0Main\0\0\0\0");
constexpr TypeTag kFileDesc = tag("PAR 2.0\0FileDesc");
constexpr TypeTag kIfsc = tag("PAR 2.0\0IFSC\0\0\0\0");
constexpr TypeTag kRecv = tag("PAR 2.0\0RecvSlic");
constexpr TypeTag kCreator = tag("PAR 2.0\0Creator\0");

void append(std::vector<std::byte>& out, std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t b : bytes) {
        out.push_back(static_cast<std::byte>(b));
    }
}

// Byte by byte, little-endian: a range insert makes GCC 12 at -O3 warn of
// writes past a vector's end that cannot happen.
void appendU64(std::vector<std::byte>& out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        out.push_back(static_cast<std::byte>(value >> (8 * i)));
    }
}

void appendU32(std::vector<std::byte>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::byte>(value >> (8 * i)));
    }
}

void padTo4(std::vector<std::byte>& out) {
    while (out.size() % 4 != 0) {
        out.push_back(std::byte{0});
    }
}

}  // namespace

PacketType packetTypeOf(std::span<const std::uint8_t, 16> t) {
    const auto is = [&](const TypeTag& known) {
        return std::equal(t.begin(), t.end(), known.begin());
    };
    if (is(kMain)) {
        return PacketType::Main;
    }
    if (is(kFileDesc)) {
        return PacketType::FileDescription;
    }
    if (is(kIfsc)) {
        return PacketType::SliceChecksums;
    }
    if (is(kRecv)) {
        return PacketType::RecoverySlice;
    }
    if (is(kCreator)) {
        return PacketType::Creator;
    }
    return PacketType::Other;
}

const TypeTag& typeTag(PacketType type) {
    switch (type) {
        case PacketType::Main:
            return kMain;
        case PacketType::FileDescription:
            return kFileDesc;
        case PacketType::SliceChecksums:
            return kIfsc;
        case PacketType::RecoverySlice:
            return kRecv;
        case PacketType::Creator:
        case PacketType::Other:
            break;
    }
    return kCreator;
}

std::uint32_t inputLog(std::int64_t index) {
    // Built once: the 32,768 logarithms in order.
    static const std::vector<std::uint16_t> logs = [] {
        std::vector<std::uint16_t> out;
        out.reserve(static_cast<std::size_t>(kMaxInputSlices));
        for (std::uint32_t n = 1; n < gf16::kOrder; ++n) {
            if (std::gcd(n, gf16::kOrder) == 1) {
                out.push_back(static_cast<std::uint16_t>(n));
            }
        }
        return out;
    }();
    return logs.at(static_cast<std::size_t>(index));
}

gf16::Elem inputFactor(std::int64_t index, std::uint32_t exponent) {
    const std::uint64_t n = std::uint64_t{inputLog(index)} * exponent % gf16::kOrder;
    return gf16::exp2(static_cast<std::uint32_t>(n));
}

Id fileId(const Md5Digest& head, std::int64_t length, std::string_view name) {
    std::vector<std::byte> bytes;
    append(bytes, head);
    appendU64(bytes, static_cast<std::uint64_t>(length));
    const auto* chars = reinterpret_cast<const std::byte*>(name.data());
    bytes.insert(bytes.end(), chars, chars + name.size());
    return md5Of(bytes);
}

bool idLess(const Id& a, const Id& b) {
    return std::lexicographical_compare(a.rbegin(), a.rend(), b.rbegin(), b.rend());
}

std::vector<std::byte> mainBody(std::int64_t sliceSize, std::span<const Id> ids) {
    std::vector<std::byte> out;
    appendU64(out, static_cast<std::uint64_t>(sliceSize));
    appendU32(out, static_cast<std::uint32_t>(ids.size()));
    for (const Id& id : ids) {
        append(out, id);
    }
    return out;
}

std::vector<std::byte> fileDescriptionBody(const FileEntry& file) {
    std::vector<std::byte> out;
    append(out, file.id);
    append(out, file.whole);
    append(out, file.head);
    appendU64(out, static_cast<std::uint64_t>(file.length));
    const auto* chars = reinterpret_cast<const std::byte*>(file.name.data());
    out.insert(out.end(), chars, chars + file.name.size());
    padTo4(out);
    return out;
}

std::vector<std::byte> sliceChecksumBody(const Id& file, std::span<const SliceCheck> slices) {
    std::vector<std::byte> out;
    append(out, file);
    for (const SliceCheck& slice : slices) {
        append(out, slice.md5);
        appendU32(out, slice.crc);
    }
    return out;
}

std::vector<std::byte> creatorBody() {
    static constexpr char kCreatorText[] = "Created by Tessark";
    std::vector<std::byte> out;
    for (const char c : std::string_view(kCreatorText)) {
        out.push_back(static_cast<std::byte>(c));
    }
    padTo4(out);
    return out;
}

std::array<std::byte, kHeaderSize> header(const Id& setId, PacketType type, std::int64_t length,
                                          const Md5Digest& hash) {
    std::array<std::byte, kHeaderSize> out{};
    std::memcpy(out.data(), kMagic.data(), kMagic.size());
    putU64(std::span(out).subspan(8, 8), static_cast<std::uint64_t>(length));
    std::memcpy(out.data() + 16, hash.data(), hash.size());
    std::memcpy(out.data() + 32, setId.data(), setId.size());
    std::memcpy(out.data() + 48, typeTag(type).data(), 16);
    return out;
}

std::vector<std::byte> packet(const Id& setId, PacketType type, std::span<const std::byte> body) {
    const auto length = static_cast<std::int64_t>(kHeaderSize + body.size());
    Md5 hash;
    hash.update(std::as_bytes(std::span(setId)));
    hash.update(std::as_bytes(std::span(typeTag(type))));
    hash.update(body);
    const auto head = header(setId, type, length, hash.finish());
    std::vector<std::byte> out(static_cast<std::size_t>(length));
    std::copy(head.begin(), head.end(), out.begin());
    std::copy(body.begin(), body.end(), out.begin() + static_cast<std::ptrdiff_t>(head.size()));
    return out;
}

void putU32(std::span<std::byte> out, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        out[i] = static_cast<std::byte>(value >> (8 * i));
    }
}

void putU64(std::span<std::byte> out, std::uint64_t value) {
    for (std::size_t i = 0; i < 8; ++i) {
        out[i] = static_cast<std::byte>(value >> (8 * i));
    }
}

std::uint32_t getU32(std::span<const std::byte> in) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= std::uint32_t{std::to_integer<std::uint8_t>(in[i])} << (8 * i);
    }
    return value;
}

std::uint64_t getU64(std::span<const std::byte> in) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        value |= std::uint64_t{std::to_integer<std::uint8_t>(in[i])} << (8 * i);
    }
    return value;
}

Text indexName(const Text& base) {
    return base + u".par2";
}

std::vector<Volume> volumesFor(const Text& base, std::uint32_t recoverySlices) {
    std::vector<Volume> out;
    std::uint32_t first = 0;
    std::uint32_t size = 1;
    std::uint32_t largest = 0;
    while (first < recoverySlices) {
        const std::uint32_t count = std::min(size, recoverySlices - first);
        out.push_back({first, count, {}});
        largest = std::max(largest, count);
        first += count;
        size *= 2;
    }
    const auto padded = [](std::uint32_t value, std::size_t width) {
        Text digits = decimal(value);
        return Text(width > digits.size() ? width - digits.size() : 0, u'0') + digits;
    };
    const std::size_t firstWidth = decimal(recoverySlices).size();
    const std::size_t countWidth = decimal(largest).size();
    for (Volume& volume : out) {
        volume.path = base + u".vol" + padded(volume.firstExponent, firstWidth) + u"+" +
                      padded(volume.count, countWidth) + u".par2";
    }
    return out;
}

}  // namespace tessark::par2
