// SPDX-License-Identifier: MIT
// What tessark-cli says, in English, when the engine refuses a request: one
// sentence per check, naming the file it is about. The window shows its own
// Chinese words for the same checks.
#pragma once

#include <string>

#include "engine/merge/merge_plan.h"
#include "engine/split/split_plan.h"

namespace tessark::cli {

// `path` is the refusal's own file, where the check names one.
std::string splitRefusalText(SplitCheck check, const SplitRequest& request, const Text& path = {});
std::string mergeRefusalText(MergeCheck check, const MergeRequest& request);

// A path as messages show it: in UTF-8 between single quotes.
std::string quoted(const Text& path);

}  // namespace tessark::cli
