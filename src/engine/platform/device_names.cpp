// SPDX-License-Identifier: MIT
#include "engine/platform/device_names.h"

#include <algorithm>
#include <array>

namespace tessark {

namespace {

char16_t upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool startsWithIgnoringCase(TextView text, TextView head) {
    return text.size() >= head.size() &&
           std::equal(head.begin(), head.end(), text.begin(),
                      [](char16_t a, char16_t b) { return upper(a) == upper(b); });
}

bool separator(char16_t c) {
    return c == u'\\' || c == u'/';
}

}  // namespace

bool namesWindowsDevice(TextView path) {
    if (startsWithIgnoringCase(path, u"\\\\.\\") || startsWithIgnoringCase(path, u"//./") ||
        startsWithIgnoringCase(path, u"\\\\?\\GLOBALROOT")) {
        return true;
    }
    if (startsWithIgnoringCase(path, u"\\\\?\\")) {
        return false;
    }
    const auto slash = std::find_if(path.rbegin(), path.rend(), separator);
    TextView name = path.substr(static_cast<std::size_t>(path.rend() - slash));
    if (name.size() >= 2 && name[1] == u':' && slash == path.rend()) {
        name.remove_prefix(2);  // "C:nul" is nul on drive C
    }
    // The device's name ends at the first dot or colon; blanks before it
    // are dropped.
    name = name.substr(0, name.find_first_of(u".:"));
    while (!name.empty() && name.back() == u' ') {
        name.remove_suffix(1);
    }
    Text key;
    for (const char16_t c : name) {
        key += upper(c);
    }
    static constexpr std::array<TextView, 6> kPlain = {u"CON", u"PRN",    u"AUX",
                                                       u"NUL", u"CONIN$", u"CONOUT$"};
    if (std::find(kPlain.begin(), kPlain.end(), TextView(key)) != kPlain.end()) {
        return true;
    }
    if (key.size() != 4 || (!key.starts_with(u"COM") && !key.starts_with(u"LPT"))) {
        return false;
    }
    const char16_t digit = key[3];
    return (digit >= u'1' && digit <= u'9') || digit == u'\u00B9' || digit == u'\u00B2' ||
           digit == u'\u00B3';
}

}  // namespace tessark
