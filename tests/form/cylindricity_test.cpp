// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include "form/formatted.h"
#include "support/capture.h"
#include "vantor/feature.h"

namespace vantor {
namespace {

using testing::formatted;
using testing::printed;

// Radius 2 about the z axis.
const spanto::cylinder tube(spanto::point(0, 0, 0), spanto::vector(0, 0, 1), 2.0);

// Distances 0.1 outside, 0.3 inside and 0.05 outside the cylinder.
const spanto::point around[] = {{2.1, 0, 0}, {0, 1.7, 5}, {-2.05, 0, -1}};

TEST(Cylindricity, LargestUnsignedDistanceFromTheCylinder) {
    const actual points(around, 3, 3);
    cylindricity c;
    const std::string out = printed(4, [&] { EXPECT_TRUE(c.compute(points, tube)); });
    EXPECT_NEAR(c.value(), 0.3, 1e-12);
    EXPECT_EQ(c.datum().radius, 2.0);
    EXPECT_EQ(c.minvalue(), 0.0);  // never stored by an evaluation
    EXPECT_EQ(c.maxvalue(), 0.0);
    EXPECT_EQ(out, "+cylindricity::Compute\n" +
                       formatted(" cylindricity::Compute: actual=%p, #=3\n",
                                 static_cast<const void*>(&points)) +
                       formatted(" cylindricity::Compute: &=%p, plane( point(0.000,0.000,0.000), "
                                 "vector(0.000,0.000,1.000) )\n",
                                 static_cast<const void*>(&tube)) +
                       "-cylindricity::Compute: result = 0.300\n");
}

TEST(Cylindricity, OnePointGivesItsDistance) {
    const cylindricity c(actual(around, 1, 1), tube);
    EXPECT_TRUE(c.valid());
    EXPECT_NEAR(c.value(), 0.1, 1e-12);
}

TEST(Cylindricity, NoPointsKeepsThePreviousDatum) {
    cylindricity c(actual(around, 3, 3), tube);
    const spanto::cylinder other(spanto::point(1, 1, 1), spanto::vector(1, 0, 0), 7.0);
    const std::string out = printed(1, [&] { EXPECT_FALSE(c.compute(actual(0), other)); });
    EXPECT_EQ(out, "*cylindricity::Compute: no valid points (k=-1)\n");
    EXPECT_TRUE(c.invalid());
    EXPECT_EQ(c.datum().radius, 2.0);
}

TEST(Cylindricity, WithoutDatumTheCylinderCannotBeFitted) {
    const actual points(around, 3, 3);
    cylindricity c(points, tube);
    const std::string out = printed(5, [&] { EXPECT_FALSE(c.compute(points)); });
    EXPECT_EQ(out, "");
    EXPECT_TRUE(c.invalid());
    EXPECT_TRUE(c.datum().invalid());
    EXPECT_TRUE(cylindricity(points).invalid());
}

}  // namespace
}  // namespace vantor
