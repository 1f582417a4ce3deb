// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/near.h"
#include "spanto/line.h"

using spanto::line;
using spanto::point;
using spanto::vector;
using spanto_test::near;
using spanto_test::pi;

TEST(Line, ConstructorsNormaliseTheDirection) {
    const line ab(point(1, 1, 1), point(1, 1, 4));
    EXPECT_TRUE(near(ab.origin, point(1, 1, 1)));
    EXPECT_TRUE(near(ab.direction, vector(0, 0, 1)));
    const line pd(point(2, 0, 0), vector(0, 0, -3));
    EXPECT_TRUE(near(pd.direction, vector(0, 0, -1)));
}

TEST(Line, DegenerateInputGivesInvalidLine) {
    EXPECT_TRUE(line(point(1, 2, 3), point(1, 2, 3)).invalid());
    EXPECT_TRUE(line(point(), point(1, 2, 3)).invalid());
    EXPECT_TRUE(line(point(1, 2, 3), point()).invalid());
    EXPECT_TRUE(line(point(1, 2, 3), vector(0, 0, 0)).invalid());
    EXPECT_TRUE(line(point(1, 2, 3), vector(INFINITY, 0, 0)).invalid());
    EXPECT_TRUE(line(point(1, 2, 3), vector(spanto::nan, 0, 1)).invalid());
    EXPECT_TRUE(line(point(), vector(0, 0, 1)).invalid());
}

TEST(Line, DistanceAndNearestPoint) {
    const line l(point(1, 1, 1), vector(0, 0, 7));
    EXPECT_DOUBLE_EQ(l.distance(point(4, 5, 0)), 5.0);
    EXPECT_TRUE(near(l.nearest(point(4, 5, 0)), point(1, 1, 0)));
    // Oblique line through the origin along (1,1,0): (2,0,3) projects to (1,1,0).
    const line d(point(0, 0, 0), point(2, 2, 0));
    EXPECT_DOUBLE_EQ(d.distance(point(2, 0, 3)), std::sqrt(11.0));
    EXPECT_TRUE(near(d.nearest(point(2, 0, 3)), point(1, 1, 0)));
}

TEST(Line, AngleRangesFromZeroToPi) {
    const line x(point(0, 0, 0), vector(1, 0, 0));
    EXPECT_DOUBLE_EQ(x.angle(line(point(5, 5, 5), vector(3, 0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(x.angle(line(point(0, 0, 0), vector(0, 2, 0))), pi / 2);
    EXPECT_DOUBLE_EQ(x.angle(line(point(0, 0, 0), vector(-1, 0, 0))), pi);
    EXPECT_DOUBLE_EQ(x.angle(line(point(0, 0, 0), vector(1, 1, 0))), pi / 4);
    EXPECT_DOUBLE_EQ(x.angle(line(point(0, 0, 0), vector(-1, 1, 0))), 3 * pi / 4);
}

TEST(Line, AngleStaysAccurateForNearlyParallelLines) {
    // The dot product rounds to exactly 1 here, so an arc cosine would give 0.
    const line x(point(0, 0, 0), vector(1, 0, 0));
    EXPECT_NEAR(x.angle(line(point(0, 0, 0), vector(1, 1e-9, 0))), 1e-9, 1e-22);
    EXPECT_NEAR(x.angle(line(point(0, 0, 0), vector(-1, 1e-9, 0))), pi - 1e-9, 1e-15);
}

TEST(Lineseg, EndsAndLength) {
    const spanto::lineseg s(point(1, 1, 1), point(4, 5, 1));
    EXPECT_TRUE(near(s.start(), point(1, 1, 1)));
    EXPECT_TRUE(near(s.end(), point(4, 5, 1)));
    EXPECT_DOUBLE_EQ(s.length(), 5.0);
    EXPECT_TRUE(spanto::lineseg(point(), point(1, 1, 1)).invalid());
    EXPECT_TRUE(spanto::lineseg(point(1, 1, 1), point()).invalid());
}
