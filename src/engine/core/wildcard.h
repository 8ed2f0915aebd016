// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/text.h"

namespace tessark {

// Matches a file name against a pattern of literal characters, "*" (any run)
// and "?" (any one character). Exact, case-sensitive comparison.
bool wildcardMatch(TextView pattern, TextView name);

}  // namespace tessark
