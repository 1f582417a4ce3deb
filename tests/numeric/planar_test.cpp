// SPDX-License-Identifier: Apache-2.0
#include "numeric/planar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace vantor {
namespace detail {
namespace {

TEST(LargestAngularGap, FindsTheGapAndItsEnds) {
    const point2 c{1000.0, -1000.0};
    // Directions 0, 90 and 200 degrees: gaps 90, 110 and 160 degrees; the largest runs from the
    // point at 200 degrees (index 2) to the one at 0 degrees (index 0).
    const auto at = [c](double degrees) {
        const double a = degrees * pi / 180.0;
        return point2{c.x + 2.0 * std::cos(a), c.y + 2.0 * std::sin(a)};
    };
    const std::vector<point2> points{at(0.0), at(90.0), at(200.0)};
    const angular_gap gap = largest_angular_gap(points, c);
    EXPECT_NEAR(gap.angle, 160.0 * pi / 180.0, 1e-12);
    EXPECT_EQ(gap.before, 2u);
    EXPECT_EQ(gap.after, 0u);
    EXPECT_LT(gap.angle, pi);  // surrounds the centre

    // All within 100 degrees: not a closed profile.
    const angular_gap open = largest_angular_gap({at(10.0), at(60.0), at(110.0)}, c);
    EXPECT_NEAR(open.angle, 260.0 * pi / 180.0, 1e-12);
    EXPECT_EQ(open.before, 2u);
    EXPECT_EQ(open.after, 0u);
}

TEST(LargestAngularGap, DegenerateSets) {
    const point2 c{0.0, 0.0};
    const angular_gap none = largest_angular_gap({}, c);
    EXPECT_EQ(none.angle, 2.0 * pi);
    EXPECT_EQ(none.before, 0u);
    // A point on the centre has no direction; the other is alone.
    const angular_gap one = largest_angular_gap({{0.0, 0.0}, {1.0, 1.0}}, c);
    EXPECT_EQ(one.angle, 2.0 * pi);
    EXPECT_EQ(one.before, 1u);
    EXPECT_EQ(one.after, 1u);
    // A diametral pair: exactly pi, a closed half plane.
    const angular_gap pair = largest_angular_gap({{-1.0, 0.0}, {1.0, 0.0}}, c);
    EXPECT_NEAR(pair.angle, pi, 1e-15);
}

TEST(Circumcentre, ByHandAndCollinear) {
    // (0,5), (3,-4) and (-5,0) lie on the circle of radius 5 about the origin; shifted far out.
    const point2 s{-700.0, 321.5};
    const std::optional<point2> c =
        circumcentre({s.x, s.y + 5.0}, {s.x + 3.0, s.y - 4.0}, {s.x - 5.0, s.y});
    ASSERT_TRUE(c.has_value());
    EXPECT_NEAR(c->x, s.x, 1e-12);
    EXPECT_NEAR(c->y, s.y, 1e-12);
    EXPECT_FALSE(circumcentre({0.0, 0.0}, {1.0, 1.0}, {3.0, 3.0}).has_value());
    EXPECT_FALSE(circumcentre({0.0, 0.0}, {0.0, 0.0}, {3.0, 1.0}).has_value());
}

TEST(Planar, SurroundedAgreesWithTheLargestGap) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> angle(-pi, pi);
    const point2 c{1.0, -2.0};
    for (int trial = 0; trial < 400; ++trial) {
        // Points on an arc of random width (some wider than a half circle, some narrower),
        // at random distances, in random numbers up to twice the sector count.
        const double from = angle(rng);
        const double width = 2.0 * pi * (trial % 40) / 39.0;
        const int n = 1 + static_cast<int>(rng() % 9000);
        std::vector<point2> points;
        for (int i = 0; i < n; ++i) {
            const double a = from + width * std::uniform_real_distribution<double>(0, 1)(rng);
            const double r = 0.5 + (rng() % 100) / 10.0;
            points.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
        }
        EXPECT_EQ(surrounded(points, c), largest_angular_gap(points, c).angle < pi)
            << "trial " << trial;
    }
    EXPECT_FALSE(surrounded({}, c));
    EXPECT_FALSE(surrounded({c}, c));
    // Exactly opposite directions leave a gap of exactly pi on either side: not surrounded.
    EXPECT_FALSE(surrounded({{c.x + 1, c.y}, {c.x - 1, c.y}}, c));
    EXPECT_TRUE(surrounded({{c.x + 1, c.y}, {c.x - 1, c.y + 0.01}, {c.x - 1, c.y - 0.01}}, c));
}

}  // namespace
}  // namespace detail
}  // namespace vantor
