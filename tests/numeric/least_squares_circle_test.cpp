// SPDX-License-Identifier: Apache-2.0
#include "numeric/least_squares_circle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace vantor {
namespace detail {
namespace {

double sum_of_squares(const std::vector<point2>& points, const circle2& c) {
    double s = 0.0;
    for (const point2& p : points) {
        const double e = std::hypot(p.x - c.centre.x, p.y - c.centre.y) - c.radius;
        s += e * e;
    }
    return s;
}

// One NIST Circle2d case: the points projected onto the two coordinates that vary, and the
// reference circle in the same coordinates.
struct nist_case {
    std::vector<point2> points;
    circle2 reference;
};

nist_case read_nist(const std::string& stem) {
    const std::string base = std::string(VANTOR_TEST_DATA) + "/nist-circle2d/" + stem;
    std::ifstream ds(base + ".ds");
    std::ifstream fit(base + ".fit");
    EXPECT_TRUE(ds && fit) << base;
    std::size_t count = 0;
    ds >> count;
    std::vector<std::array<double, 3>> xyz(count);
    for (auto& p : xyz) ds >> p[0] >> p[1] >> p[2];
    EXPECT_TRUE(ds) << base << ".ds is short";
    std::array<double, 3> centre{}, normal{};
    double diameter = 0.0;
    fit >> centre[0] >> centre[1] >> centre[2] >> normal[0] >> normal[1] >> normal[2] >> diameter;
    EXPECT_TRUE(fit) << base << ".fit is short";

    // The constant coordinate must be the one along the reference normal.
    int fixed = 0;
    for (int k = 1; k < 3; ++k)
        if (std::abs(normal[k]) > std::abs(normal[fixed])) fixed = k;
    for (const auto& p : xyz) EXPECT_EQ(p[fixed], xyz[0][fixed]) << base;
    const int a = fixed == 0 ? 1 : 0;
    const int b = fixed == 2 ? 1 : 2;

    nist_case c;
    for (const auto& p : xyz) c.points.push_back({p[a], p[b]});
    c.reference = {{centre[a], centre[b]}, 0.5 * diameter};
    return c;
}

circle2 centroid_start(const std::vector<point2>& points) {
    point2 m{0.0, 0.0};
    for (const point2& p : points) m = m + p;
    m = (1.0 / static_cast<double>(points.size())) * m;
    double r = 0.0;
    for (const point2& p : points) r += distance(p, m);
    return {m, r / static_cast<double>(points.size())};
}

circle2 three_point_start(const std::vector<point2>& points) {
    const point2 a = points.front();
    const point2 b = points[points.size() / 2];
    const point2 c = points.back();
    const std::optional<point2> centre = circumcentre(a, b, c);
    EXPECT_TRUE(centre.has_value());
    return {*centre, distance(a, *centre)};
}

TEST(LeastSquaresCircle, MatchesAllNistCircle2dReferences) {
    double worst = 0.0;
    std::string worst_case;
    for (int k = 1; k <= 30; ++k) {
        const std::string stem = "cir2d" + std::to_string(k);
        const nist_case c = read_nist(stem);
        ASSERT_GE(c.points.size(), 3u) << stem;
        for (const circle2& start : {centroid_start(c.points), three_point_start(c.points)}) {
            const circle2 fit = least_squares_circle(c.points, start);
            const double deviation = std::max({std::abs(fit.centre.x - c.reference.centre.x),
                                               std::abs(fit.centre.y - c.reference.centre.y),
                                               std::abs(fit.radius - c.reference.radius)});
            EXPECT_LE(deviation, 1e-8) << stem;
            if (deviation > worst) {
                worst = deviation;
                worst_case = stem;
            }
        }
    }
    std::cout << "worst NIST Circle2d deviation: " << worst << " (" << worst_case << ")\n";
}

// Eight points at 45 degree steps, alternately R + e and R - e from a centre far from the
// origin: the set is symmetric under quarter turns about that centre, so the fit is centred
// there, and at that centre the residuals sum to zero only for radius R.
TEST(LeastSquaresCircle, SymmetricSetFarFromOriginWithSmallRadius) {
    const point2 centre{1000.3, -999.7};
    const double radius = 0.4;
    const double e = 0.01;
    std::vector<point2> points;
    for (int k = 0; k < 8; ++k) {
        const double angle = 0.25 * pi * k + 0.1;
        const double r = radius + (k % 2 == 0 ? e : -e);
        points.push_back({centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)});
    }
    const circle2 fit = least_squares_circle(points, {{1000.0, -1000.0}, 0.2});
    EXPECT_NEAR(fit.centre.x, centre.x, 1e-12);
    EXPECT_NEAR(fit.centre.y, centre.y, 1e-12);
    EXPECT_NEAR(fit.radius, radius, 1e-12);
}

TEST(LeastSquaresCircle, ThreePointsGiveTheirCircumcircle) {
    // (0, 5), (3, -4) and (-5, 0) lie on the circle of radius 5 about the origin; shifted.
    const point2 shift{-700.0, 321.5};
    const std::vector<point2> points{{0.0 + shift.x, 5.0 + shift.y},
                                     {3.0 + shift.x, -4.0 + shift.y},
                                     {-5.0 + shift.x, 0.0 + shift.y}};
    const circle2 fit = least_squares_circle(points, {{shift.x + 1.0, shift.y - 2.0}, 3.0});
    EXPECT_NEAR(fit.centre.x, shift.x, 1e-11);
    EXPECT_NEAR(fit.centre.y, shift.y, 1e-11);
    EXPECT_NEAR(fit.radius, 5.0, 1e-11);
    EXPECT_LT(sum_of_squares(points, fit), 1e-20);
}

// A short noisy arc: no closed form, so check stationarity (the mean residual and the
// residual-weighted mean direction vanish) and that no nearby circle does better.
TEST(LeastSquaresCircle, NoisyShortArcIsStationaryAndLocallyBest) {
    std::mt19937_64 rng(7);
    std::normal_distribution<double> noise(0.0, 1e-3);
    const point2 centre{12.0, -40.0};
    std::vector<point2> points;
    for (int k = 0; k < 40; ++k) {
        const double angle = 0.3 + 1.4 * k / 39.0;  // 80 degrees
        const double r = 2.5 + noise(rng);
        points.push_back({centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)});
    }
    const circle2 fit = least_squares_circle(points, centroid_start(points));
    double mean_residual = 0.0;
    point2 weighted{0.0, 0.0};
    for (const point2& p : points) {
        const point2 d = p - fit.centre;
        const double dist = norm(d);
        mean_residual += dist - fit.radius;
        weighted = weighted + ((dist - fit.radius) / dist) * d;
    }
    EXPECT_NEAR(mean_residual, 0.0, 1e-12);
    EXPECT_NEAR(weighted.x, 0.0, 1e-12);
    EXPECT_NEAR(weighted.y, 0.0, 1e-12);
    const double best = sum_of_squares(points, fit);
    for (double dx : {-1e-6, 0.0, 1e-6})
        for (double dy : {-1e-6, 0.0, 1e-6})
            for (double dr : {-1e-6, 0.0, 1e-6})
                EXPECT_GE(sum_of_squares(points,
                                         {{fit.centre.x + dx, fit.centre.y + dy}, fit.radius + dr}),
                          best);
}

TEST(LeastSquaresCircle, CollinearPointsTerminateNoWorseThanStart) {
    std::vector<point2> points;
    for (int k = 0; k < 10; ++k) points.push_back({1000.0 + k, 500.0 + 2.0 * k});
    const circle2 start{{1010.0, 490.0}, 12.0};
    const circle2 fit = least_squares_circle(points, start);
    EXPECT_LE(sum_of_squares(points, fit), sum_of_squares(points, start));
    EXPECT_TRUE(std::isfinite(fit.radius));
}

TEST(LeastSquaresCircle, EmptySetReturnsStart) {
    const circle2 start{{1.0, 2.0}, 3.0};
    const circle2 fit = least_squares_circle({}, start);
    EXPECT_EQ(fit.centre.x, 1.0);
    EXPECT_EQ(fit.centre.y, 2.0);
    EXPECT_EQ(fit.radius, 3.0);
}

}  // namespace
}  // namespace detail
}  // namespace vantor
