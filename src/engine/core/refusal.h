// SPDX-License-Identifier: MIT
// A request turned down by one of its checks. The engine says only which
// check failed and the name it failed on; each front end puts that into its
// own words.
#pragma once

#include "engine/core/text.h"

namespace tessark {

template <typename Check>
struct Refusal {
    Check check;
    Text path;  // the name the check is about, trimmed; empty where it has none
};

}  // namespace tessark
