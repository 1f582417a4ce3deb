// SPDX-License-Identifier: Apache-2.0
#include "numeric/inscribed_circle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "numeric/planar_profiles.h"

namespace vantor {
namespace detail {
namespace {

using namespace profiles;

// The largest empty circle through three of the candidates whose contacts surround its centre:
// every strict local maximum of the smallest distance is such a circle, with its contacts among
// the candidates when these are all points or the points nearest to that maximum.
circle2 exhaustive_inscribed(const std::vector<point2>& points,
                             const std::vector<point2>& candidates) {
    circle2 best{{0.0, 0.0}, -1.0};
    const std::size_t n = candidates.size();
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            for (std::size_t k = j + 1; k < n; ++k) {
                const point2 a = candidates[i], b = candidates[j], d = candidates[k];
                const std::optional<point2> c = circumcentre(a, b, d);
                if (!c) continue;
                const double r =
                    std::sqrt((a.x - c->x) * (a.x - c->x) + (a.y - c->y) * (a.y - c->y));
                if (smallest_distance(points, *c) < r - rounding_tolerance(points, r)) continue;
                if (surround_strictly(directions({a, b, d}, *c, 0.0, 2.0 * r), 1e-9) &&
                    r > best.radius)
                    best = {*c, r};
            }
    return best;
}

// The `count` points nearest to `c`.
std::vector<point2> nearest_points(std::vector<point2> points, point2 c, std::size_t count) {
    const auto closer = [c](point2 a, point2 b) { return norm(a - c) < norm(b - c); };
    count = std::min(count, points.size());
    std::partial_sort(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(count),
                      points.end(), closer);
    points.resize(count);
    return points;
}

// No point inside; the contacts (within `tolerance` of the radius) do not all lie in one closed
// half of the circle, so every move of the centre brings one of them closer.
void expect_inscribed_certificate(const std::vector<point2>& points, const circle2& c,
                                  double tolerance) {
    EXPECT_GE(smallest_distance(points, c.centre), c.radius);
    const std::vector<point2> contacts =
        directions(points, c.centre, c.radius - tolerance, c.radius + tolerance);
    EXPECT_TRUE(surround_strictly(contacts, 1e-9)) << contacts.size() << " contacts";
}

TEST(MaximumInscribedCircle, SquareAndAcuteTriangleByHand) {
    const point2 o{1000.0, 1000.0};
    const std::vector<point2> square{{o.x + 0.5, o.y + 0.5},
                                     {o.x - 0.5, o.y + 0.5},
                                     {o.x - 0.5, o.y - 0.5},
                                     {o.x + 0.5, o.y - 0.5}};
    const circle2 s = maximum_inscribed_circle(square, {o.x + 0.3, o.y - 0.1});
    EXPECT_NEAR(s.centre.x, o.x, 1e-12);
    EXPECT_NEAR(s.centre.y, o.y, 1e-12);
    EXPECT_NEAR(s.radius, std::sqrt(0.5), 1e-12);

    // Acute triangle (0,0), (4,0), (2,3): the only local maximum is the circumcentre (2, 5/6).
    const std::vector<point2> triangle{{-300.0, 50.0}, {-296.0, 50.0}, {-298.0, 53.0}};
    const circle2 t = maximum_inscribed_circle(triangle, {-298.5, 50.2});
    EXPECT_NEAR(t.centre.x, -298.0, 1e-12);
    EXPECT_NEAR(t.centre.y, 50.0 + 5.0 / 6.0, 1e-12);
    EXPECT_NEAR(t.radius, 13.0 / 6.0, 1e-12);
}

TEST(MaximumInscribedCircle, UnboundedOrDegenerateInputsReturnNoWorseThanStart) {
    // Obtuse triangle: from inside, the smallest distance grows without bound beyond the long
    // side; the solver must stop with a finite circle at least as large as the start circle.
    const std::vector<point2> obtuse{{0.0, 0.0}, {4.0, 0.0}, {1.0, 1.0}};
    const point2 start{1.5, 0.3};
    const circle2 c = maximum_inscribed_circle(obtuse, start);
    EXPECT_TRUE(std::isfinite(c.radius));
    EXPECT_GE(c.radius, smallest_distance(obtuse, start));
    EXPECT_EQ(c.radius, smallest_distance(obtuse, c.centre));

    // Collinear points.
    const std::vector<point2> line = near_line(3, {10.0, 10.0}, 1.0, 30, 0.0);
    const circle2 l = maximum_inscribed_circle(line, {10.0, 10.2});
    EXPECT_TRUE(std::isfinite(l.radius));
    EXPECT_GE(l.radius, smallest_distance(line, {10.0, 10.2}));

    const circle2 empty = maximum_inscribed_circle({}, {1.0, 2.0});
    EXPECT_EQ(empty.centre.x, 1.0);
    EXPECT_EQ(empty.radius, 0.0);
    const circle2 on_point = maximum_inscribed_circle(obtuse, {4.0, 0.0});
    EXPECT_EQ(on_point.radius, 0.0);
}

// Small closed profiles: the exhaustive search over all triples is an exact reference.
TEST(MaximumInscribedCircle, MatchesExhaustiveSearchOnSmallClosedProfiles) {
    for (std::uint64_t seed = 1; seed <= 15; ++seed) {
        for (const point2 centre : {point2{-0.2, 0.1}, point2{1000.0, -1000.0}}) {
            for (const double radius : {40.0, 0.3}) {
                for (const int n : {12, 25}) {
                    const std::vector<point2> points =
                        lobed(seed, centre, radius, n, 3, 0.02 * radius, 0.003 * radius);
                    const point2 start{centre.x + 0.05 * radius, centre.y - 0.03 * radius};
                    const circle2 c = maximum_inscribed_circle(points, start);
                    const circle2 reference = exhaustive_inscribed(points, points);
                    const double tolerance = rounding_tolerance(points, radius);
                    EXPECT_NEAR(c.radius, reference.radius, tolerance) << seed << " " << n;
                    EXPECT_NEAR(c.centre.x, reference.centre.x, 1e3 * tolerance) << seed;
                    EXPECT_NEAR(c.centre.y, reference.centre.y, 1e3 * tolerance) << seed;
                    expect_inscribed_certificate(points, c, tolerance);
                }
            }
        }
    }
}

// Dense noisy profiles from good and poor starts. Reference: a brute-force maximisation of the
// smallest distance around the nominal centre locates the optimum; the exhaustive search over
// triples of the 30 points nearest to it then makes it exact.
TEST(MaximumInscribedCircle, MatchesBruteForceOnDenseProfiles) {
    for (std::uint64_t seed = 1; seed <= 6; ++seed) {
        for (const point2 centre : {point2{3.0, 4.0}, point2{-1000.0, 1000.0}}) {
            const double radius = seed % 2 == 0 ? 0.6 : 30.0;
            const std::vector<point2> points =
                lobed(seed, centre, radius, 720, 2 + static_cast<int>(seed), 5e-3 * radius,
                      1e-3 * radius);
            const double tolerance = rounding_tolerance(points, radius);
            const auto f = [&](point2 c) { return -smallest_distance(points, c); };
            const point2 located = brute_force_minimum(f, centre, 0.02 * radius, 1e-9 * radius);
            const circle2 reference =
                exhaustive_inscribed(points, nearest_points(points, located, 30));
            ASSERT_GT(reference.radius, 0.0);
            EXPECT_GE(reference.radius, -f(located) - tolerance);
            for (const double offset : {0.001, 0.3}) {
                const point2 start{centre.x - offset * radius, centre.y + 0.5 * offset * radius};
                const circle2 c = maximum_inscribed_circle(points, start);
                EXPECT_NEAR(c.radius, reference.radius, tolerance) << seed;
                EXPECT_NEAR(c.centre.x, reference.centre.x, 1e3 * tolerance) << seed;
                EXPECT_NEAR(c.centre.y, reference.centre.y, 1e3 * tolerance) << seed;
                expect_inscribed_certificate(points, c, tolerance);
            }
        }
    }
}

TEST(MaximumInscribedCircle, LargeProfileFinishes) {
    const std::vector<point2> points = lobed(21, {500.0, 500.0}, 0.9, 200000, 5, 1e-3, 1e-4);
    const circle2 c = maximum_inscribed_circle(points, {500.01, 499.99});
    expect_inscribed_certificate(points, c, rounding_tolerance(points, 0.9));
}

TEST(MaximumInscribedCircle, CoarseFirstReachesAMaximumOfEveryPoint) {
    // A smooth profile (no noise) of many points, as a filtered one is.
    const std::vector<point2> points = lobed(8, {-30.0, 20.0}, 12.0, 100000, 3, 2e-3, 0.0);
    const circle2 c = maximum_inscribed_circle_coarse_first(points, {-30.001, 20.002});
    expect_inscribed_certificate(points, c, rounding_tolerance(points, 12.0));
}

}  // namespace
}  // namespace detail
}  // namespace vantor
