// SPDX-License-Identifier: Apache-2.0
#include <vector>

#include <gtest/gtest.h>

#include "form/formatted.h"
#include "support/capture.h"
#include "vantor/feature.h"

namespace vantor {
namespace {

using testing::formatted;
using testing::printed;

const spanto::plane xy(spanto::point(0, 0, 0), spanto::vector(0, 0, 1));

// Points at the given heights above the xy plane, spread over it.
actual heights(const std::vector<double>& z) {
    actual points(static_cast<int>(z.size()));
    for (std::size_t i = 0; i < z.size(); ++i) points.append(3.0 * i, -2.0 * i, z[i]);
    return points;
}

TEST(Flatness, ZoneHoldsThePointsAndTheDatumPlane) {
    struct {
        std::vector<double> z;
        double value, low, high;
    } const cases[] = {
        {{0.1, 0.3}, 0.3, 0.1, 0.3},   {{-0.1, -0.3}, 0.3, -0.3, -0.1},
        {{-0.1, 0.2}, 0.3, -0.1, 0.2}, {{0.0, 0.2}, 0.2, 0.0, 0.2},
        {{0.4}, 0.4, 0.4, 0.4},        {{0.2, 0.2, 0.2}, 0.2, 0.2, 0.2},
    };
    for (const auto& c : cases) {
        const flatness f(heights(c.z), xy);
        EXPECT_DOUBLE_EQ(f.value(), c.value) << c.z.front();
        EXPECT_DOUBLE_EQ(f.minvalue(), c.low) << c.z.front();
        EXPECT_DOUBLE_EQ(f.maxvalue(), c.high) << c.z.front();
        EXPECT_EQ(f.datum().normal.z, 1.0);
    }
}

TEST(Flatness, TraceAgainstAPlane) {
    const actual points = heights({0.1, 0.3});
    flatness f;
    const std::string out = printed(4, [&] { EXPECT_TRUE(f.compute(points, xy)); });
    EXPECT_EQ(out, "+flatness::Compute\n" +
                       formatted(" flatness::Compute: actual=%p, #=2\n",
                                 static_cast<const void*>(&points)) +
                       formatted(" flatness::Compute: &=%p, plane( point(0.000,0.000,0.000), "
                                 "vector(0.000,0.000,1.000) )\n",
                                 static_cast<const void*>(&xy)) +
                       "-flatness::Compute: result = 0.300 (0.300..0.100)\n");
}

TEST(Flatness, DirectionFormCentresTheDatumInTheZone) {
    const actual points = heights({1.0, 1.1, 0.8});
    // The datum moves by true lengths whatever the length or sense of the direction.
    for (const spanto::vector& direction :
         {spanto::vector(0, 0, 1), spanto::vector(0, 0, 2.5), spanto::vector(0, 0, -1)}) {
        const flatness f(points, direction);
        EXPECT_NEAR(f.value(), 0.3, 1e-12);
        EXPECT_NEAR(f.maxvalue(), 0.15, 1e-12);
        EXPECT_NEAR(f.minvalue(), -0.15, 1e-12);
        EXPECT_NEAR(f.datum().origin.z, 0.95, 1e-12);
        EXPECT_EQ(f.datum().origin.x, 0.0);
        EXPECT_NEAR(f.datum().sdistance(spanto::point(0, 0, 1.1)) *
                        f.datum().sdistance(spanto::point(0, 0, 0.8)),
                    -0.15 * 0.15, 1e-12);
    }
}

TEST(Flatness, DirectionFormTrace) {
    const actual points = heights({1.0, 1.1, 0.8});
    flatness f;
    const std::string out =
        printed(4, [&] { EXPECT_TRUE(f.compute(points, spanto::vector(0, 0, 2))); });
    EXPECT_EQ(out, "+flatness::Compute\n" +
                       formatted(" flatness::Compute: actual=%p, #=3\n",
                                 static_cast<const void*>(&points)) +
                       " flatness::Compute: vector(0.000,0.000,2.000)\n"
                       "-flatness::Compute: result = 0.300 (0.150..-0.150)\n");
}

TEST(Flatness, DirectionFormWithOnePoint) {
    const flatness f(heights({0.7}), spanto::vector(0, 0, 1));
    EXPECT_EQ(f.value(), 0.0);
    EXPECT_EQ(f.minvalue(), 0.0);
    EXPECT_EQ(f.maxvalue(), 0.0);
    EXPECT_EQ(f.datum().origin.z, 0.7);
}

TEST(Flatness, NoPointsKeepsThePreviousResult) {
    flatness f(heights({0.1, 0.3}), xy);
    const actual empty(2);
    const spanto::plane other(spanto::point(0, 0, 5), spanto::vector(1, 0, 0));
    std::string out = printed(1, [&] { EXPECT_FALSE(f.compute(empty, other)); });
    EXPECT_EQ(out, "*flatness::Compute: no valid points (k=-1)\n");
    EXPECT_TRUE(f.invalid());
    EXPECT_EQ(f.datum().normal.z, 1.0);
    EXPECT_DOUBLE_EQ(f.minvalue(), 0.1);
    EXPECT_DOUBLE_EQ(f.maxvalue(), 0.3);

    out = printed(1, [&] { EXPECT_FALSE(f.compute(empty, spanto::vector(0, 0, 1))); });
    EXPECT_EQ(out, "*flatness::Compute: no valid points (k=-1)\n");
}

TEST(Flatness, WithoutDatumTheZonePlaneCannotBeFitted) {
    flatness f(heights({0.1, 0.3}), xy);
    const actual points = heights({0.1, 0.2, 0.4});
    const std::string out = printed(5, [&] { EXPECT_FALSE(f.compute(points)); });
    EXPECT_EQ(out, "");
    EXPECT_TRUE(f.invalid());
    EXPECT_TRUE(f.datum().invalid());
    EXPECT_TRUE(flatness(points).invalid());
}

TEST(Flatness, DirectionFormWithoutADirectionFails) {
    const spanto::point pts[] = {{0, 0, 1}, {1, 0, 2}};
    const actual points(pts, 2, 2);
    flatness f(0.5);
    EXPECT_FALSE(f.compute(points, spanto::vector(0, 0, 0)));
    EXPECT_TRUE(f.invalid());
    EXPECT_TRUE(f.datum().invalid());
}

}  // namespace
}  // namespace vantor
