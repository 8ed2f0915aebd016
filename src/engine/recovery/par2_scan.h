// SPDX-License-Identifier: MIT
// Reading a .par2 file as untrusted input: packets are found by their magic
// (resynchronising after garbage), each packet's MD5 is checked before its
// content is looked at, a length is checked against the bytes the file really
// has and against fixed limits before anything is allocated, and a recovery
// slice's data stays on the disk: only where it lies is kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/core/text.h"
#include "engine/recovery/par2_format.h"

namespace tessark {
class FileSystem;
}

namespace tessark::par2 {

// The longest packet other than a recovery slice that is read into memory: a
// main packet or a slice checksum packet of 32,768 slices fits many times.
inline constexpr std::int64_t kMaxMetaPacket = std::int64_t{4} << 20;
// The most bytes of such packets kept from one file.
inline constexpr std::int64_t kMaxMetaPerFile = std::int64_t{64} << 20;
// The most recovery slices remembered from one file.
inline constexpr std::size_t kMaxSlicesPerFile = 65536;

struct MetaPacket {
    Id setId{};
    PacketType type = PacketType::Other;
    Md5Digest hash{};
    std::vector<std::byte> body;
};

struct RecoveryRef {
    Id setId{};
    std::uint32_t exponent = 0;
    std::int64_t dataOffset = 0;  // in the file it was found in
    std::int64_t dataLength = 0;
};

// How the scan of one file ended.
enum class ScanEnd {
    Complete,   // read to its end
    WorkLimit,  // so many broken packets that hashing them would outgrow the file: the rest is
                // passed over
    TooMuch     // more packets than any real set has: the rest is passed over
};

struct ScannedFile {
    std::vector<MetaPacket> meta;       // main, file description and slice checksum packets
    std::vector<RecoveryRef> recovery;  // recovery slices whose hash is right
    std::int64_t brokenPackets = 0;     // headers found whose packet was not whole or not right
    ScanEnd end = ScanEnd::Complete;
};

// Reads the file at `path` once from start to end. Throws RuntimeError only
// when the file cannot be opened or read.
ScannedFile scanPar2File(FileSystem& fs, const Text& path);

}  // namespace tessark::par2
