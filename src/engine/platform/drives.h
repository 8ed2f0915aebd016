// SPDX-License-Identifier: MIT
// The drives a person can choose in the folder picker: drive letters on
// Windows; elsewhere the root and the mounted volumes people keep files on.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/core/text.h"

namespace tessark {

class DriveSource {
  public:
    virtual ~DriveSource() = default;
    // Each drive as the path of its top folder ("C:\", "/", "/media/usb"), in
    // the order the drive list shows them.
    virtual std::vector<Text> drives() = 0;
};

// The machine's own drives. Listing them never touches a medium, so a drive
// without a disk is still listed; it fails only when it is opened.
std::unique_ptr<DriveSource> makeNativeDriveSource();

// The mount points of a mount table (the format of /proc/self/mounts) that a
// person would pick: "/" first, always, then in name order the volumes
// under /home, /media, /mnt and /run/media, and writable volumes mounted
// outside the system's own folders. Pseudo file systems never count.
std::vector<Text> pickableMountPoints(std::string_view mountTable);

// The index of the drive that holds `path`: the longest drive that is `path`
// itself or one of its ancestors. Drive letters ('\\' paths) match in either
// case.
std::optional<std::size_t> driveHolding(TextView path, const std::vector<Text>& drives,
                                        char16_t separator);

}  // namespace tessark
