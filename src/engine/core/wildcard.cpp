// SPDX-License-Identifier: MIT
#include "engine/core/wildcard.h"

namespace tessark {

bool wildcardMatch(TextView pattern, TextView name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = TextView::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != TextView::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace tessark
