// SPDX-License-Identifier: MIT
#ifndef _WIN32

#include <iconv.h>

#include <cstdint>
#include <string>

#include "engine/platform/posix_file_system.h"

namespace tessark {

namespace {

class Converter {
  public:
    explicit Converter(const char* codeset) : cd_(::iconv_open(codeset, "UTF-8")) {
        if (!ok()) {
            cd_ = ::iconv_open("ASCII", "UTF-8");
        }
    }
    ~Converter() {
        if (ok()) {
            ::iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1)); }

    // Appends the encoding of one character; false when the set has none.
    bool append(std::string utf8, std::string& out) {
        char buffer[32];
        char* in = utf8.data();
        std::size_t inLeft = utf8.size();
        char* to = buffer;
        std::size_t toLeft = sizeof buffer;
        // A count above 0 means the character was replaced by a look-alike,
        // which is not the character either.
        if (::iconv(cd_, &in, &inLeft, &to, &toLeft) != 0 || inLeft != 0) {
            return false;
        }
        out.append(buffer, static_cast<std::size_t>(to - buffer));
        return true;
    }

    // Ends a stateful encoding in its initial shift state.
    void finish(std::string& out) {
        char buffer[32];
        char* to = buffer;
        std::size_t toLeft = sizeof buffer;
        if (::iconv(cd_, nullptr, nullptr, &to, &toLeft) != static_cast<std::size_t>(-1)) {
            out.append(buffer, static_cast<std::size_t>(to - buffer));
        }
    }

  private:
    iconv_t cd_;
};

}  // namespace

std::string encodeForCodeset(const Text& text, const char* codeset) {
    Converter converter(codeset);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t units = 1;
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            units = 2;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            out += '?';  // half a character encodes nowhere
            continue;
        }
        const TextView character(text.data() + i, units);
        i += units - 1;
        if (!converter.ok()) {
            out += c < 0x80 ? static_cast<char>(c) : '?';
        } else if (!converter.append(toUtf8(character), out)) {
            out += '?';
        }
    }
    if (converter.ok()) {
        converter.finish(out);
    }
    return out;
}

}  // namespace tessark

#endif
