// SPDX-License-Identifier: MIT
// A merge killed after its staged output got its hidden name and before it
// took the output's place: the next merge into the folder removes what it
// left, and never the staging file of a merge that still runs.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "engine/merge/merge_plan.h"
#include "engine/platform/posix_file_system.h"
#include "temp_folder.h"

namespace tessark {
namespace {

namespace fsys = std::filesystem;

std::size_t stagingFiles(const std::string& folder) {
    std::size_t count = 0;
    for (const auto& entry : fsys::directory_iterator(folder)) {
        count += entry.path().filename().string().starts_with(".tessark-") ? 1 : 0;
    }
    return count;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(AbandonedStaging, TheNextMergeRemovesWhatAKilledMergeLeft) {
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed staging" : "named staging");
        const test::TempFolder dir;
        const std::string output = dir.path() + "/out.bin";
        const std::string piece = dir.path() + "/p.001";
        writeFile(output, "old");
        writeFile(piece, "new content");
        const auto fs = makePosixFileSystem(true, unnamed);

        // The child stages new content, closes it (it now has its hidden
        // name) and waits there to be killed.
        int ready[2];  // the child says when it is there
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const auto staged = fs->createStaged(fromUtf8(output));
            const std::byte bytes[] = {std::byte{'x'}};
            staged->writeAt(0, bytes);
            staged->close();
            const char done = 'r';
            static_cast<void>(::write(ready[1], &done, 1));
            for (;;) {
                ::pause();
            }
        }
        char done = 0;
        ASSERT_EQ(::read(ready[0], &done, 1), 1);
        ::close(ready[0]);
        ::close(ready[1]);
        ASSERT_EQ(stagingFiles(dir.path()), 1u);

        const MergePlan plan{fromUtf8(output), {fromUtf8(piece)}, true, {}, {}};
        ASSERT_EQ(runMerge(*fs, plan, {}).result, MergeResult::Joined);
        EXPECT_EQ(stagingFiles(dir.path()), 1u) << "the running merge's file stays";

        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_EQ(stagingFiles(dir.path()), 1u);
        writeFile(output, "old");
        ASSERT_EQ(runMerge(*fs, plan, {}).result, MergeResult::Joined);
        EXPECT_EQ(stagingFiles(dir.path()), 0u);
        EXPECT_EQ(fsys::file_size(output), 11u);
    }
}

}  // namespace
}  // namespace tessark
