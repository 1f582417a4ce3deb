// SPDX-License-Identifier: Apache-2.0
#include "numeric/scatter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace vantor {
namespace detail {
namespace {

// Points of a thin slab (spread 1e-4 across, 10 along) a million units from the origin, over
// several blocks: the centred scatter keeps the digits that raw second moments would lose.
TEST(Scatter, MatchesAnExtendedPrecisionTwoPassSumFarFromTheOrigin) {
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> along(-5.0, 5.0), across(-1e-4, 1e-4);
    std::vector<point3> points;
    for (int i = 0; i < 2000; ++i)
        points.push_back({1e6 + along(rng), -2e6 + along(rng), 3e6 + across(rng)});
    long double mean[3] = {0, 0, 0};
    for (const point3& p : points) {
        mean[0] += p.x;
        mean[1] += p.y;
        mean[2] += p.z;
    }
    for (long double& m : mean) m /= points.size();
    long double zz = 0, xz = 0;
    for (const point3& p : points) {
        zz += (p.z - mean[2]) * (p.z - mean[2]);
        xz += (p.x - mean[0]) * (p.z - mean[2]);
    }
    const scatter3 s = scatter_of(points.data(), points.data() + points.size());
    EXPECT_EQ(s.count, points.size());
    EXPECT_NEAR(s.centroid.z, static_cast<double>(mean[2]), 1e-9);
    EXPECT_NEAR(s.matrix[2][2] / static_cast<double>(zz), 1.0, 1e-9);
    EXPECT_NEAR(s.matrix[0][2], static_cast<double>(xz), 1e-9 * std::sqrt(double(zz)));

    const principal_axes axes = principal_axes_of(s);
    EXPECT_NEAR(std::abs(axes.axis[0].z), 1.0, 1e-9);
    EXPECT_FALSE(negligible_spread(s, axes, 0));
}

TEST(Scatter, LeavesOutPointsWithANanCoordinateAndFlagsInfiniteOnes) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<point3> points{{1, 0, 0}, {nan, 5, 5}, {3, 0, 0}, {2, nan, 0}, {2, 0, nan}};
    const scatter3 s = scatter_of(points.data(), points.data() + points.size());
    EXPECT_EQ(s.count, 2u);
    EXPECT_EQ(s.centroid.x, 2.0);
    EXPECT_EQ(s.matrix[0][0], 2.0);
    EXPECT_TRUE(s.finite());
    const std::vector<point3> far{{1, 0, 0}, {std::numeric_limits<double>::infinity(), 0, 0}};
    EXPECT_FALSE(scatter_of(far.data(), far.data() + 2).finite());
}

// Rows with NaN anywhere, across block boundaries, change no bit of the scatter of the rest:
// the fits and the form functions see the same numbers with and without them.
TEST(Scatter, RowsWithNanChangeNoBitOfTheValidRowsScatter) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (const std::size_t count : {1, 2, 3, 511, 512, 513, 1500}) {
        std::vector<point3> valid(count);
        for (point3& p : valid) p = {1e4 + u(rng), 2e4 + u(rng), 0.01 * u(rng)};
        for (const std::size_t every : {1, 2, 7, 300}) {
            std::vector<point3> holed;
            for (std::size_t i = 0; i < count; ++i) {
                if (i % every == 0) holed.push_back({nan, 0.0, 0.0});
                holed.push_back(valid[i]);
            }
            const scatter3 a = scatter_of(valid.data(), valid.data() + valid.size());
            const scatter3 b = scatter_of(holed.data(), holed.data() + holed.size());
            EXPECT_EQ(b.count, a.count);
            EXPECT_EQ(b.centroid.x, a.centroid.x) << count << " every " << every;
            EXPECT_EQ(b.centroid.z, a.centroid.z) << count << " every " << every;
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j)
                    EXPECT_EQ(b.matrix[i][j], a.matrix[i][j]) << count << " every " << every;
        }
    }
}

TEST(Scatter, SpreadOfCollinearPointsIsNegligible) {
    std::vector<point3> points;
    for (int i = 0; i < 100; ++i) points.push_back({1000 + 0.1 * i, 2000 - 0.3 * i, 0.7 * i});
    const scatter3 s = scatter_of(points.data(), points.data() + points.size());
    const principal_axes axes = principal_axes_of(s);
    EXPECT_TRUE(negligible_spread(s, axes, 0));
    EXPECT_TRUE(negligible_spread(s, axes, 1));
    EXPECT_FALSE(negligible_spread(s, axes, 2));
}

}  // namespace
}  // namespace detail
}  // namespace vantor
