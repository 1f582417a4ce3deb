// SPDX-License-Identifier: Apache-2.0
#include <cstring>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "vantor/feature.h"

namespace vantor {
namespace {

TEST(FormText, ValueOrInvalid) {
    const cylindricity c;
    const coneicity k;
    EXPECT_STREQ(toa(c), "clf(invalid)");
    EXPECT_STREQ(toa(&k), "cnf(invalid)");
    const cylindricity c25(0.25);
    const coneicity k25(0.25);
    EXPECT_STREQ(toa(&c25), "clf(0.250)");
    EXPECT_STREQ(toa(k25), "cnf(0.250)");
}

TEST(FormText, RingOfTenBuffersSharedByBothForms) {
    const cylindricity c(1.0);
    const coneicity k(2.0);
    const char* first = toa(c);
    const std::string first_text = first;
    for (int i = 0; i < 9; ++i) {
        EXPECT_NE(i % 2 == 0 ? toa(k) : toa(c), first);
    }
    EXPECT_EQ(std::string(first), first_text);  // intact for nine calls
    const char* eleventh = toa(k);
    EXPECT_EQ(eleventh, first);
    EXPECT_STREQ(first, "cnf(2.000)");
}

TEST(FormText, EachThreadHasItsOwnRing) {
    const cylindricity c(1.0);
    const char* mine = toa(c);
    std::thread other([] {
        const coneicity k(3.0);
        for (int i = 0; i < 10; ++i) toa(k);
    });
    other.join();
    EXPECT_STREQ(mine, "clf(1.000)");
}

TEST(FormText, HugeValueIsCutToTheBuffer) {
    const cylindricity c(1e300);
    const char* text = toa(c);
    EXPECT_EQ(std::strlen(text), 79u);
    EXPECT_EQ(std::string(text, 5), "clf(1");
}

TEST(FormText, NullFeatureReadsAsInvalid) {
    EXPECT_STREQ(toa(static_cast<const cylindricity*>(nullptr)), "clf(invalid)");
    EXPECT_STREQ(toa(static_cast<const coneicity*>(nullptr)), "cnf(invalid)");
}

}  // namespace
}  // namespace vantor
