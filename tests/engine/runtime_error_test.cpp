// SPDX-License-Identifier: MIT
// The one line a run-time error gives for a log.
#include <gtest/gtest.h>

#include "engine/core/runtime_error.h"

namespace tessark {
namespace {

TEST(RuntimeErrorDescribe, SaysWhatWasDoneToWhichFileAndWhy) {
    struct Case {
        RuntimeError error;
        std::string text;
    };
    const std::vector<Case> cases = {
        {RuntimeError(61, u"/x/m.003", "No space left on device", "write"),
         "cannot write '/x/m.003': No space left on device"},
        {RuntimeError(70, u"/x/电影.avi", "Permission denied", "replace"),
         "cannot replace '/x/电影.avi': Permission denied"},
        {RuntimeError(53, u"/x/a", "No such file or directory"),
         "'/x/a': No such file or directory"},
        {RuntimeError(57, {}, "Input/output error", "read"), "Input/output error"},
        {RuntimeError(61, u"/x/m.003", {}, "write"), "cannot write '/x/m.003': Disk full"},
        {RuntimeError(76), "Path not found"},
        {RuntimeError(999), "run-time error 999"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.error.describe(), c.text);
        EXPECT_STREQ(c.error.what(), c.text.c_str());
    }
}

}  // namespace
}  // namespace tessark
