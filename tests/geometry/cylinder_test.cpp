// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/near.h"
#include "spanto/cylinder.h"

using spanto::cylinder;
using spanto::point;
using spanto::vector;
using spanto_test::near;

TEST(Cylinder, SignedDistanceIsAxisDistanceMinusRadius) {
    const cylinder c(point(0, 0, 0), vector(0, 0, 5), 2.0);
    EXPECT_TRUE(near(c.direction, vector(0, 0, 1)));
    EXPECT_DOUBLE_EQ(c.sdistance(point(3, 4, 100)), 3.0);
    EXPECT_DOUBLE_EQ(c.sdistance(point(1, 0, -7)), -1.0);
    EXPECT_DOUBLE_EQ(c.distance(point(1, 0, -7)), 1.0);
    EXPECT_DOUBLE_EQ(c.sdistance(point(0, 0, 3)), -2.0);
    // Oblique axis through (1,1,0) along (1,1,0): (0,2,3) is sqrt(11) from it.
    const cylinder t(point(1, 1, 0), vector(1, 1, 0), 1.0);
    EXPECT_DOUBLE_EQ(t.sdistance(point(0, 2, 3)), std::sqrt(11.0) - 1.0);
}

TEST(Cylinder, DegenerateInputGivesInvalidCylinder) {
    EXPECT_TRUE(cylinder(point(0, 0, 0), vector(0, 0, 0), 1.0).invalid());
    EXPECT_TRUE(cylinder(point(0, 0, 0), vector(0, 0, 1), -1.0).invalid());
    EXPECT_TRUE(cylinder(point(0, 0, 0), vector(0, 0, 1), spanto::nan).invalid());
    EXPECT_TRUE(cylinder(point(), vector(0, 0, 1), 1.0).invalid());
}

TEST(Cylindersect, KeepsBaseAndLimits) {
    const cylinder c(point(0, 0, 0), vector(0, 0, 1), 2.0);
    const spanto::cylindersect s(c, -1.0, 4.0);
    ASSERT_TRUE(s.valid());
    EXPECT_DOUBLE_EQ(s.base().radius, 2.0);
    EXPECT_DOUBLE_EQ(s.from(), -1.0);
    EXPECT_DOUBLE_EQ(s.to(), 4.0);
    EXPECT_TRUE(spanto::cylindersect(cylinder(), 0.0, 1.0).invalid());
    EXPECT_TRUE(spanto::cylindersect(c, spanto::nan, 1.0).invalid());
}
