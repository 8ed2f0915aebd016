// SPDX-License-Identifier: MIT
#include "engine/recovery/md5.h"

namespace tessark {

Md5Digest md5Of(std::span<const std::byte> data) {
    Md5 hash;
    hash.update(data);
    return hash.finish();
}

}  // namespace tessark
