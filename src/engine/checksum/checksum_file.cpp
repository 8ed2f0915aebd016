// SPDX-License-Identifier: MIT
#include "engine/checksum/checksum_file.h"

#include <algorithm>
#include <array>

#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"

namespace tessark {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::optional<Sha256Digest> parseDigest(std::string_view hex) {
    Sha256Digest digest{};
    if (hex.size() != 2 * digest.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < digest.size(); ++i) {
        const int high = hexValue(hex[2 * i]);
        const int low = hexValue(hex[2 * i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        digest[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return digest;
}

// The name as the GNU tools escape it, after the line's leading "\".
std::optional<std::string> unescape(std::string_view escaped) {
    std::string name;
    name.reserve(escaped.size());
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] != '\\') {
            name += escaped[i];
            continue;
        }
        if (++i == escaped.size()) {
            return std::nullopt;
        }
        switch (escaped[i]) {
            case '\\':
                name += '\\';
                break;
            case 'n':
                name += '\n';
                break;
            case 'r':
                name += '\r';
                break;
            default:
                return std::nullopt;
        }
    }
    return name;
}

// The name's text when `utf8` is well-formed UTF-8.
std::optional<Text> strictUtf8(std::string_view utf8) {
    Text text = fromUtf8(utf8);
    if (toUtf8(text) != utf8) {
        return std::nullopt;  // a malformed sequence came back as U+FFFD
    }
    return text;
}

bool blank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

std::string checksumLine(const Sha256Digest& digest, TextView name) {
    const std::string utf8 = toUtf8(name);
    const bool escape = utf8.find_first_of("\\\n\r") != std::string::npos;
    std::string line = escape ? "\\" : "";
    line += toHex(digest) + "  ";
    for (const char c : utf8) {
        if (escape && c == '\\') {
            line += "\\\\";
        } else if (escape && c == '\n') {
            line += "\\n";
        } else if (escape && c == '\r') {
            line += "\\r";
        } else {
            line += c;
        }
    }
    return line + "\n";
}

Text checksumPath(const Text& target) {
    return target + u".sha256";
}

bool plainFileName(TextView name, char16_t separator) {
    if (name.empty() || name == u"." || name == u"..") {
        return false;
    }
    return std::none_of(name.begin(), name.end(), [&](char16_t c) {
        return c == u'/' || c == separator || c < 0x20 || c == 0x7F ||
               (separator == u'\\' && c == u':');
    });
}

bool ChecksumReader::takeLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (blank(line) || line.front() == '#') {
        return true;
    }
    const bool escaped = line.front() == '\\';
    if (escaped) {
        line.remove_prefix(1);
    }
    constexpr std::size_t kHex = 64;
    // "<hex>", one blank, the text (" ") or binary ("*") marker, the name.
    if (line.size() < kHex + 3 || (line[kHex] != ' ' && line[kHex] != '\t') ||
        (line[kHex + 1] != ' ' && line[kHex + 1] != '*')) {
        return false;
    }
    const auto digest = parseDigest(line.substr(0, kHex));
    const std::string_view rest = line.substr(kHex + 2);
    const auto utf8 = escaped ? unescape(rest) : std::optional<std::string>(rest);
    if (!digest || !utf8) {
        return false;
    }
    auto name = strictUtf8(*utf8);
    if (!name || !plainFileName(*name, separator_) || entries_.size() >= kMaxChecksumEntries) {
        return false;
    }
    entries_.push_back({std::move(*name), *digest});
    return true;
}

void ChecksumReader::checkStop() {
    // Often enough to answer within a fraction of a second, rarely enough
    // to cost nothing.
    constexpr std::size_t kEvery = 4096;
    if (++sinceStopAsked_ >= kEvery) {
        sinceStopAsked_ = 0;
        if (stop_ && stop_()) {
            throw ReadStopped();
        }
    }
}

bool ChecksumReader::namesDistinct() {
    std::vector<std::uint32_t> order(entries_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = static_cast<std::uint32_t>(i);
    }
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        checkStop();
        return entries_[a].name < entries_[b].name;
    });
    return std::adjacent_find(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
               return entries_[a].name == entries_[b].name;
           }) == order.end();
}

bool ChecksumReader::feed(std::string_view bytes) {
    while (!bad_ && !bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::size_t take = end == std::string_view::npos ? bytes.size() : end;
        if (line_.size() + take > kMaxChecksumLine ||
            bytes.substr(0, take).find('\0') != std::string_view::npos) {
            bad_ = true;  // an endless line, or binary data
            break;
        }
        line_.append(bytes.substr(0, take));
        if (end == std::string_view::npos) {
            break;
        }
        bad_ = !takeLine(line_);
        line_.clear();
        bytes.remove_prefix(end + 1);
        checkStop();
    }
    return !bad_;
}

std::optional<std::vector<ChecksumEntry>> ChecksumReader::finish() {
    if (!bad_ && !line_.empty()) {
        bad_ = !takeLine(line_);  // a last line without its line end
        line_.clear();
    }
    if (bad_ || entries_.empty() || !namesDistinct()) {
        return std::nullopt;
    }
    return std::move(entries_);
}

std::optional<std::vector<ChecksumEntry>> parseChecksumText(std::string_view text,
                                                            char16_t separator) {
    ChecksumReader reader(separator);
    reader.feed(text);
    return reader.finish();
}

std::optional<std::vector<ChecksumEntry>> readChecksumFile(FileSystem& fs, const Text& path,
                                                           const StopFn& stop) {
    try {
        if (fs.fileLength(path) > kMaxChecksumFile) {
            return std::nullopt;
        }
        const auto in = fs.openRead(path);
        ChecksumReader reader(fs.separator(), stop);
        std::array<char, 1 << 16> chunk;
        for (std::int64_t offset = 0;;) {
            const std::size_t got = in->readAt(offset, std::as_writable_bytes(std::span(chunk)));
            if (got == 0) {
                break;
            }
            offset += static_cast<std::int64_t>(got);
            if (!reader.feed(std::string_view(chunk.data(), got)) || offset > kMaxChecksumFile) {
                return std::nullopt;
            }
        }
        return reader.finish();
    } catch (const RuntimeError&) {
        return std::nullopt;  // unreadable is unrecognised: the user decides
    }
}

}  // namespace tessark
