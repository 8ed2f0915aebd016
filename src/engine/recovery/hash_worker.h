// SPDX-License-Identifier: MIT
// MD5 is the slowest part of writing recovery files, and one stream of it
// cannot be split: it runs on a thread of its own while the caller reads,
// takes the CRC32 and adds the slices into the recovery windows. The caller
// reads into a ring of buffers the worker hands back once it is done with
// them, so memory stays a few chunks however long the input.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

namespace tessark::recovery {

class HashWorker {
  public:
    explicit HashWorker(std::size_t bufferSize);
    // Abandons the jobs not yet run and ends the thread.
    ~HashWorker();
    HashWorker(const HashWorker&) = delete;
    HashWorker& operator=(const HashWorker&) = delete;

    // The next buffer of the ring, once the jobs posted while it was last in
    // use have run. Jobs posted from now to the next call may read it.
    std::span<std::byte> nextBuffer();
    // Runs `job` on the worker after every job posted before it (at once,
    // here, when no thread could be started).
    void post(std::function<void()> job);
    // Waits until every job has run; rethrows what one threw.
    void drain();

  private:
    static constexpr std::size_t kSlots = 4;

    void run();
    void waitFor(std::uint64_t count);

    std::vector<std::vector<std::byte>> buffers_;
    std::vector<std::uint64_t> freeAfter_;  // per buffer: jobs that must have run
    std::size_t current_ = kSlots - 1;
    std::uint64_t posted_ = 0;
    std::uint64_t done_ = 0;
    std::deque<std::function<void()>> jobs_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    bool inline_ = false;
    std::exception_ptr error_;
    std::thread thread_;  // last: it starts once everything it uses is ready
};

}  // namespace tessark::recovery
