// SPDX-License-Identifier: MIT
// The one English line the CLI gives for a run-time error.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "cli/error_text.h"

namespace tessark::cli {
namespace {

TEST(ErrorText, SaysWhatWasDoneToWhichFileAndWhy) {
    struct Case {
        RuntimeError error;
        std::string text;
    };
    const std::vector<Case> cases = {
        {RuntimeError(61, u"/x/m.003", FileAction::Write, SystemCode::ofErrno(ENOSPC)),
         "cannot write '/x/m.003': No space left on device"},
        {RuntimeError(70, u"/x/电影.avi", FileAction::Replace, SystemCode::ofErrno(EACCES)),
         "cannot replace '/x/电影.avi': Permission denied"},
        {RuntimeError(53, u"/x/a", FileAction::None, SystemCode::ofErrno(ENOENT)),
         "'/x/a': No such file or directory"},
        {RuntimeError(57, {}, FileAction::Read, SystemCode::ofErrno(EIO)), "Input/output error"},
        {RuntimeError(61, u"/x/m.003", FileAction::Write), "cannot write '/x/m.003': Disk full"},
        {RuntimeError(68, u"/x/p", FileAction::CreateTemporaryIn, ErrorCause::NotRegularFile),
         "cannot create a temporary file in '/x/p': not a regular file"},
        {RuntimeError(70, u"/x/m.avi", FileAction::Overwrite, ErrorCause::IsTheSource),
         "cannot overwrite '/x/m.avi': it is the file being read"},
        {RuntimeError(76), "Path not found"},
        {RuntimeError(999), "run-time error 999"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(describe(c.error), c.text);
    }
}

}  // namespace
}  // namespace tessark::cli
