// SPDX-License-Identifier: Apache-2.0
// The narrowest strip against an exhaustive reference (every normal across a pair of points) on
// seeded small sets, and its degenerate inputs.
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "numeric/narrowest_strip.h"

namespace vantor {
namespace detail {
namespace {

double extent_along(const std::vector<point2>& p, point2 normal, double& lo, double& hi) {
    lo = HUGE_VAL;
    hi = -HUGE_VAL;
    for (const point2& q : p) {
        lo = std::min(lo, dot(normal, q));
        hi = std::max(hi, dot(normal, q));
    }
    return hi - lo;
}

TEST(NarrowestStrip, MatchesEveryPairNormalOnSmallSets) {
    std::mt19937_64 rng(77);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (int i = 0; i < 400; ++i) {
        const int n = 2 + i % 12;
        const double far = i % 2 ? 1e4 : 0.0, squash = 0.05 + (i % 5) * 0.2;
        std::vector<point2> p;
        for (int k = 0; k < n; ++k) p.push_back({far + u(rng), far + squash * u(rng)});
        if (i % 7 == 0) p.push_back(p.front());  // a repeated point
        double reference = HUGE_VAL, lo = 0.0, hi = 0.0;
        for (std::size_t a = 0; a < p.size(); ++a)
            for (std::size_t b = a + 1; b < p.size(); ++b) {
                const point2 d = p[b] - p[a];
                if (norm(d) == 0.0) continue;
                reference = std::min(reference,
                                     extent_along(p, (1.0 / norm(d)) * point2{-d.y, d.x}, lo, hi));
            }
        const strip2 s = narrowest_strip(p);
        ASSERT_TRUE(s.valid) << i;
        EXPECT_NEAR(norm(s.normal), 1.0, 1e-15) << i;
        const double tol = 1e-12 * (1 + far);
        EXPECT_NEAR(s.high - s.low, reference, tol) << i;
        extent_along(p, s.normal, lo, hi);
        EXPECT_NEAR(lo, s.low, tol) << i;
        EXPECT_NEAR(hi, s.high, tol) << i;
    }
}

TEST(NarrowestStrip, PointsOnALineInARotatedFrameGiveTheNormalAcrossIt) {
    // Rotated, points of one line lie off it by rounding: clusters of hull vertices whose short
    // edges point anywhere.
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (int t = 0; t < 50; ++t) {
        const double c = std::cos(0.3 * t), s = std::sin(0.3 * t);
        std::vector<point2> p;
        for (int i = 0; i < 36; ++i) {
            const double x = 8.0 * (i / 6), y = 1e-14 * u(rng);
            p.push_back({c * x - s * y, s * x + c * y});
        }
        const strip2 r = narrowest_strip(p);
        ASSERT_TRUE(r.valid);
        EXPECT_NEAR(std::abs(r.normal.x * -s + r.normal.y * c), 1.0, 1e-12) << t;
        EXPECT_LT(r.high - r.low, 1e-12) << t;
    }
}

TEST(NarrowestStrip, DegenerateSets) {
    EXPECT_FALSE(narrowest_strip({}).valid);
    EXPECT_FALSE(narrowest_strip({{1, 2}, {1, 2}}).valid);
    // Collinear points: width 0 across their line.
    const strip2 s = narrowest_strip({{0, 0}, {1, 1}, {3, 3}, {2, 2}});
    ASSERT_TRUE(s.valid);
    EXPECT_NEAR(s.high - s.low, 0.0, 1e-15);
    EXPECT_NEAR(std::abs(s.normal.x + s.normal.y), 0.0, 1e-15);
}

}  // namespace
}  // namespace detail
}  // namespace vantor
