// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include "spanto/spanto.h"

// Callers detect a failed construction by invalid(); a default element must report it.
TEST(DefaultElement, EveryTypeIsInvalid) {
    EXPECT_TRUE(spanto::point().invalid());
    EXPECT_TRUE(spanto::vector().invalid());
    EXPECT_TRUE(spanto::line().invalid());
    EXPECT_TRUE(spanto::axis().invalid());
    EXPECT_TRUE(spanto::lineseg().invalid());
    EXPECT_TRUE(spanto::plane().invalid());
    EXPECT_TRUE(spanto::circle().invalid());
    EXPECT_TRUE(spanto::arc().invalid());
    EXPECT_TRUE(spanto::sphere().invalid());
    EXPECT_TRUE(spanto::cylinder().invalid());
    EXPECT_TRUE(spanto::cylindersect().invalid());
    EXPECT_TRUE(spanto::cone().invalid());
    EXPECT_TRUE(spanto::conesect().invalid());
}

TEST(DefaultElement, SetinvalidMakesAValidElementInvalid) {
    const spanto::point o(0, 0, 0);
    const spanto::vector z(0, 0, 1);
    spanto::line l(o, z);
    spanto::plane p(o, z);
    spanto::sphere s(o, 1.0);
    spanto::cylinder c(o, z, 1.0);
    ASSERT_TRUE(l.valid() && p.valid() && s.valid() && c.valid());
    l.setinvalid();
    p.setinvalid();
    s.setinvalid();
    c.setinvalid();
    EXPECT_TRUE(l.invalid() && p.invalid() && s.invalid() && c.invalid());
}
