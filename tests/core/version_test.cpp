// SPDX-License-Identifier: Apache-2.0
#include "vantor/version.h"

#include <string>

#include <gtest/gtest.h>

namespace vantor {
namespace {

// VANTOR_PROJECT_VERSION is project(VERSION) of the build, the version's one home.
TEST(Version, BothFormsReturnTheProjectVersionAndItsNumbers) {
    int major = -1, minor = -1, patch = -1;
    EXPECT_STREQ(version(major, minor, patch), VANTOR_PROJECT_VERSION);
    EXPECT_EQ(std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch),
              VANTOR_PROJECT_VERSION);
    EXPECT_STREQ(version(), VANTOR_PROJECT_VERSION);
    EXPECT_EQ(version(), version(major, minor, patch));
}

TEST(Version, TraceThresholdIsZeroUntilSetAndReadsBack) {
    EXPECT_EQ(tracelevel(), 0);
    tracelevel(4);
    EXPECT_EQ(tracelevel(), 4);
    tracelevel(0);
    EXPECT_EQ(tracelevel(), 0);
}

}  // namespace
}  // namespace vantor
