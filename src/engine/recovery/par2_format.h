// SPDX-License-Identifier: MIT
// The PAR 2.0 file format: packets, identifiers and the field constants of
// the input slices. Every packet is a 64-byte header (magic, length, MD5 of
// the rest from the set identifier on, set identifier, type) and a body whose
// length is a multiple of 4; numbers are little-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/text.h"
#include "engine/recovery/gf16.h"
#include "engine/recovery/md5.h"

namespace tessark::par2 {

using Id = Md5Digest;
using TypeTag = std::array<std::uint8_t, 16>;

inline constexpr std::size_t kHeaderSize = 64;
inline constexpr std::array<std::uint8_t, 8> kMagic = {'P', 'A', 'R', '2', 0, 'P', 'K', 'T'};
// Where the packet hash starts counting: the set identifier.
inline constexpr std::size_t kHashedFrom = 32;

// The field has 65535 nonzero elements, and an input slice's constant is 2^n
// with n coprime to 65535: there are 32,768 such n, so at most that many
// input slices.
inline constexpr std::int64_t kMaxInputSlices = 32768;
// Recovery slices are numbered by exponent; one set uses at most as many.
inline constexpr std::int64_t kMaxRecoverySlices = 32768;

enum class PacketType { Main, FileDescription, SliceChecksums, RecoverySlice, Creator, Other };

PacketType packetTypeOf(std::span<const std::uint8_t, 16> tag);
const TypeTag& typeTag(PacketType type);  // not for Other

// The n of the input slice at `index` (0-based, in the main packet's order):
// the index-th positive integer coprime to 65535. `index` < kMaxInputSlices.
std::uint32_t inputLog(std::int64_t index);
// The factor of that slice in the recovery slice of `exponent`: (2^n)^exponent.
gf16::Elem inputFactor(std::int64_t index, std::uint32_t exponent);

// A file's identifier: MD5 of its first 16 KiB's MD5, its length and its name.
Id fileId(const Md5Digest& head, std::int64_t length, std::string_view name);
// The main packet's order: identifiers as 128-bit little-endian numbers.
bool idLess(const Id& a, const Id& b);

struct FileEntry {
    Id id{};
    Md5Digest whole{};
    Md5Digest head{};  // of the first 16 KiB, or the whole file when shorter
    std::int64_t length = 0;
    std::string name;  // UTF-8, no folder
};

struct SliceCheck {
    Md5Digest md5{};  // of the slice padded with zeros to the slice size
    std::uint32_t crc = 0;
};

// The bytes hashed for a file's head.
inline constexpr std::int64_t kHeadBytes = 16384;

std::vector<std::byte> mainBody(std::int64_t sliceSize, std::span<const Id> ids);
std::vector<std::byte> fileDescriptionBody(const FileEntry& file);
std::vector<std::byte> sliceChecksumBody(const Id& file, std::span<const SliceCheck> slices);
std::vector<std::byte> creatorBody();

// A whole packet: header and body (the body's length a multiple of 4).
std::vector<std::byte> packet(const Id& setId, PacketType type, std::span<const std::byte> body);
// The header of a packet of `length` bytes whose hash is `hash`.
std::array<std::byte, kHeaderSize> header(const Id& setId, PacketType type, std::int64_t length,
                                          const Md5Digest& hash);

// Little-endian fields.
void putU32(std::span<std::byte> out, std::uint32_t value);
void putU64(std::span<std::byte> out, std::uint64_t value);
std::uint32_t getU32(std::span<const std::byte> in);
std::uint64_t getU64(std::span<const std::byte> in);

// "m.par2", and the volumes "m.vol0+1.par2" ... numbered as the common
// clients number them: the first exponent padded to the digits of the total,
// the count to the digits of the largest count.
Text indexName(const Text& base);
struct Volume {
    std::uint32_t firstExponent = 0;
    std::uint32_t count = 0;
    Text path;
};
// Volumes of 1, 2, 4 ... slices, the last taking what is left.
std::vector<Volume> volumesFor(const Text& base, std::uint32_t recoverySlices);

}  // namespace tessark::par2
