// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/near.h"
#include "spanto/cone.h"
#include "spanto/cylinder.h"

using spanto::cone;
using spanto::point;
using spanto::vector;
using spanto_test::near;

// Radius 1 at z = 0 growing to 3 at z = 2: half angle 45 degrees, apex at z = -1. In the
// meridian plane the generator is rho = z + 1, so the distance of (rho, z) from it is
// |rho - z - 1| / sqrt(2).
class ConeAt45Degrees : public ::testing::Test {
  protected:
    const cone c{point(0, 0, 0), 1.0, point(0, 0, 2), 3.0};
};

TEST_F(ConeAt45Degrees, StoresItsDefiningValues) {
    EXPECT_DOUBLE_EQ(c.slope(), 1.0);
    EXPECT_DOUBLE_EQ(c.radius0(), 1.0);
    EXPECT_DOUBLE_EQ(c.radius1(), 3.0);
    EXPECT_TRUE(near(c.point1(), point(0, 0, 2)));
    EXPECT_TRUE(near(c.rotaxis().origin, point(0, 0, 0)));
    EXPECT_TRUE(near(c.rotaxis().direction, vector(0, 0, 1)));
}

TEST_F(ConeAt45Degrees, SurfacePointsAreAtZero) {
    EXPECT_NEAR(c.sdistance(point(2, 0, 1)), 0.0, 1e-15);
    EXPECT_NEAR(c.sdistance(point(0, -3, 2)), 0.0, 1e-15);
    EXPECT_NEAR(c.sdistance(point(0.6, 0.8, 0)), 0.0, 1e-15);
    // The opposite nappe beyond the apex: radius 2 at z = -3.
    EXPECT_NEAR(c.sdistance(point(0, 2, -3)), 0.0, 1e-15);
}

TEST_F(ConeAt45Degrees, PerpendicularDistanceSignedOutward) {
    EXPECT_DOUBLE_EQ(c.sdistance(point(5, 0, 1)), 3.0 / std::sqrt(2.0));
    EXPECT_DOUBLE_EQ(c.sdistance(point(0, 0, 1)), -std::sqrt(2.0));
    EXPECT_DOUBLE_EQ(c.distance(point(0, 0, 1)), std::sqrt(2.0));
    EXPECT_DOUBLE_EQ(c.sdistance(point(0, 4, -3)), 2.0 / std::sqrt(2.0));
}

TEST(Cone, ShrinkingConeScalesRadialGapByCosineOfHalfAngle) {
    // Radius 3 at z = 0 shrinking to 1 at z = 4: slope -1/2, cos(half angle) = 2 / sqrt(5).
    const cone c(point(0, 0, 0), 3.0, point(0, 0, 4), 1.0);
    EXPECT_DOUBLE_EQ(c.slope(), -0.5);
    EXPECT_DOUBLE_EQ(c.sdistance(point(4, 0, 0)), 2.0 / std::sqrt(5.0));
    EXPECT_DOUBLE_EQ(c.sdistance(point(0, 0, 2)), -4.0 / std::sqrt(5.0));
}

TEST(Cone, EqualRadiiAgreeWithCylinder) {
    const point p0(1, 1, 0);
    const cone c(p0, 2.0, point(3, 3, 0), 2.0);
    const spanto::cylinder y(p0, vector(1, 1, 0), 2.0);
    for (const point& p : {point(0, 2, 3), point(5, -1, 0), point(1, 1, 0), point(-4, 7, 2)}) {
        EXPECT_NEAR(c.sdistance(p), y.sdistance(p), 1e-14) << spanto::toa(p);
    }
}

TEST(Cone, DegenerateInputGivesInvalidCone) {
    EXPECT_TRUE(cone(point(0, 0, 0), 0.0, point(0, 0, 1), 1.0).valid());
    EXPECT_TRUE(cone(point(1, 2, 3), 1.0, point(1, 2, 3), 2.0).invalid());
    EXPECT_TRUE(cone(point(0, 0, 0), -1.0, point(0, 0, 1), 1.0).invalid());
    EXPECT_TRUE(cone(point(0, 0, 0), 1.0, point(0, 0, 1), spanto::nan).invalid());
    EXPECT_TRUE(cone(point(), 1.0, point(0, 0, 1), 1.0).invalid());
    cone c(point(0, 0, 0), 1.0, point(0, 0, 1), 2.0);
    c.setinvalid();
    EXPECT_TRUE(c.invalid());
}

TEST(Conesect, KeepsBaseAndLimits) {
    const cone c(point(0, 0, 0), 1.0, point(0, 0, 2), 3.0);
    const spanto::conesect s(c, 0.5, 1.5);
    ASSERT_TRUE(s.valid());
    EXPECT_DOUBLE_EQ(s.base().radius1(), 3.0);
    EXPECT_DOUBLE_EQ(s.from(), 0.5);
    EXPECT_DOUBLE_EQ(s.to(), 1.5);
    EXPECT_TRUE(spanto::conesect(cone(), 0.0, 1.0).invalid());
    EXPECT_TRUE(spanto::conesect(c, 0.0, spanto::nan).invalid());
}
