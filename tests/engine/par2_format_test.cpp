// SPDX-License-Identifier: MIT
// The PAR 2.0 layout as other clients read it, and recovery files that are
// damaged or hostile: each is passed over with a reason, never trusted.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/recovery/par2_check.h"
#include "engine/recovery/par2_create.h"
#include "engine/recovery/par2_format.h"
#include "fake_file_system.h"

namespace tessark {
namespace {

using namespace recovery;
using Bytes = std::vector<std::byte>;

std::span<const std::byte> bytesOf(std::string_view text) {
    return std::as_bytes(std::span(text.data(), text.size()));
}

std::string hex(std::span<const std::uint8_t> digest) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const std::uint8_t b : digest) {
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

// Known values: a wrong binding of either platform's library shows here.
TEST(Par2Checks, Md5AndCrc32GiveTheKnownValues) {
    EXPECT_EQ(hex(md5Of({})), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(hex(md5Of(bytesOf("abc"))), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(crc32Update(0, bytesOf("123456789")), 0xCBF43926u);
    EXPECT_EQ(crc32Update(crc32Update(0, bytesOf("1234")), bytesOf("56789")), 0xCBF43926u);
    Md5 running;
    running.update(bytesOf("a"));
    Md5 copy = running.clone();
    copy.update(bytesOf("bc"));
    EXPECT_EQ(hex(copy.finish()), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(hex(running.finish()), "0cc175b9c0f1b6a831c399e269772661");  // "a" alone
}

TEST(Par2Layout, InputConstantsSkipEveryExponentSharingAFactorWith65535) {
    const std::uint32_t first[] = {1, 2, 4, 7, 8, 11, 13, 14, 16, 19, 22, 23, 26, 28, 29, 31, 32};
    for (std::size_t i = 0; i < std::size(first); ++i) {
        EXPECT_EQ(par2::inputLog(static_cast<std::int64_t>(i)), first[i]) << i;
    }
    EXPECT_EQ(par2::inputLog(par2::kMaxInputSlices - 1), 65534u);
    EXPECT_EQ(par2::inputFactor(5, 0), 1) << "exponent 0 is plain XOR";
    EXPECT_EQ(par2::inputFactor(0, 1), 2);
    EXPECT_EQ(par2::inputFactor(1, 3), gf16::exp2(6));
}

TEST(Par2Layout, PacketHeaderHashAndBody) {
    par2::Id setId{};
    setId.fill(0xAB);
    const Bytes body = par2::mainBody(1447036, std::vector<par2::Id>{setId});
    const Bytes packet = par2::packet(setId, par2::PacketType::Main, body);
    ASSERT_EQ(packet.size(), 64u + 8 + 4 + 16);
    EXPECT_EQ(std::memcmp(packet.data(), "PAR2\0PKT", 8), 0);
    EXPECT_EQ(par2::getU64(std::span(packet).subspan(8, 8)), packet.size());
    const auto hash = md5Of(std::span(packet).subspan(32));
    EXPECT_EQ(std::memcmp(packet.data() + 16, hash.data(), 16), 0);
    EXPECT_EQ(std::memcmp(packet.data() + 32, setId.data(), 16), 0);
    EXPECT_EQ(std::memcmp(packet.data() + 48, "PAR 2.0\0Main\0\0\0\0", 16), 0);
    EXPECT_EQ(par2::getU64(std::span(packet).subspan(64, 8)), 1447036u);
    EXPECT_EQ(par2::getU32(std::span(packet).subspan(72, 4)), 1u);
}

TEST(Par2Layout, FileIdAndDescriptionPadding) {
    const Md5Digest head = md5Of(bytesOf("head"));
    const par2::Id id = par2::fileId(head, 5, "m.001");
    Bytes manual(head.size());
    std::memcpy(manual.data(), head.data(), head.size());
    const std::uint8_t length[8] = {5, 0, 0, 0, 0, 0, 0, 0};
    for (const auto b : length) {
        manual.push_back(std::byte{b});
    }
    for (const char c : std::string_view("m.001")) {
        manual.push_back(static_cast<std::byte>(c));
    }
    EXPECT_EQ(id, md5Of(manual));
    const Bytes body = par2::fileDescriptionBody({id, {}, head, 5, "m.001"});
    EXPECT_EQ(body.size(), 56u + 8) << "the name padded with zeros to a multiple of 4";
    // The main packet lists identifiers as little-endian numbers.
    par2::Id low{}, high{};
    low[0] = 0xFF;
    high[15] = 0x01;
    EXPECT_TRUE(par2::idLess(low, high));
}

TEST(Par2Layout, VolumesAreNamedAsTheCommonClientNamesThem) {
    const auto names = [](std::uint32_t count) {
        std::vector<std::string> out;
        for (const auto& volume : par2::volumesFor(u"m", count)) {
            out.push_back(toUtf8(volume.path));
        }
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(names(1), (V{"m.vol0+1.par2"}));
    EXPECT_EQ(names(10),
              (V{"m.vol00+1.par2", "m.vol01+2.par2", "m.vol03+4.par2", "m.vol07+3.par2"}));
    EXPECT_EQ(names(100).back(), "m.vol063+37.par2");
    EXPECT_EQ(names(100).front(), "m.vol000+01.par2");
}

// A sound set on the fake disk, then one recovery file made hostile.
struct HostileCase {
    const char* name;
    std::function<void(std::string& index, std::string& volume)> harm;
    bool setFound;
    std::int64_t recoverySlices;
};

Bytes packetOf(const par2::Id& set, par2::PacketType type, const Bytes& body) {
    return par2::packet(set, type, body);
}

std::string text(const Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// A whole set of one file named `name`, main, description and checksums
// hashing right: only the content is hostile.
std::string forgedSet(const std::string& name, std::int64_t length, std::int64_t slice,
                      std::uint32_t count = 1) {
    const Md5Digest head{};
    const par2::Id id = par2::fileId(head, length, name);
    Bytes main = par2::mainBody(slice, std::vector<par2::Id>{id});
    par2::putU32(std::span(main).subspan(8, 4), count);
    const par2::Id set = md5Of(main);
    return text(packetOf(set, par2::PacketType::Main, main)) +
           text(packetOf(set, par2::PacketType::FileDescription,
                         par2::fileDescriptionBody({id, {}, head, length, name}))) +
           text(packetOf(set, par2::PacketType::SliceChecksums,
                         par2::sliceChecksumBody(id, std::vector<par2::SliceCheck>(1))));
}

class HostileFiles : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileFiles, ArePassedOverNeverTrusted) {
    test::FakeFileSystem fs(u'/');
    fs.addFolder(u"/d");
    for (int i = 1; i <= 3; ++i) {
        fs.addFile(u"/d/m.00" + decimal(i), std::string(1000 + i, static_cast<char>('a' + i)));
    }
    CreateRequest request{{u"/d/m.001", u"/d/m.002", u"/d/m.003"}, u"/d/m", 0, 2, {}};
    ASSERT_TRUE(std::holds_alternative<ProtectOutcome>(protectPieces(fs, request, {})));
    std::string index = *fs.contents(u"/d/m.par2");
    std::string volume = *fs.contents(u"/d/m.vol1+1.par2");
    fs.remove(u"/d/m.par2");
    fs.remove(u"/d/m.vol0+1.par2");
    fs.remove(u"/d/m.vol1+1.par2");
    GetParam().harm(index, volume);
    fs.addFile(u"/d/m.par2", index);
    fs.addFile(u"/d/m.vol1+1.par2", volume);
    fs.addFile(u"/d/m.001", "damaged");

    Progress progress;
    const auto check = checkRecovery(fs, u"/d", {u"m.001", u"m.002", u"m.003"}, {}, progress, {});
    ASSERT_TRUE(check.has_value());
    EXPECT_EQ(check->setFound, GetParam().setFound);
    EXPECT_EQ(check->recoverySlices(), GetParam().recoverySlices);
    if (check->setFound) {
        EXPECT_EQ(check->lostSlices, 1);
    }
}

void flipAt(std::string& bytes, std::size_t at) {
    bytes[at] = static_cast<char>(bytes[at] ^ 0x10);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostileFiles,
    ::testing::Values(HostileCase{"Untouched", [](std::string&, std::string&) {}, true, 1},
                      HostileCase{"TruncatedRecoveryPacket",
                                  [](std::string&, std::string& v) { v.resize(500); }, true, 0},
                      HostileCase{"WrongHashInTheRecoveryData",
                                  [](std::string&, std::string& v) { flipAt(v, 200); }, true, 0},
                      HostileCase{"EveryDescriptionBroken",
                                  [](std::string& i, std::string& v) {
                                      i = i.substr(0, 100);
                                      v = v.substr(0, 1100);
                                  },
                                  false, 0},
                      HostileCase{"HugeClaimedLengths",
                                  [](std::string& i, std::string& v) {
                                      std::memset(i.data() + 8, 0x7f, 8);
                                      std::memset(v.data() + 8, 0xff, 8);
                                  },
                                  true, 0},
                      HostileCase{"GarbageBeforeAndBetween",
                                  [](std::string& i, std::string& v) {
                                      i = std::string("PAR2\0PK", 7) + std::string(333, '\x17') + i;
                                      v = std::string(1001, 'G') + "PAR2" + v +
                                          std::string(99, '\0');
                                  },
                                  true, 1},
                      HostileCase{"NameWithASeparator",
                                  [](std::string& i, std::string& v) {
                                      i = forgedSet("x/m.001", 1001, 1004);
                                      v = forgedSet("../m.001", 1001, 1004);
                                  },
                                  false, 0},
                      HostileCase{"SliceCountOverflow",
                                  [](std::string& i, std::string& v) {
                                      i = forgedSet("m.001", std::int64_t{1} << 60, 4);
                                      v = forgedSet("m.002", 1002, 1004, 0xFFFFFFFFu);
                                  },
                                  false, 0},
                      HostileCase{"ForgedHeadersEverywhere",
                                  [](std::string& i, std::string&) {
                                      // Recovery headers claiming the rest of the file, one every
                                      // 64 bytes.
                                      std::string forged(1 << 20, '\0');
                                      par2::Id set{};
                                      for (std::size_t at = 0; at + 64 <= forged.size(); at += 64) {
                                          const auto head = par2::header(
                                              set, par2::PacketType::RecoverySlice,
                                              static_cast<std::int64_t>(forged.size() - at), {});
                                          std::memcpy(forged.data() + at, head.data(), head.size());
                                      }
                                      i = forged + i;
                                  },
                                  true, 1}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(HostileFiles, UnreadableAndForeignFilesAreNamedWithTheirReason) {
    test::FakeFileSystem fs(u'/');
    fs.addFolder(u"/d");
    fs.addFile(u"/d/m.001", "piece");
    fs.addFile(u"/d/a.par2", "not recovery data at all");
    fs.addFile(u"/d/b.par2", "");
    fs.addFile(u"/d/c.par2", forgedSet("other.bin", 10, 12));
    fs.addFile(u"/d/d.par2", "x");
    fs.injectFault(test::FakeFileSystem::Op::OpenRead, u"/d/d.par2", 57);
    Progress progress;
    const auto check = checkRecovery(fs, u"/d", {u"m.001"}, {}, progress, {});
    ASSERT_TRUE(check.has_value());
    EXPECT_FALSE(check->setFound);
    ASSERT_EQ(check->files.size(), 4u);
    EXPECT_EQ(check->files[0].note, FileNote::NotRecoveryData);
    EXPECT_EQ(check->files[1].note, FileNote::NotRecoveryData);
    EXPECT_EQ(check->files[2].note, FileNote::OtherSet);
    EXPECT_EQ(check->files[3].note, FileNote::Unreadable);
    EXPECT_EQ(check->files[3].error, 57);
}

}  // namespace
}  // namespace tessark
