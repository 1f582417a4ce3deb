// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/near.h"
#include "spanto/circle.h"

using spanto::arc;
using spanto::circle;
using spanto::point;
using spanto::vector;
using spanto_test::near;
using spanto_test::pi;

TEST(CircleThroughThreePoints, UnitCircleAndNormalOrientation) {
    const circle ccw(point(1, 0, 0), point(0, 1, 0), point(-1, 0, 0));
    ASSERT_TRUE(ccw.valid());
    EXPECT_TRUE(near(ccw.centre, point(0, 0, 0)));
    EXPECT_NEAR(ccw.radius, 1.0, 1e-15);
    EXPECT_TRUE(near(ccw.normal, vector(0, 0, 1)));
    // Clockwise order seen from +z flips the normal.
    const circle cw(point(-1, 0, 0), point(0, 1, 0), point(1, 0, 0));
    EXPECT_TRUE(near(cw.normal, vector(0, 0, -1)));
}

TEST(CircleThroughThreePoints, TiltedPlaneOffOrigin) {
    // Centre (1,2,3), radius 5, in the plane spanned by e1 = (1,0,0) and e2 = (0,0.6,0.8),
    // traversed from e1 towards e2, so the normal is e1 ^ e2 = (0,-0.8,0.6).
    const circle c(point(6, 2, 3), point(1, 5, 7), point(-4, 2, 3));
    ASSERT_TRUE(c.valid());
    EXPECT_TRUE(near(c.centre, point(1, 2, 3)));
    EXPECT_NEAR(c.radius, 5.0, 1e-12);
    EXPECT_TRUE(near(c.normal, vector(0, -0.8, 0.6)));
}

TEST(CircleThroughThreePoints, SmallCircleFarFromOrigin) {
    const double r = 1e-3, c = 1e6;
    const circle k(point(c + r, c, c), point(c, c + r, c), point(c - r, c, c));
    ASSERT_TRUE(k.valid());
    EXPECT_TRUE(near(k.centre, point(c, c, c), 1e-9));
    EXPECT_NEAR(k.radius, r, 1e-9);
}

TEST(CircleThroughThreePoints, CollinearOrCoincidentPointsGiveInvalidCircle) {
    EXPECT_TRUE(circle(point(0, 0, 0), point(1, 1, 1), point(2, 2, 2)).invalid());
    EXPECT_TRUE(circle(point(0, 0, 0), point(0, 0, 0), point(2, 2, 2)).invalid());
    EXPECT_TRUE(circle(point(0, 0, 0), point(1, 0, 0), point()).invalid());
    // |a ^ b| = 1e-15 against 1e-14 * |a| * |b| ~ 2e-14: treated as collinear.
    EXPECT_TRUE(circle(point(0, 0, 0), point(1, 0, 0), point(2, 1e-15, 0)).invalid());
    // |a ^ b| = 1e-12: a (huge) circle.
    EXPECT_TRUE(circle(point(0, 0, 0), point(1, 0, 0), point(2, 1e-12, 0)).valid());
}

TEST(Circle, ConstructorRejectsDegenerateInput) {
    EXPECT_TRUE(near(circle(point(0, 0, 0), vector(0, 3, 0), 5.0).normal, vector(0, 1, 0)));
    EXPECT_TRUE(circle(point(0, 0, 0), vector(0, 0, 0), 5.0).invalid());
    EXPECT_TRUE(circle(point(0, 0, 0), vector(0, 0, 1), -5.0).invalid());
    EXPECT_TRUE(circle(point(0, 0, 0), vector(0, 0, 1), spanto::nan).invalid());
    EXPECT_TRUE(circle(point(), vector(0, 0, 1), 5.0).invalid());
}

TEST(Circle, DistanceFromTheCurveSignedByAxisDistance) {
    const circle c(point(0, 0, 0), vector(0, 0, 1), 5.0);
    // 3 beyond the radius and 4 above the plane: 5 from the curve.
    EXPECT_DOUBLE_EQ(c.distance(point(8, 0, 4)), 5.0);
    EXPECT_DOUBLE_EQ(c.sdistance(point(8, 0, 4)), 5.0);
    EXPECT_DOUBLE_EQ(c.distance(point(0, 2, -4)), 5.0);
    EXPECT_DOUBLE_EQ(c.sdistance(point(0, 2, -4)), -5.0);
    EXPECT_DOUBLE_EQ(c.sdistance(point(0, 0, 0)), -5.0);
    EXPECT_DOUBLE_EQ(c.distance(point(3, 4, 0)), 0.0);
}

TEST(Circle, NearestPoint) {
    const circle c(point(1, 1, 1), vector(0, 0, 1), 5.0);
    EXPECT_TRUE(near(c.nearest(point(9, 1, 5)), point(6, 1, 1)));
    EXPECT_TRUE(near(c.nearest(point(4, 5, 8)), point(4, 5, 1)));
    // On the axis: towards normal.orthogonal() = (0,0,1) ^ (1,0,0) = (0,1,0).
    EXPECT_TRUE(near(c.nearest(point(1, 1, 3)), point(1, 6, 1)));
    EXPECT_TRUE(c.nearest(point()).invalid());
}

TEST(Circle, AxisLineAndSetinvalid) {
    circle c(point(1, 2, 3), vector(0, 2, 0), 1.0);
    const spanto::line a = c.axisline();
    EXPECT_TRUE(near(a.origin, point(1, 2, 3)));
    EXPECT_TRUE(near(a.direction, vector(0, 1, 0)));
    c.setinvalid();
    EXPECT_TRUE(c.invalid());
}

TEST(Arc, RadiusAndEndPoint) {
    const arc a(point(1, 1, 0), vector(0, 0, 2), point(3, 1, 0), pi / 2);
    ASSERT_TRUE(a.valid());
    EXPECT_TRUE(near(a.normal(), vector(0, 0, 1)));
    EXPECT_DOUBLE_EQ(a.radius(), 2.0);
    EXPECT_TRUE(near(a.end(), point(1, 3, 0)));
    // A start point off the plane keeps its height; a negative angle turns clockwise.
    const arc b(point(1, 1, 0), vector(0, 0, 1), point(3, 1, 5), -pi / 2);
    EXPECT_DOUBLE_EQ(b.radius(), 2.0);
    EXPECT_TRUE(near(b.end(), point(1, -1, 5)));
}

TEST(Arc, DegenerateInputGivesInvalidArc) {
    EXPECT_TRUE(arc(point(0, 0, 0), vector(0, 0, 0), point(1, 0, 0), 1.0).invalid());
    EXPECT_TRUE(arc(point(), vector(0, 0, 1), point(1, 0, 0), 1.0).invalid());
    EXPECT_TRUE(arc(point(0, 0, 0), vector(0, 0, 1), point(), 1.0).invalid());
    EXPECT_TRUE(arc(point(0, 0, 0), vector(0, 0, 1), point(1, 0, 0), spanto::nan).invalid());
    EXPECT_TRUE(arc().end().invalid());
}
