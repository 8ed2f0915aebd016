// SPDX-License-Identifier: MIT
#include "engine/core/text.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace tessark {

Text trimSpaces(TextView text) {
    const auto first = text.find_first_not_of(u' ');
    if (first == TextView::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(u' ');
    return Text(text.substr(first, last - first + 1));
}

bool endsWith(TextView text, TextView tail) {
    return text.ends_with(tail);
}

std::size_t lastIndexOf(TextView text, char16_t c) {
    return text.rfind(c);
}

namespace {

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}
bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

double leadingNumber(TextView text) {
    std::string number;  // ASCII copy of the number's characters, blanks dropped
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && isBlank(text[i])) {
            ++i;
        }
    };
    skipBlanks();
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        number += static_cast<char>(text[i++]);
    }
    bool seenPoint = false;
    bool seenDigit = false;
    for (skipBlanks(); i < text.size(); ++i, skipBlanks()) {
        if (isDigit(text[i])) {
            seenDigit = true;
        } else if (text[i] == u'.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
        number += static_cast<char>(text[i]);
    }
    if (!seenDigit) {
        return 0.0;
    }
    if (i < text.size() &&
        (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        std::string exponent = "e";
        std::size_t j = i + 1;
        auto skip = [&] {
            while (j < text.size() && isBlank(text[j])) {
                ++j;
            }
        };
        skip();
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) {
            exponent += static_cast<char>(text[j++]);
        }
        bool exponentDigits = false;
        for (skip(); j < text.size() && isDigit(text[j]); ++j, skip()) {
            exponent += static_cast<char>(text[j]);
            exponentDigits = true;
        }
        if (exponentDigits) {
            number += exponent;
        }
    }
    return std::strtod(number.c_str(), nullptr);
}

std::optional<std::int64_t> roundHalfEven(double value) {
    // nearbyint follows the default rounding mode, which rounds halves to even.
    const double rounded = std::nearbyint(value);
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    if (!(rounded > -kLimit && rounded < kLimit)) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(rounded);
}

Text decimal(std::int64_t value) {
    const std::string digits = std::to_string(value);
    return Text(digits.begin(), digits.end());
}

Text GetFileName(TextView path, char16_t separator) {
    const auto at = path.rfind(separator);
    return Text(at == TextView::npos ? path : path.substr(at + 1));
}

std::optional<Text> folderPart(TextView path, char16_t separator) {
    const auto at = path.rfind(separator);
    if (at == TextView::npos) {
        return std::nullopt;
    }
    return Text(path.substr(0, at));
}

std::optional<Text> folderToLookUp(TextView path, char16_t separator) {
    auto folder = folderPart(path, separator);
    if (folder && folder->empty()) {
        return Text(1, separator);
    }
    return folder;
}

Text fromUtf8(std::string_view utf8) {
    Text out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        char32_t cp = 0xFFFD;
        std::size_t length = 1;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead >> 5) == 0x6) {
            length = 2;
            cp = lead & 0x1F;
        } else if ((lead >> 4) == 0xE) {
            length = 3;
            cp = lead & 0x0F;
        } else if ((lead >> 3) == 0x1E) {
            length = 4;
            cp = lead & 0x07;
        }
        if (length > 1) {
            if (i + length > utf8.size()) {
                cp = 0xFFFD;
                length = 1;
            } else {
                for (std::size_t k = 1; k < length; ++k) {
                    const auto c = static_cast<unsigned char>(utf8[i + k]);
                    if ((c >> 6) != 0x2) {
                        cp = 0xFFFD;
                        length = k;
                        break;
                    }
                    cp = (cp << 6) | (c & 0x3F);
                }
            }
        }
        i += length;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string toUtf8(TextView text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;  // a lone surrogate has no UTF-8 form
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

}  // namespace tessark
