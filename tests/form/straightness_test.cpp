// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include "form/formatted.h"
#include "support/capture.h"
#include "vantor/feature.h"

namespace vantor {
namespace {

using testing::formatted;
using testing::printed;

// The z axis.
const spanto::line zaxis(spanto::point(0, 0, 0), spanto::vector(0, 0, 1));

TEST(Straightness, TwiceTheLargestAndSmallestDistanceFromTheLine) {
    const spanto::point pts[] = {{0.1, 0, 1}, {0, -0.3, 2}, {0.2, 0, 5}};
    const actual points(pts, 3, 3);
    straightness s;
    std::string out = printed(4, [&] { EXPECT_TRUE(s.compute(points, zaxis)); });
    EXPECT_DOUBLE_EQ(s.value(), 0.6);
    EXPECT_DOUBLE_EQ(s.maxvalue(), 0.6);
    EXPECT_DOUBLE_EQ(s.minvalue(), 0.2);
    EXPECT_EQ(s.datum().direction.z, 1.0);
    EXPECT_EQ(out, "+straightness::compute\n" +
                       formatted(" straightness::compute: actual=%p, #=3\n",
                                 static_cast<const void*>(&points)) +
                       formatted(" straightness::compute: &=%p=line(point(0.000,0.000,0.000),"
                                 "vector(0.000,0.000,1.000))\n",
                                 static_cast<const void*>(&zaxis)) +
                       "-straightness::compute: result = 0.600 (0.600..0.200)\n");
    // The result line alone at level 2.
    out = printed(2, [&] { s.compute(points, zaxis); });
    EXPECT_EQ(out, "-straightness::compute: result = 0.600 (0.600..0.200)\n");
}

TEST(Straightness, SinglePointAndPointsOnTheLine) {
    const spanto::point one[] = {{0, 0.1, 7}};
    const straightness single(actual(one, 1, 1), zaxis);
    EXPECT_DOUBLE_EQ(single.value(), 0.2);
    EXPECT_DOUBLE_EQ(single.minvalue(), 0.2);
    EXPECT_DOUBLE_EQ(single.maxvalue(), 0.2);

    const spanto::point on[] = {{0, 0, -1}, {0, 0, 3}};
    const straightness exact(actual(on, 2, 2), zaxis);
    EXPECT_TRUE(exact.valid());
    EXPECT_EQ(exact.value(), 0.0);
    EXPECT_EQ(exact.maxvalue(), 0.0);
}

TEST(Straightness, NoPointsKeepsThePreviousDatumAndExtremes) {
    const spanto::point pts[] = {{0.1, 0, 0}, {0.3, 0, 0}};
    straightness s(actual(pts, 2, 2), zaxis);
    const actual empty(4);
    const spanto::line other(spanto::point(1, 1, 1), spanto::vector(1, 0, 0));
    const std::string out = printed(1, [&] { EXPECT_FALSE(s.compute(empty, other)); });
    EXPECT_EQ(out, "*straightness::compute: no valid points (k=-1)\n");
    EXPECT_TRUE(s.invalid());
    EXPECT_EQ(s.datum().direction.z, 1.0);
    EXPECT_DOUBLE_EQ(s.minvalue(), 0.2);
    EXPECT_DOUBLE_EQ(s.maxvalue(), 0.6);
}

TEST(Straightness, WithoutDatumTheZoneLineCannotBeFitted) {
    const spanto::point pts[] = {{0, 0, 0}, {1, 0, 0}, {2, 0.1, 0}};
    const actual points(pts, 3, 3);
    straightness s(0.5);
    const std::string out = printed(5, [&] { EXPECT_FALSE(s.compute(points)); });
    EXPECT_EQ(out, "+straightness::compute\n*straightness::compute: line(zone) failed\n");
    EXPECT_TRUE(s.invalid());
    EXPECT_TRUE(straightness(points).invalid());
}

TEST(Straightness, WithinAPlaneAndAlongADirectionEvaluateNothing) {
    const spanto::point pts[] = {{0.1, 0, 0}, {0.3, 0, 0}};
    const actual points(pts, 2, 2);
    const spanto::plane xy(spanto::point(0, 0, 0), spanto::vector(0, 0, 1));
    straightness s(points, zaxis);
    std::string out = printed(5, [&] { EXPECT_FALSE(s.compute(points, xy)); });
    EXPECT_EQ(out, "");
    EXPECT_DOUBLE_EQ(s.value(), 0.6);

    // Nothing was measured: a caller checking valid() must not accept the part.
    const straightness planar(points, xy);
    EXPECT_TRUE(planar.invalid());
    EXPECT_TRUE(planar.datum().invalid());

    out = printed(5, [&] { EXPECT_FALSE(s.compute(points, spanto::vector(0, 0, 1))); });
    EXPECT_EQ(out, "");
    EXPECT_TRUE(s.invalid());
    EXPECT_TRUE(straightness(points, spanto::vector(1, 0, 0)).invalid());
}

TEST(Straightness, CopiesAreIndependent) {
    const spanto::point pts[] = {{0.1, 0, 0}, {0.3, 0, 0}};
    straightness source(actual(pts, 2, 2), zaxis);
    source.nominal(0.0, 0.5);
    straightness copy(source);
    straightness assigned;
    assigned = source;
    source.setinvalid();
    for (const straightness* s : {&copy, &assigned}) {
        EXPECT_DOUBLE_EQ(s->value(), 0.6);
        EXPECT_DOUBLE_EQ(s->minvalue(), 0.2);
        EXPECT_EQ(s->uppertol(), 0.5);
        EXPECT_EQ(s->datum().direction.z, 1.0);
    }
}

}  // namespace
}  // namespace vantor
