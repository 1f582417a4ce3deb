// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/near.h"
#include "spanto/point.h"

using spanto::point;
using spanto::vector;
using spanto_test::near;

TEST(Vector, UnitScalesToLengthOneAndRejectsZeroAndInfinite) {
    EXPECT_TRUE(near(vector(0, -3, 4).unit(), vector(0, -0.6, 0.8)));
    EXPECT_TRUE(vector(0, 0, 0).unit().invalid());
    EXPECT_TRUE(vector(INFINITY, 0, 0).unit().invalid());
    EXPECT_TRUE(vector().unit().invalid());
}

TEST(Vector, OrthogonalCrossesWithAxisOfSmallestComponent) {
    const double r13 = std::sqrt(13.0);
    // Smallest |x|: v ^ (1,0,0).
    EXPECT_TRUE(near(vector(1, 2, 3).orthogonal(), vector(0, 3 / r13, -2 / r13)));
    // Smallest |y|: v ^ (0,1,0).
    EXPECT_TRUE(near(vector(3, 1, 2).orthogonal(), vector(-2 / r13, 0, 3 / r13)));
    // Smallest |z|, negative components: v ^ (0,0,1).
    EXPECT_TRUE(near(vector(-3, 2, -1).orthogonal(), vector(2 / r13, 3 / r13, 0)));
}

TEST(Vector, OrthogonalTiesPreferXThenY) {
    const double r26 = std::sqrt(26.0), r53 = std::sqrt(53.0);
    EXPECT_TRUE(near(vector(1, 1, 5).orthogonal(), vector(0, 5 / r26, -1 / r26)));    // x = y
    EXPECT_TRUE(near(vector(5, -1, 1).orthogonal(), vector(-1 / r26, 0, 5 / r26)));   // y = z
    EXPECT_TRUE(near(vector(2, 7, -2).orthogonal(), vector(0, -2 / r53, -7 / r53)));  // x = z
    EXPECT_TRUE(near(vector(0, 0, 1).orthogonal(), vector(0, 1, 0)));                 // x = y = 0
}

TEST(Vector, OrthogonalOfZeroVectorIsInvalid) {
    EXPECT_TRUE(vector(0, 0, 0).orthogonal().invalid());
}

TEST(Point, DistanceAndSignedDistanceAlongDirection) {
    const point p(1, 1, 1);
    EXPECT_DOUBLE_EQ(p.distance(point(4, 5, 1)), 5.0);
    // Component of (4,4,-3) along (0,0,1); the direction need not be of unit length.
    EXPECT_DOUBLE_EQ(p.sdistance(vector(0, 0, 2), point(5, 5, -2)), -3.0);
    EXPECT_DOUBLE_EQ(p.sdistance(vector(3, 4, 0), point(4, 5, 9)), 5.0);
}

TEST(Point, ValidityFollowsNaNOnly) {
    EXPECT_TRUE(point().invalid());
    EXPECT_TRUE(point(1, spanto::nan, 3).invalid());
    EXPECT_TRUE(point(INFINITY, 0, 0).valid());
    point p(1, 2, 3);
    p.setinvalid();
    EXPECT_TRUE(p.invalid());
}
