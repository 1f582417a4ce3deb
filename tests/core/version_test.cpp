#include "vantor/version.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(Version, BothFormsReturnTheSameTextAndTheNumbers) {
    int major = -1, minor = -1, patch = -1;
    EXPECT_STREQ(version(major, minor, patch), "1.0.0");
    EXPECT_EQ(major, 1);
    EXPECT_EQ(minor, 0);
    EXPECT_EQ(patch, 0);
    EXPECT_STREQ(version(), "1.0.0");
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
