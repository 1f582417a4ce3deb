// SPDX-License-Identifier: Apache-2.0
#include "actual/job_pair.h"

#include <system_error>
#include <utility>

namespace vantor::detail {

job_pair::~job_pair() {
    if (!helper_.joinable()) return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    helper_.join();
}

void job_pair::run(std::size_t count, const std::function<void(std::size_t)>& job) {
    if (count > 1 && !helper_.joinable()) {
        try {
            helper_ = std::thread(&job_pair::help, this);
        } catch (const std::system_error&) {
            // The caller runs every job.
        }
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        job_ = &job;
        count_ = count;
        next_ = 0;
        failure_ = nullptr;
    }
    wake_.notify_one();
    while (true) {
        std::size_t taken = 0;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (next_ == count_) break;
            taken = next_++;
        }
        run_one(job, taken);
    }
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return !busy_; });
    job_ = nullptr;
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void job_pair::run_one(const std::function<void(std::size_t)>& job, std::size_t taken) {
    try {
        job(taken);
    } catch (...) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!failure_) failure_ = std::current_exception();
    }
}

void job_pair::help() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return stop_ || (job_ != nullptr && next_ < count_); });
        if (stop_) return;
        const std::function<void(std::size_t)>& job = *job_;
        const std::size_t taken = next_++;
        busy_ = true;
        lock.unlock();
        run_one(job, taken);
        lock.lock();
        busy_ = false;
        idle_.notify_one();
    }
}

}  // namespace vantor::detail
