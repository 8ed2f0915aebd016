// SPDX-License-Identifier: MIT
#include "engine/recovery/par2_sets.h"

#include <algorithm>
#include <unordered_map>

#include "engine/checksum/checksum_file.h"

namespace tessark::par2 {
namespace {

// The longest name taken from a file description, in bytes.
constexpr std::size_t kMaxNameBytes = 1024;

Id idAt(const std::vector<std::byte>& body, std::size_t at) {
    Id id{};
    for (std::size_t i = 0; i < id.size(); ++i) {
        id[i] = std::to_integer<std::uint8_t>(body[at + i]);
    }
    return id;
}

std::optional<FileEntry> parseDescription(const std::vector<std::byte>& body, char16_t separator) {
    if (body.size() < 56) {
        return std::nullopt;
    }
    FileEntry entry;
    entry.id = idAt(body, 0);
    entry.whole = idAt(body, 16);
    entry.head = idAt(body, 32);
    const std::uint64_t length = getU64(std::span(body).subspan(48, 8));
    if (length > (std::uint64_t{1} << 62)) {
        return std::nullopt;
    }
    entry.length = static_cast<std::int64_t>(length);
    std::size_t end = body.size();
    while (end > 56 && body[end - 1] == std::byte{0}) {
        --end;
    }
    if (end - 56 > kMaxNameBytes) {
        return std::nullopt;
    }
    entry.name.assign(reinterpret_cast<const char*>(body.data()) + 56, end - 56);
    // The identifier must be what the description says, and the name a file
    // beside the recovery file, never a path.
    if (fileId(entry.head, entry.length, entry.name) != entry.id ||
        !plainFileName(fromUtf8(entry.name), separator) ||
        toUtf8(fromUtf8(entry.name)) != entry.name) {
        return std::nullopt;
    }
    return entry;
}

}  // namespace

void addScanned(CandidateSets& sets, std::size_t index, ScannedFile&& file, char16_t separator) {
    const auto gave = [&](const Id& set) {
        auto& files = sets.filesOfSet[set];
        if (files.empty() || files.back() != index) {
            files.push_back(index);
        }
    };
    for (MetaPacket& packet : file.meta) {
        switch (packet.type) {
            case PacketType::Main:
                if (packet.body.size() >= 12 && md5Of(packet.body) == packet.setId) {
                    sets.mains.try_emplace(packet.setId, std::move(packet.body));
                    gave(packet.setId);
                }
                break;
            case PacketType::FileDescription:
                if (auto entry = parseDescription(packet.body, separator)) {
                    sets.descriptions.try_emplace({packet.setId, entry->id}, std::move(*entry));
                    gave(packet.setId);
                }
                break;
            case PacketType::SliceChecksums:
                if (packet.body.size() >= 16 && (packet.body.size() - 16) % 20 == 0) {
                    std::vector<SliceCheck> checks((packet.body.size() - 16) / 20);
                    for (std::size_t i = 0; i < checks.size(); ++i) {
                        checks[i].md5 = idAt(packet.body, 16 + 20 * i);
                        checks[i].crc = getU32(std::span(packet.body).subspan(32 + 20 * i, 4));
                    }
                    sets.checks.try_emplace({packet.setId, idAt(packet.body, 0)},
                                            std::move(checks));
                    gave(packet.setId);
                }
                break;
            case PacketType::RecoverySlice:
            case PacketType::Creator:
            case PacketType::Other:
                break;
        }
    }
    for (const RecoveryRef& ref : file.recovery) {
        if (ref.exponent < gf16::kOrder) {
            sets.recovery.push_back({index, ref});
            gave(ref.setId);
        }
    }
}

std::optional<ChosenSet> chooseSet(const CandidateSets& sets, const std::vector<Text>& pieces) {
    std::unordered_map<Text, std::size_t> pieceIndex;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        pieceIndex.emplace(pieces[i], i);
    }
    std::optional<ChosenSet> best;
    std::size_t bestSlices = 0;
    for (const auto& [setId, body] : sets.mains) {
        const std::uint64_t slice = getU64(std::span(body).first(8));
        const std::uint32_t count = getU32(std::span(body).subspan(8, 4));
        if (slice == 0 || slice % 4 != 0 || slice > (std::uint64_t{1} << 40) || count == 0 ||
            count > kMaxInputSlices || 12 + std::uint64_t{count} * 16 > body.size()) {
            continue;
        }
        ChosenSet set{setId, static_cast<std::int64_t>(slice), {}, {}};
        std::vector<bool> taken(pieces.size(), false);
        std::int64_t totalSlices = 0;
        bool usable = true;
        for (std::uint32_t i = 0; i < count && usable; ++i) {
            const Id fileId = idAt(body, 12 + 16 * std::size_t{i});
            const auto description = sets.descriptions.find({setId, fileId});
            const auto checks = sets.checks.find({setId, fileId});
            if (description == sets.descriptions.end() || checks == sets.checks.end()) {
                usable = false;
                break;
            }
            const std::int64_t length = description->second.length;
            const std::int64_t slices =
                length / set.sliceSize + (length % set.sliceSize != 0 ? 1 : 0);
            const auto piece = pieceIndex.find(fromUtf8(description->second.name));
            totalSlices += slices;
            usable = piece != pieceIndex.end() && !taken[piece->second] &&
                     static_cast<std::int64_t>(checks->second.size()) == slices &&
                     totalSlices <= kMaxInputSlices;
            if (usable) {
                taken[piece->second] = true;
                set.files.push_back({fileId, length, piece->first, checks->second});
                set.pieceOf.push_back(piece->second);
            }
        }
        if (!usable) {
            continue;
        }
        const auto slices = static_cast<std::size_t>(std::count_if(
            sets.recovery.begin(), sets.recovery.end(), [&](const FoundRecovery& found) {
                return found.ref.setId == set.id && found.ref.dataLength == set.sliceSize;
            }));
        if (!best || set.files.size() > best->files.size() ||
            (set.files.size() == best->files.size() && slices > bestSlices)) {
            best = std::move(set);
            bestSlices = slices;
        }
    }
    return best;
}

}  // namespace tessark::par2
