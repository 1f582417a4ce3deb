// SPDX-License-Identifier: Apache-2.0
#include "actual/job_pair.h"

#include <atomic>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

namespace vantor::detail {
namespace {

// Every job runs once, over runs of different sizes on one pair; a job that throws (on either
// thread) leaves the others to run, and run() rethrows it once none is running.
TEST(JobPair, RunsEveryJobOnceAndRethrowsAFailure) {
    job_pair pair;
    for (const std::size_t count : {1u, 2u, 16u, 300u}) {
        std::vector<std::atomic<int>> runs(count);
        pair.run(count, [&](std::size_t i) { ++runs[i]; });
        for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(runs[i], 1) << count << " " << i;
    }
    for (const std::size_t failing : {0u, 7u, 15u}) {
        std::vector<std::atomic<int>> runs(16);
        EXPECT_THROW(pair.run(16,
                              [&](std::size_t i) {
                                  ++runs[i];
                                  if (i == failing) throw std::runtime_error("job failed");
                              }),
                     std::runtime_error);
        for (std::size_t i = 0; i < runs.size(); ++i) EXPECT_EQ(runs[i], 1) << failing << " " << i;
    }
    std::atomic<int> after{0};
    pair.run(4, [&](std::size_t) { ++after; });
    EXPECT_EQ(after, 4);
}

}  // namespace
}  // namespace vantor::detail
