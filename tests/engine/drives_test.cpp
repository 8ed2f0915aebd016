// SPDX-License-Identifier: MIT
#include "engine/platform/drives.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tessark {
namespace {

using Drives = std::vector<Text>;

// A container's table: pseudo file systems, bind mounts over system files and
// a read-only tmpfs under /mnt.
constexpr std::string_view kContainer =
    "proc /proc proc rw,relatime 0 0\n"
    "sysfs /sys sysfs rw,relatime 0 0\n"
    "devtmpfs /dev devtmpfs rw,relatime,size=12334808k,mode=755 0 0\n"
    "tmpfs /dev/shm tmpfs rw,relatime 0 0\n"
    "/dev/vda / ext4 rw,relatime,discard 0 0\n"
    "tools /mnt/sandbox/python tmpfs ro,nosuid,nodev,relatime,size=4k 0 0\n"
    "/dev/vda /etc/hosts ext4 rw,relatime 0 0\n"
    "cgroup2 /sys/fs/cgroup/unified cgroup2 rw,relatime 0 0\n";

// A desktop: separate /home, a USB stick with a space in its label, a
// read-only DVD, snaps, a network share and boot partitions.
constexpr std::string_view kDesktop =
    "/dev/nvme0n1p2 / ext4 rw,relatime 0 0\n"
    "/dev/nvme0n1p1 /boot/efi vfat rw,relatime 0 0\n"
    "/dev/nvme0n1p3 /home ext4 rw,relatime 0 0\n"
    "/dev/loop3 /snap/core22/864 squashfs ro,nodev,relatime 0 0\n"
    "/dev/sdb1 /media/ann/MY\\040STICK vfat rw,nosuid,nodev,uid=1000 0 0\n"
    "/dev/sr0 /run/media/ann/DVD iso9660 ro,nosuid,nodev 0 0\n"
    "tmpfs /run/user/1000 tmpfs rw,nosuid,nodev 0 0\n"
    "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw,nosuid 0 0\n"
    "server:/export /data nfs4 rw,relatime 0 0\n"
    "/dev/sdc1 /archive ext4 ro,relatime 0 0\n"
    "/dev/sdd1 /mnt/backup ext4 rw 0 0\n";

TEST(PickableMountPoints, KeepsTheRootAndThePlacesPeopleKeepFilesIn) {
    EXPECT_EQ(pickableMountPoints(kContainer), Drives{u"/"});
    EXPECT_EQ(pickableMountPoints(kDesktop),
              (Drives{u"/", u"/data", u"/home", u"/media/ann/MY STICK", u"/mnt/backup",
                      u"/run/media/ann/DVD"}));
}

TEST(PickableMountPoints, ListsTheRootEvenWhenTheTableIsEmptyOrBroken) {
    EXPECT_EQ(pickableMountPoints(""), Drives{u"/"});
    EXPECT_EQ(pickableMountPoints("garbage\n\n/dev/sda1\n"), Drives{u"/"});
    // An overlay root (a container) is still the root.
    EXPECT_EQ(pickableMountPoints("overlay / overlay rw 0 0\n"), Drives{u"/"});
}

TEST(PickableMountPoints, ALaterMountOnTheSamePointHidesTheEarlierOne) {
    EXPECT_EQ(pickableMountPoints("/dev/sdb1 /mnt/x ext4 rw 0 0\ntmpfs /mnt/x tmpfs rw 0 0\n"),
              Drives{u"/"});
    EXPECT_EQ(pickableMountPoints("tmpfs /mnt/x tmpfs rw 0 0\n/dev/sdb1 /mnt/x ext4 rw 0 0\n"),
              (Drives{u"/", u"/mnt/x"}));
}

TEST(PickableMountPoints, DecodesEscapesAndUtf8) {
    EXPECT_EQ(pickableMountPoints("/dev/sdb1 /media/a\\011b\\134c ext4 rw 0 0\n"
                                  "/dev/sdc1 /media/\xe7\xa3\x81\xe7\x9b\x98 vfat rw 0 0\n"),
              (Drives{u"/", u"/media/a\tb\\c", u"/media/磁盘"}));
}

struct HoldingCase {
    Text path;
    Drives drives;
    char16_t separator;
    std::optional<std::size_t> expected;
};

void PrintTo(const HoldingCase& c, std::ostream* os) {
    *os << toUtf8(c.path) << "_in_" << c.drives.size() << "_drives_"
        << (c.expected ? static_cast<long long>(*c.expected) : -1LL);
}

class DriveHolding : public ::testing::TestWithParam<HoldingCase> {};

TEST_P(DriveHolding, FindsTheLongestDriveThatIsAnAncestor) {
    const auto& c = GetParam();
    EXPECT_EQ(driveHolding(c.path, c.drives, c.separator), c.expected);
}

const Drives kMounts = {u"/", u"/home", u"/media/usb"};
const Drives kLetters = {u"A:\\", u"C:\\", u"D:\\"};

INSTANTIATE_TEST_SUITE_P(
    Table, DriveHolding,
    ::testing::Values(
        HoldingCase{u"/", kMounts, u'/', 0}, HoldingCase{u"/etc/x", kMounts, u'/', 0},
        HoldingCase{u"/home", kMounts, u'/', 1}, HoldingCase{u"/home/ann/doc", kMounts, u'/', 1},
        HoldingCase{u"/homework", kMounts, u'/', 0}, HoldingCase{u"/media/usb/a", kMounts, u'/', 2},
        HoldingCase{u"/Home/ann", kMounts, u'/', 0}, HoldingCase{u"C:\\data", kLetters, u'\\', 1},
        HoldingCase{u"d:\\", kLetters, u'\\', 2},
        HoldingCase{u"E:\\x", kLetters, u'\\', std::nullopt},
        HoldingCase{u"\\\\server\\share", kLetters, u'\\', std::nullopt},
        HoldingCase{u"/x", Drives{}, u'/', std::nullopt}));

TEST(NativeDrives, AreTheDriveLettersOrTheRootFirst) {
    const Drives drives = makeNativeDriveSource()->drives();
    ASSERT_FALSE(drives.empty());
#ifdef _WIN32
    for (const Text& drive : drives) {
        ASSERT_EQ(drive.size(), 3u);
        EXPECT_TRUE(drive[0] >= u'A' && drive[0] <= u'Z');
        EXPECT_EQ(drive.substr(1), u":\\");
    }
    EXPECT_NE(std::find(drives.begin(), drives.end(), u"C:\\"), drives.end());
#else
    EXPECT_EQ(drives.front(), u"/");
#endif
}

}  // namespace
}  // namespace tessark
