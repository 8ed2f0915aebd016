// SPDX-License-Identifier: MIT
// The Windows window tests' main: GoogleTest with a watchdog that ends the
// process when one test runs too long, so that a modal loop nobody answers
// fails the run instead of hanging it.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

class Watchdog : public testing::EmptyTestEventListener {
  public:
    explicit Watchdog(std::chrono::seconds limit) : limit_(limit) {
        std::thread([this] { watch(); }).detach();
    }

    void OnTestStart(const testing::TestInfo& test) override {
        name_ = std::string(test.test_suite_name()) + "." + test.name();
        deadline_ = (Clock::now() + limit_).time_since_epoch().count();
    }
    void OnTestEnd(const testing::TestInfo&) override { deadline_ = 0; }

  private:
    void watch() {
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            const auto deadline = deadline_.load();
            if (deadline != 0 && Clock::now().time_since_epoch().count() > deadline) {
                std::fprintf(stderr, "watchdog: %s still runs after %lld s; stopped\n",
                             name_.c_str(), static_cast<long long>(limit_.count()));
                std::fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 3);
            }
        }
    }

    std::chrono::seconds limit_;
    std::atomic<Clock::rep> deadline_{0};
    std::string name_;  // written before the deadline is armed
};

}  // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new Watchdog(std::chrono::seconds(60)));
    return RUN_ALL_TESTS();
}
