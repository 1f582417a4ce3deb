// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "geometry/near.h"
#include "spanto/text.h"

using spanto::point;
using spanto::toa;
using spanto::vector;

TEST(Text, PointAndVectorWithThreeDecimals) {
    EXPECT_EQ(toa(point(1, 2, 3)), "point(1.000,2.000,3.000)");
    EXPECT_EQ(toa(vector(-0.5, 2.0 / 3.0, 1e-4)), "vector(-0.500,0.667,0.000)");
    EXPECT_EQ(toa(point(1e20, -12.3456, 0)), "point(100000000000000000000.000,-12.346,0.000)");
}

TEST(Text, LargestNumbersAreNotCut) {
    // -DBL_MAX has 309 integer digits: a sign, the digits and ".000" are 314 characters.
    const std::string s = toa(point(-DBL_MAX, -DBL_MAX, -DBL_MAX));
    EXPECT_EQ(s.size(), 6u + 3u * 314u + 2u + 1u);
    EXPECT_EQ(s.substr(0, 16), "point(-179769313");
    EXPECT_EQ(s.substr(s.size() - 5), ".000)");
}

TEST(Text, CompoundElements) {
    EXPECT_EQ(toa(spanto::line(point(1, 2, 3), vector(0, 0, 2))),
              "line(point(1.000,2.000,3.000),vector(0.000,0.000,1.000))");
    EXPECT_EQ(toa(spanto::plane(point(1, 2, 3), vector(0, -4, 0))),
              "plane(point(1.000,2.000,3.000),vector(0.000,-1.000,0.000))");
    EXPECT_EQ(toa(spanto::circle(point(0, 0, 0), vector(0, 3, 0), 5.0)),
              "circle(point(0.000,0.000,0.000),vector(0.000,1.000,0.000),5.000)");
    EXPECT_EQ(toa(spanto::sphere(point(1, 1, 1), 5.0)), "sphere(point(1.000,1.000,1.000),5.000)");
    EXPECT_EQ(toa(spanto::cylinder(point(0, 0, 1), vector(2, 0, 0), 5.0)),
              "cylinder(point(0.000,0.000,1.000),vector(1.000,0.000,0.000),5.000)");
    EXPECT_EQ(toa(spanto::cone(point(0, 0, 0), 1.0, point(0, 0, 2), 2.0)),
              "cone(point(0.000,0.000,0.000),1.000,point(0.000,0.000,2.000),2.000)");
    EXPECT_EQ(
        toa(spanto::arc(point(0, 0, 0), vector(0, 0, 1), point(1, 0, 0), spanto_test::pi / 2)),
        "arc(point(0.000,0.000,0.000),vector(0.000,0.000,1.000),point(1.000,0.000,0.000),"
        "1.571)");
}
