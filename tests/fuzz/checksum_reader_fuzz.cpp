// SPDX-License-Identifier: MIT
// The checksum file's reader on any bytes: whole, and fed in the pieces the
// first byte chooses, which must give the same answer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/checksum/checksum_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t step = data[0] % 17 + 1;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    for (const char16_t separator : {u'/', u'\\'}) {
        const auto whole = tessark::parseChecksumText(text, separator);
        tessark::ChecksumReader reader(separator);
        for (std::size_t at = 0; at < text.size(); at += step) {
            if (!reader.feed(text.substr(at, step)))
                break;
        }
        if (reader.finish() != whole)
            std::abort();
    }
    return 0;
}
