// SPDX-License-Identifier: MIT
#include "engine/core/hashing_copy.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"
#include "engine/core/sha256.h"

namespace tessark {

namespace {

// The ring of chunks between the copying thread and the hashing thread: deep
// enough that neither waits on the other's every hiccup, and 1 MiB in all
// whatever the block size.
constexpr std::int64_t kSlots = 4;
constexpr auto kSlotSize = static_cast<std::int64_t>(kCopyBufferSize);
// A copy shorter than the ring is over before a second thread would pay for
// its start (a set of small pieces starts one per piece).
constexpr std::int64_t kThreadFrom = kSlots * kSlotSize;

void feed(std::span<Sha256* const> hashes, std::span<const std::byte> chunk) {
    for (Sha256* hash : hashes) {
        hash->update(chunk);
    }
}

// Hashes, on a thread of its own, the chunks the copying thread hands it, in
// the order handed. A slot of the ring is free for the next chunk once the
// thread is done with it. Only the hashing runs here: the files are read and
// written on the caller's thread alone, so a file system need not be safe to
// use from two threads.
class HashThread {
  public:
    HashThread(std::span<Sha256* const> hashes, std::span<std::byte> ring)
        : hashes_(hashes), ring_(ring), thread_([this] { run(); }) {}

    // Abandons what is not hashed yet: after a failure the hashes are of no
    // use. Waits at most for the chunk being hashed.
    ~HashThread() {
        {
            const std::lock_guard lock(mutex_);
            closing_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    HashThread(const HashThread&) = delete;
    HashThread& operator=(const HashThread&) = delete;

    // The buffer for chunk number `k`, once the thread is done with what the
    // slot held before.
    std::span<std::byte> slot(std::int64_t k) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return failure_ || k - hashed_ < kSlots; });
        rethrowFailure();
        return slotBuffer(k);
    }

    // Hands over the first `length` bytes of the slot of the next chunk.
    void hand(std::size_t length) {
        {
            const std::lock_guard lock(mutex_);
            lengths_[handed_ % kSlots] = length;
            ++handed_;
        }
        changed_.notify_all();
    }

    // Waits until every chunk handed over is hashed.
    void drain() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return failure_ || hashed_ == handed_; });
        rethrowFailure();
    }

  private:
    std::span<std::byte> slotBuffer(std::int64_t k) const {
        return ring_.subspan(static_cast<std::size_t>((k % kSlots) * kSlotSize),
                             static_cast<std::size_t>(kSlotSize));
    }

    void rethrowFailure() {
        if (failure_) {
            std::rethrow_exception(failure_);
        }
    }

    void run() {
        for (;;) {
            std::span<const std::byte> chunk;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return closing_ || hashed_ < handed_; });
                if (closing_) {
                    return;
                }
                chunk = slotBuffer(hashed_).first(lengths_[hashed_ % kSlots]);
            }
            try {
                feed(hashes_, chunk);
            } catch (...) {
                const std::lock_guard lock(mutex_);
                failure_ = std::current_exception();
                changed_.notify_all();
                return;
            }
            {
                const std::lock_guard lock(mutex_);
                ++hashed_;
            }
            changed_.notify_all();
        }
    }

    std::span<Sha256* const> hashes_;
    std::span<std::byte> ring_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t lengths_[kSlots] = {};
    std::int64_t handed_ = 0;
    std::int64_t hashed_ = 0;
    bool closing_ = false;
    std::exception_ptr failure_;
    std::thread thread_;  // last: it starts once everything it uses is ready
};

}  // namespace

bool copyAndHash(InputFile& in, std::int64_t inOffset, OutputFile& out, std::int64_t outOffset,
                 std::int64_t count, std::span<Sha256* const> hashes, Progress& progress,
                 const ProgressFn& report) {
    // The bytes must pass through memory to be hashed, so this is a read and
    // a write rather than the kernel's file-to-file copy; the hash of what was
    // written is then exact, even for a file that changes meanwhile. Hashing
    // costs several times the copy, so the second half of the hashes runs on
    // a second thread over the same buffers, while this thread reads, hashes
    // the first half and writes.
    const std::span<Sha256* const> ours = hashes.first(hashes.size() / 2);
    const std::span<Sha256* const> theirs = hashes.subspan(ours.size());
    const bool threaded = !theirs.empty() && count >= kThreadFrom;
    std::vector<std::byte> ring(
        static_cast<std::size_t>(threaded ? kSlots * kSlotSize : kSlotSize));
    std::optional<HashThread> helper;
    if (threaded) {
        try {
            helper.emplace(theirs, ring);
        } catch (const std::system_error&) {
            // No thread to be had: the same copy, a little slower.
        }
    }

    std::int64_t done = 0;
    for (std::int64_t k = 0; done < count; ++k) {
        const std::span<std::byte> buffer =
            helper ? helper->slot(k) : std::span(ring).first(kCopyBufferSize);
        const auto want = static_cast<std::size_t>(std::min<std::int64_t>(count - done, kSlotSize));
        const std::size_t got = in.readAt(inOffset + done, buffer.first(want));
        if (got == 0) {
            raise(err::DeviceIo);  // the input is shorter than it was said to be
        }
        const auto chunk = std::span<const std::byte>(buffer).first(got);
        if (helper) {
            helper->hand(got);
            feed(ours, chunk);
        } else {
            feed(hashes, chunk);
        }
        out.writeAt(outOffset + done, chunk);
        done += static_cast<std::int64_t>(got);
        progress.bytesDone += static_cast<std::int64_t>(got);
        if (done < count && report && !report(progress)) {
            // Every hash has then seen exactly the bytes copied so far.
            if (helper) {
                helper->drain();
            }
            return false;
        }
    }
    if (helper) {
        helper->drain();
    }
    return true;
}

}  // namespace tessark
