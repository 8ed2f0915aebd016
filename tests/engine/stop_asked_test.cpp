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

using test::FakeFileSystem;
using Files = std::map<Text, std::string>;

Files snapshot(const FakeFileSystem& fs) {
    Files files;
    for (const Text& path : fs.allFiles()) {
        files[path] = *fs.contents(path);
    }
    return files;
}

// The window's state that a stopped job gives back as it was.
struct Shown {
    std::vector<Text> items;
    std::int64_t selected;
    Text text4;
    bool barVisible;
    int pointer;
    friend bool operator==(const Shown&, const Shown&) = default;
};

Shown shown(const test::FakeWindow& w) {
    return {w.List1.items, w.List1.selected, w.Text4.value, w.ProgressBar1.visible,
            w.pointer.current};
}

struct Job {
    Text question;
    Text stopped;
    std::function<void(FakeFileSystem&, test::FakeWindow&)> setUp;
    std::function<AfterJob(MainControls&, FileSystem&)> run;
};

// A split of 2,500 bytes into 1,024-byte pieces beside an old "m.002"; a merge of
// three pieces over an old output. Both move 100 bytes a chunk.
const Job kSplit{u"确定要停止分割吗？", u"分割已停止。",
                 [](FakeFileSystem& fs, test::FakeWindow& w) {
                     fs.addFile(u"C:\\in.bin", std::string(2500, 's'));
                     fs.addFolder(u"C:\\out");
                     fs.addFile(u"C:\\out\\m.002", "old");
                     w.Text1.value = u"C:\\in.bin";
                     w.Text2.value = u"C:\\out\\m";
                     w.Option1.isSelected = false;
                     w.Text3.value = u"1";
                     w.List1.items = {u"C:\\old.001", u"C:\\old.002"};
                     w.Text4.value = u"C:\\old";
                 },
                 startSplit};
const Job kMerge{u"确定要停止合并吗？", u"合并已停止。",
                 [](FakeFileSystem& fs, test::FakeWindow& w) {
                     fs.addFolder(u"C:\\out");
                     fs.addFile(u"C:\\out\\j.bin", "old");
                     for (const char16_t* p : {u"C:\\p.1", u"C:\\p.2", u"C:\\p.3"}) {
                         fs.addFile(p, std::string(250, 'p'));
                     }
                     w.List1.items = {u"C:\\p.1", u"C:\\p.2", u"C:\\p.3"};
                     w.Text4.value = u"C:\\out\\j.bin";
                 },
                 startMerge};

// One run on fresh files and a fresh window, with a stop asked at report
// `stopAt` (none: -1) and answered `answer`.
struct Scene {
    Scene(const Job& job, int stopAt, StopRequest request, int answer) {
        fs.chunk = 100;
        job.setUp(fs, w);
        w.List1.selected = 1;
        before = snapshot(fs);
        shownBefore = shown(w);
        w.repaint.stopAt = stopAt;
        w.repaint.request = request;
        // Yes to the questions before the one about stopping (the merge also
        // asks to replace its output).
        w.messages.answers = {mb::Yes};
        if (&job == &kMerge) {
            w.messages.answers.push_back(mb::Yes);
        }
        w.messages.answers.push_back(answer);
        MainControls controls = w.controls();
        after = job.run(controls, fs);
    }
    FakeFileSystem fs{u'\\'};
    test::FakeWindow w;
    Files before;
    Shown shownBefore;
    AfterJob after;
};

class StopAsked : public ::testing::TestWithParam<const Job*> {};

TEST_P(StopAsked, AtEveryReportYesLeavesAllAsBeforeAndNoGoesOn) {
    const Job& job = *GetParam();
    const Scene whole(job, -1, StopRequest::None, mb::Yes);
    const Files complete = snapshot(whole.fs);
    const int reports = whole.w.repaint.takes;
    ASSERT_GE(reports, 10);
    for (int at = 0; at < reports; ++at) {
        for (const int answer : {mb::Yes, mb::No}) {
            const StopRequest request = at % 2 == 0 ? StopRequest::Stop : StopRequest::StopAndEnd;
            SCOPED_TRACE(testing::Message() << "report " << at << " answer " << answer);
            Scene run(job, at, request, answer);
            const auto& boxes = run.w.messages.shown;
            EXPECT_EQ(std::count_if(boxes.begin(), boxes.end(),
                                    [&](const test::ShownBox& box) {
                                        return box.prompt == job.question && box.style == 292;
                                    }),
                      1);
            EXPECT_EQ(run.fs.openHandles(), 0);
            if (answer == mb::No) {
                EXPECT_EQ(snapshot(run.fs), complete);
                EXPECT_EQ(run.after, AfterJob::Stay);
                continue;
            }
            // Nothing the run made stays; the old piece is old or rewritten
            // whole, or gone when the stop came while it was being rewritten.
            Files left = snapshot(run.fs);
            if (&job == &kSplit) {
                const std::string old = left[u"C:\\out\\m.002"];
                EXPECT_TRUE(old.empty() || old == "old" || old == std::string(1024, 's'));
                left[u"C:\\out\\m.002"] = "old";
            }
            EXPECT_EQ(left, run.before);
            EXPECT_EQ(shown(run.w), run.shownBefore);
            EXPECT_EQ(run.w.messages.shown.back().prompt, job.stopped);
            EXPECT_EQ(run.w.messages.shown.back().style, mb::Information);
            EXPECT_EQ(run.after,
                      request == StopRequest::StopAndEnd ? AfterJob::EndProgram : AfterJob::Stay);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Jobs, StopAsked, ::testing::Values(&kSplit, &kMerge),
                         [](const auto& p) { return p.param == &kSplit ? "Split" : "Merge"; });

}  // namespace
}  // namespace tessark
