// SPDX-License-Identifier: MIT
// A stop asked through the window at each progress report of a split and of
// a merge, by Esc or by the close box, answered Yes or No.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "fake_file_system.h"
#include "fake_window.h"
#include "forms/merge_form.h"
#include "forms/split_form.h"

namespace tessark {
namespace {

using Files = std::map<Text, std::string>;

// A split of 2,500 bytes into 1,024-byte pieces beside an old "m.002", or a
// merge of three pieces over an old output; 100 bytes move a chunk. The stop
// is asked at report `stopAt` and answered `answer`, after Yes to the
// questions before it.
struct Scene {
    Scene(bool split, int stopAt, StopRequest request, int answer) {
        fs.chunk = 100;
        fs.addFolder(u"C:\\out");
        fs.addFile(u"C:\\in.bin", std::string(2500, 's'));
        fs.addFile(u"C:\\out\\m.002", "old");
        w.Text1.value = u"C:\\in.bin";
        w.Text2.value = u"C:\\out\\m";
        w.Option1.isSelected = false;
        w.Text3.value = u"1";
        w.List1.items = {u"C:\\in.bin", u"C:\\in.bin"};
        w.List1.selected = 1;
        w.Text4.value = u"C:\\out\\m.002";
        before = files();
        w.stop.stopAt = stopAt;
        w.stop.request = request;
        w.messages.answers = {mb::Yes, mb::Yes};
        w.messages.answers.resize(split ? 1 : 2);
        w.messages.answers.push_back(answer);
        MainControls controls = w.controls();
        after = split ? startSplit(controls, fs) : startMerge(controls, fs);
    }
    Files files() const {
        Files all;
        for (const Text& path : fs.allFiles()) {
            all[path] = *fs.contents(path);
        }
        return all;
    }
    test::FakeFileSystem fs{u'\\'};
    test::FakeWindow w;
    Files before;
    AfterJob after;
};

class StopAsked : public ::testing::TestWithParam<bool> {};

TEST_P(StopAsked, AtEveryReportYesLeavesAllAsBeforeAndNoGoesOn) {
    const bool split = GetParam();
    const Scene whole(split, -1, StopRequest::None, mb::Yes);
    const int reports = whole.w.stop.takes;
    ASSERT_GE(reports, 10);
    for (int at = 0; at < reports; ++at) {
        for (const int answer : {mb::Yes, mb::No}) {
            const StopRequest request = at % 2 == 0 ? StopRequest::Stop : StopRequest::StopAndEnd;
            SCOPED_TRACE(testing::Message() << "report " << at << " answer " << answer);
            const Scene run(split, at, request, answer);
            const auto& boxes = run.w.messages.shown;
            const Text question = split ? u"确定要停止分割吗？" : u"确定要停止合并吗？";
            EXPECT_EQ(std::count_if(boxes.begin(), boxes.end(),
                                    [&](const test::ShownBox& box) {
                                        return box.prompt == question && box.style == 292;
                                    }),
                      1);
            EXPECT_EQ(run.fs.openHandles(), 0);
            if (answer == mb::No) {
                EXPECT_EQ(run.files(), whole.files());
                EXPECT_EQ(run.after, AfterJob::Stay);
                continue;
            }
            // Nothing the run made stays; the old piece is old or rewritten
            // whole, or gone when the stop came while it was being rewritten.
            Files left = run.files();
            const std::string old = left[u"C:\\out\\m.002"];
            EXPECT_TRUE(old.empty() || old == "old" || old == std::string(1024, 's'));
            left[u"C:\\out\\m.002"] = "old";
            EXPECT_EQ(left, run.before);
            EXPECT_EQ(run.w.List1.items, (std::vector<Text>{u"C:\\in.bin", u"C:\\in.bin"}));
            EXPECT_EQ(run.w.List1.selected, 1);
            EXPECT_EQ(run.w.Text4.value, u"C:\\out\\m.002");
            EXPECT_FALSE(run.w.ProgressBar1.visible);
            EXPECT_EQ(run.w.pointer.current, pointer::Default);
            EXPECT_EQ(boxes.back().prompt, split ? u"分割已停止。" : u"合并已停止。");
            EXPECT_EQ(boxes.back().style, mb::Information);
            EXPECT_EQ(run.after,
                      request == StopRequest::StopAndEnd ? AfterJob::EndProgram : AfterJob::Stay);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Jobs, StopAsked, ::testing::Bool(),
                         [](const auto& p) { return p.param ? "Split" : "Merge"; });

}  // namespace
}  // namespace tessark
