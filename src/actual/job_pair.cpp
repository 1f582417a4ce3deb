#include "actual/job_pair.h"

#include <system_error>

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
    }
    wake_.notify_one();
    while (true) {
        std::size_t taken = 0;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (next_ == count_) break;
            taken = next_++;
        }
        job(taken);
    }
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return !busy_; });
    job_ = nullptr;
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
        job(taken);
        lock.lock();
        busy_ = false;
        idle_.notify_one();
    }
}

}  // namespace vantor::detail
