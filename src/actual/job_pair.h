// SPDX-License-Identifier: Apache-2.0
// Numbered jobs run on the calling thread and on one helper thread at once.
#ifndef VANTOR_ACTUAL_JOB_PAIR_H
#define VANTOR_ACTUAL_JOB_PAIR_H

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace vantor::detail {

// The helper is started by the first run of more than one job and waits between runs. Each
// thread takes the next job not yet taken, so the caller never waits for the helper to be
// scheduled: it runs every job itself if need be, and then waits only for the one job the helper
// may be running. Without a thread to be had, the caller runs them all.
class job_pair {
  public:
    job_pair() = default;
    job_pair(const job_pair&) = delete;
    job_pair& operator=(const job_pair&) = delete;
    ~job_pair();

    // Runs job(0) to job(count - 1), each once, and returns when all have returned. When jobs
    // throw (on either thread), the others still run, and the first exception caught is rethrown
    // here once none is running.
    void run(std::size_t count, const std::function<void(std::size_t)>& job);

  private:
    void help();
    // Runs job(taken), keeping what it throws.
    void run_one(const std::function<void(std::size_t)>& job, std::size_t taken);

    std::mutex mutex_;
    std::condition_variable wake_;  // jobs to take, or the end
    std::condition_variable idle_;  // the helper finished a job
    const std::function<void(std::size_t)>* job_ = nullptr;
    std::size_t count_ = 0;
    std::size_t next_ = 0;  // the next job to take
    bool busy_ = false;     // the helper is running a job
    bool stop_ = false;
    std::exception_ptr failure_;  // the first exception a job threw in this run
    std::thread helper_;
};

}  // namespace vantor::detail

#endif  // VANTOR_ACTUAL_JOB_PAIR_H
