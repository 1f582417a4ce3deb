// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include "form/formatted.h"
#include "support/capture.h"
#include "vantor/feature.h"

namespace vantor {
namespace {

using testing::formatted;
using testing::printed;

// Radius 5 about the z axis.
const spanto::circle ring(spanto::point(0, 0, 0), spanto::vector(0, 0, 1), 5.0);

// Two points at distances 4.9 and 5.2 from the z axis, at different heights.
const spanto::point radial[] = {{4.9, 0, 1}, {0, -5.2, -3}};

TEST(Roundness, RadialDeviationsFromACircle) {
    const actual points(radial, 2, 2);
    roundness r;
    std::string out = printed(4, [&] { EXPECT_TRUE(r.compute(points, ring)); });
    EXPECT_NEAR(r.value(), 0.3, 1e-12);
    EXPECT_EQ(r.datum().radius, 5.0);
    EXPECT_EQ(r.minvalue(), 0.0);  // not stored by this evaluation
    EXPECT_EQ(r.maxvalue(), 0.0);
    EXPECT_EQ(out, "+roundness::compute\n" +
                       formatted(" roundness::compute: actual=%p, #=2\n",
                                 static_cast<const void*>(&points)) +
                       " roundness::compute: circle=circle(point(0.000,0.000,0.000),"
                       "vector(0.000,0.000,1.000),5.000)\n"
                       "-roundness::compute: result = 0.300 (0.100..-0.200)\n");

    // Moving a point along the axis changes nothing.
    const spanto::point moved[] = {{4.9, 0, 40}, {0, -5.2, -3}};
    EXPECT_NEAR(roundness(actual(moved, 2, 2), ring).value(), 0.3, 1e-12);
}

TEST(Roundness, DistancesFromAnAxisLine) {
    const actual points(radial, 2, 2);
    roundness r(points, ring);
    const spanto::line axis = ring.axisline();
    const std::string out = printed(4, [&] { EXPECT_TRUE(r.compute(points, axis)); });
    EXPECT_NEAR(r.value(), 0.3, 1e-12);
    EXPECT_DOUBLE_EQ(r.minvalue(), 4.9);
    EXPECT_DOUBLE_EQ(r.maxvalue(), 5.2);
    EXPECT_EQ(r.datum().radius, 5.0);  // the line form leaves the datum alone
    EXPECT_EQ(out, "+roundness::compute\n" +
                       formatted(" roundness::compute: actual=%p, #=2\n",
                                 static_cast<const void*>(&points)) +
                       formatted(" roundness::compute: &=%p, line( point(0.000,0.000,0.000), "
                                 "vector(0.000,0.000,1.000) )\n",
                                 static_cast<const void*>(&axis)) +
                       "-roundness::compute: result = 0.300 (4.900..5.200)\n");
}

TEST(Roundness, OnePointGivesZero) {
    const actual one(radial, 1, 1);
    EXPECT_EQ(roundness(one, ring).value(), 0.0);
    const roundness about_line(one, ring.axisline());
    EXPECT_EQ(about_line.value(), 0.0);
    EXPECT_DOUBLE_EQ(about_line.minvalue(), 4.9);
}

TEST(Roundness, FailedEvaluationAgainstACircleLeavesAnInvalidDatum) {
    roundness r(actual(radial, 2, 2), ring);
    r.compute(actual(radial, 2, 2), ring.axisline());
    const actual empty(3);
    std::string out = printed(1, [&] { EXPECT_FALSE(r.compute(empty, ring)); });
    EXPECT_EQ(out, "*roundness::compute: no valid points (k=-1)\n");
    EXPECT_TRUE(r.invalid());
    EXPECT_TRUE(r.datum().invalid());
    EXPECT_DOUBLE_EQ(r.minvalue(), 4.9);

    out = printed(1, [&] { EXPECT_FALSE(r.compute(empty, ring.axisline())); });
    EXPECT_EQ(out, "*roundness::compute: no valid points (k=-1)\n");
    EXPECT_DOUBLE_EQ(r.maxvalue(), 5.2);
}

TEST(Roundness, OwnDatumAsTheCircleArgument) {
    roundness r(actual(radial, 2, 2), ring);
    const spanto::point wider[] = {{5.0, 0, 0}, {0, 5.5, 0}};
    EXPECT_TRUE(r.compute(actual(wider, 2, 2), r.datum()));
    EXPECT_NEAR(r.value(), 0.5, 1e-12);
    EXPECT_EQ(r.datum().radius, 5.0);
}

}  // namespace
}  // namespace vantor
