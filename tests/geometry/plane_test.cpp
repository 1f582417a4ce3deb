// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/near.h"
#include "spanto/plane.h"

using spanto::plane;
using spanto::point;
using spanto::vector;
using spanto_test::near;

TEST(Plane, ConstructorNormalisesAndRejectsDegenerateInput) {
    EXPECT_TRUE(near(plane(point(0, 0, 1), vector(0, 0, 2)).normal, vector(0, 0, 1)));
    EXPECT_TRUE(plane(point(0, 0, 1), vector(0, 0, 0)).invalid());
    EXPECT_TRUE(plane(point(0, 0, 1), vector(0, INFINITY, 0)).invalid());
    EXPECT_TRUE(plane(point(), vector(0, 0, 1)).invalid());
}

TEST(Plane, SignedDistanceIsPositiveOnTheNormalSide) {
    const plane p(point(0, 0, 1), vector(0, 0, 2));
    EXPECT_DOUBLE_EQ(p.sdistance(point(3, 4, 5)), 4.0);
    EXPECT_DOUBLE_EQ(p.sdistance(point(3, 4, -1)), -2.0);
    EXPECT_DOUBLE_EQ(p.distance(point(3, 4, -1)), 2.0);
    // Tilted: offset (2,2,7) along (1,1,0)/sqrt(2).
    const plane t(point(1, 0, 0), vector(1, 1, 0));
    EXPECT_DOUBLE_EQ(t.sdistance(point(3, 2, 7)), 2.0 * std::sqrt(2.0));
    const plane flipped(point(1, 0, 0), vector(-1, -1, 0));
    EXPECT_DOUBLE_EQ(flipped.sdistance(point(3, 2, 7)), -2.0 * std::sqrt(2.0));
}
