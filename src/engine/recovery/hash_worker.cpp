// SPDX-License-Identifier: MIT
#include "engine/recovery/hash_worker.h"

#include <system_error>

namespace tessark::recovery {

HashWorker::HashWorker(std::size_t bufferSize)
    : buffers_(kSlots, std::vector<std::byte>(bufferSize)), freeAfter_(kSlots, 0) {
    try {
        thread_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        inline_ = true;  // no thread to be had: the same work, on this one
    }
}

HashWorker::~HashWorker() {
    if (thread_.joinable()) {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
            jobs_.clear();
        }
        changed_.notify_all();
        thread_.join();
    }
}

void HashWorker::waitFor(std::uint64_t count) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return done_ >= count || error_; });
    if (error_) {
        std::rethrow_exception(error_);
    }
}

std::span<std::byte> HashWorker::nextBuffer() {
    freeAfter_[current_] = posted_;
    current_ = (current_ + 1) % kSlots;
    if (!inline_) {
        waitFor(freeAfter_[current_]);
    }
    return buffers_[current_];
}

void HashWorker::post(std::function<void()> job) {
    if (inline_) {
        job();
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        if (error_) {
            std::rethrow_exception(error_);
        }
        jobs_.push_back(std::move(job));
        ++posted_;
    }
    changed_.notify_all();
}

void HashWorker::drain() {
    if (!inline_) {
        waitFor(posted_);
    }
}

void HashWorker::run() {
    while (true) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
            if (stopping_) {
                return;
            }
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        try {
            job();
        } catch (...) {
            const std::lock_guard lock(mutex_);
            error_ = std::current_exception();
            jobs_.clear();
        }
        {
            const std::lock_guard lock(mutex_);
            ++done_;
        }
        changed_.notify_all();
    }
}

}  // namespace tessark::recovery
