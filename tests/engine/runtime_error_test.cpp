// SPDX-License-Identifier: MIT
// What a run-time error keeps for the front ends to word; the CLI's English
// for it is tested beside the CLI.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "engine/core/runtime_error.h"

namespace tessark {
namespace {

TEST(RuntimeError, KeepsTheFileTheActionAndTheSystemsCodeWithoutWords) {
    const RuntimeError error(61, u"/x/m.003", FileAction::Write, SystemCode::ofErrno(ENOSPC));
    EXPECT_EQ(error.number(), 61);
    EXPECT_EQ(error.path(), u"/x/m.003");
    EXPECT_EQ(error.action(), FileAction::Write);
    EXPECT_EQ(error.systemCode().origin, SystemCode::Origin::Errno);
    EXPECT_EQ(error.systemCode().value, ENOSPC);
    EXPECT_STREQ(error.what(), "RuntimeError 61");

    // The same error about the target a staged file was to replace.
    const RuntimeError moved =
        RuntimeError(70, u"/x/tmp", FileAction::Replace, ErrorCause::NotRegularFile)
            .about(u"/x/m.avi");
    EXPECT_EQ(moved.number(), 70);
    EXPECT_EQ(moved.path(), u"/x/m.avi");
    EXPECT_EQ(moved.action(), FileAction::Replace);
    EXPECT_EQ(moved.cause(), ErrorCause::NotRegularFile);
}

}  // namespace
}  // namespace tessark
