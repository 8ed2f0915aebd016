// SPDX-License-Identifier: MIT
#include "engine/split/split_settings.h"

#include <limits>

namespace tessark {

Text DeriveTargetName(const Text& source) {
    if (source.find(u'.') == Text::npos) {
        return source;
    }
    // A path shorter than four characters gets the "$" in front; a cut that
    // would split a surrogate pair moves before it, so the name stays valid.
    std::size_t cut = source.size() >= 4 ? source.size() - 4 : 0;
    if (cut > 0 && source[cut] >= 0xDC00 && source[cut] <= 0xDFFF && source[cut - 1] >= 0xD800 &&
        source[cut - 1] <= 0xDBFF) {
        --cut;
    }
    return source.substr(0, cut) + u"$" + source.substr(cut);
}

std::optional<std::int64_t> typedBlockBytes(const Text& typed) {
    const double kilobytes = leadingNumber(trimSpaces(typed));
    if (!(kilobytes > 0)) {
        return std::nullopt;
    }
    // A size that rounds to no bytes at all is no size either.
    const auto bytes = roundHalfEven(kilobytes * 1024);
    if (!bytes) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (*bytes <= 0) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace tessark
