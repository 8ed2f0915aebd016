// SPDX-License-Identifier: MIT
#include "engine/recovery/par2_scan.h"

#include <algorithm>
#include <cstring>

#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"
#include "engine/recovery/slice_io.h"

namespace tessark::par2 {
namespace {
using recovery::readExactly;

constexpr std::size_t kChunk = std::size_t{1} << 20;

class Scanner {
  public:
    Scanner(InputFile& in, std::int64_t length)
        : in_(in), length_(length), budget_(2 * length + (std::int64_t{64} << 20)) {}

    ScannedFile run() {
        std::int64_t pos = 0;
        while (true) {
            const std::int64_t at = findMagic(pos);
            if (at < 0) {
                break;
            }
            pos = take(at);
            if (out_.end != ScanEnd::Complete) {
                break;
            }
        }
        return std::move(out_);
    }

  private:
    // The offset of the next magic at or after `from`; -1 when none.
    std::int64_t findMagic(std::int64_t from) {
        buffer_.resize(kChunk);
        const std::size_t overlap = kMagic.size() - 1;
        while (from + static_cast<std::int64_t>(kMagic.size()) <= length_) {
            const auto want = static_cast<std::size_t>(
                std::min<std::int64_t>(static_cast<std::int64_t>(kChunk), length_ - from));
            readExactly(in_, from, std::span(buffer_).first(want));
            const auto* begin = reinterpret_cast<const std::uint8_t*>(buffer_.data());
            const auto* found = std::search(begin, begin + want, kMagic.begin(), kMagic.end());
            if (found != begin + want) {
                return from + (found - begin);
            }
            if (want <= overlap) {
                break;
            }
            from += static_cast<std::int64_t>(want - overlap);
        }
        return -1;
    }

    // Takes the packet whose magic is at `at`; returns where to look next.
    std::int64_t take(std::int64_t at) {
        const std::int64_t next = at + static_cast<std::int64_t>(kMagic.size());
        if (length_ - at < static_cast<std::int64_t>(kHeaderSize)) {
            ++out_.brokenPackets;
            return length_;
        }
        std::array<std::byte, kHeaderSize> head{};
        readExactly(in_, at, head);
        const std::uint64_t claimed = getU64(std::span(head).subspan(8, 8));
        if (claimed < kHeaderSize || claimed % 4 != 0 ||
            claimed > static_cast<std::uint64_t>(length_ - at)) {
            ++out_.brokenPackets;
            return next;
        }
        const auto packetLength = static_cast<std::int64_t>(claimed);
        std::array<std::uint8_t, 16> tag{};
        std::memcpy(tag.data(), head.data() + 48, tag.size());
        const PacketType type = packetTypeOf(tag);
        Md5Digest expected{};
        std::memcpy(expected.data(), head.data() + 16, expected.size());
        Id setId{};
        std::memcpy(setId.data(), head.data() + 32, setId.size());

        switch (type) {
            case PacketType::Other:
            case PacketType::Creator:
                // Not needed: looked past without trusting its length.
                return next;
            case PacketType::RecoverySlice:
                return takeRecovery(at, packetLength, setId, expected, next);
            case PacketType::Main:
            case PacketType::FileDescription:
            case PacketType::SliceChecksums:
                break;
        }
        if (packetLength > kMaxMetaPacket) {
            ++out_.brokenPackets;
            return next;
        }
        std::vector<std::byte> rest(static_cast<std::size_t>(packetLength) - kHashedFrom);
        readExactly(in_, at + static_cast<std::int64_t>(kHashedFrom), rest);
        if (md5Of(rest) != expected) {
            ++out_.brokenPackets;
            return next;
        }
        metaBytes_ += packetLength;
        if (metaBytes_ > kMaxMetaPerFile) {
            out_.end = ScanEnd::TooMuch;
            return length_;
        }
        MetaPacket packet{setId, type, expected, {}};
        packet.body.assign(rest.begin() + (kHeaderSize - kHashedFrom), rest.end());
        out_.meta.push_back(std::move(packet));
        return at + packetLength;
    }

    std::int64_t takeRecovery(std::int64_t at, std::int64_t packetLength, const Id& setId,
                              const Md5Digest& expected, std::int64_t next) {
        constexpr auto kFixed = static_cast<std::int64_t>(kHeaderSize) + 4;
        if (packetLength <= kFixed) {
            ++out_.brokenPackets;
            return next;
        }
        // Hashing costs the packet's length; what broken packets may cost is
        // bounded by the file's size, so that no file makes the scan quadratic.
        const std::int64_t hashed = packetLength - static_cast<std::int64_t>(kHashedFrom);
        Md5 hash;
        buffer_.resize(kChunk);
        std::int64_t done = 0;
        std::array<std::byte, 4> exponent{};
        while (done < hashed) {
            const auto n = static_cast<std::size_t>(
                std::min<std::int64_t>(static_cast<std::int64_t>(kChunk), hashed - done));
            const auto part = std::span(buffer_).first(n);
            readExactly(in_, at + static_cast<std::int64_t>(kHashedFrom) + done, part);
            if (done == 0) {
                std::memcpy(exponent.data(), part.data() + (kHeaderSize - kHashedFrom), 4);
            }
            hash.update(part);
            done += static_cast<std::int64_t>(n);
        }
        if (hash.finish() != expected) {
            ++out_.brokenPackets;
            budget_ -= hashed;
            if (budget_ < 0) {
                out_.end = ScanEnd::WorkLimit;
                return length_;
            }
            return next;
        }
        if (out_.recovery.size() >= kMaxSlicesPerFile) {
            out_.end = ScanEnd::TooMuch;
            return length_;
        }
        out_.recovery.push_back({setId, getU32(exponent), at + kFixed, packetLength - kFixed});
        return at + packetLength;
    }

    InputFile& in_;
    std::int64_t length_;
    std::int64_t budget_;
    std::int64_t metaBytes_ = 0;
    std::vector<std::byte> buffer_;
    ScannedFile out_;
};

}  // namespace

ScannedFile scanPar2File(FileSystem& fs, const Text& path) {
    const std::int64_t length = fs.fileLength(path);
    const auto in = fs.openRead(path);
    return Scanner(*in, length).run();
}

}  // namespace tessark::par2
