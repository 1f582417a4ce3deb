// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cmath>

#include "spanto/sphere.h"

using spanto::point;
using spanto::sphere;

TEST(Sphere, SignedDistanceFromTheSurface) {
    const sphere s(point(1, 2, 3), 2.0);
    EXPECT_DOUBLE_EQ(s.sdistance(point(1, 2, 8)), 3.0);
    EXPECT_DOUBLE_EQ(s.sdistance(point(1, 2, 3)), -2.0);
    EXPECT_DOUBLE_EQ(s.sdistance(point(2, 2, 3)), -1.0);
    EXPECT_DOUBLE_EQ(s.distance(point(2, 2, 3)), 1.0);
    EXPECT_DOUBLE_EQ(s.distance(point(3, 4, 4)), 1.0);
}

TEST(Sphere, RadiusMustBeANonNegativeNumber) {
    EXPECT_TRUE(sphere(point(1, 2, 3), 0.0).valid());
    EXPECT_TRUE(sphere(point(1, 2, 3), -1.0).invalid());
    EXPECT_TRUE(sphere(point(1, 2, 3), spanto::nan).invalid());
    EXPECT_TRUE(sphere(point(), 1.0).invalid());
}
