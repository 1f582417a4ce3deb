// SPDX-License-Identifier: Apache-2.0
#include "numeric/zone_circle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "numeric/planar_profiles.h"

namespace vantor {
namespace detail {
namespace {

using namespace profiles;

// The intersection of the perpendicular bisectors of ab and cd, if they are not parallel.
std::optional<point2> bisector_intersection(point2 a, point2 b, point2 c, point2 d) {
    const point2 u{b.x - a.x, b.y - a.y};
    const point2 v{d.x - c.x, d.y - c.y};
    const double det = u.x * v.y - u.y * v.x;
    if (std::abs(det) <= 1e-12 * std::hypot(u.x, u.y) * std::hypot(v.x, v.y)) return std::nullopt;
    // x . u = (|b|^2 - |a|^2) / 2 and x . v = (|d|^2 - |c|^2) / 2, relative to a.
    const double e = 0.5 * (u.x * u.x + u.y * u.y);
    const double f = 0.5 * ((d.x - a.x) * (d.x - a.x) + (d.y - a.y) * (d.y - a.y) -
                            (c.x - a.x) * (c.x - a.x) - (c.y - a.y) * (c.y - a.y));
    return point2{a.x + (e * v.y - f * u.y) / det, a.y + (f * u.x - e * v.x) / det};
}

// The narrowest zone about any centre within `reach` of `near` that is equidistant from an
// outer pair and from an inner pair of the candidates (two pairs of points: the centre of every
// regular minimum zone is such an intersection of bisectors).
zone2 exhaustive_zone(const std::vector<point2>& points, const std::vector<point2>& outer,
                      const std::vector<point2>& inner, point2 near, double reach) {
    zone2 best{{0.0, 0.0}, 0.0, std::numeric_limits<double>::infinity()};
    for (std::size_t i = 0; i < outer.size(); ++i)
        for (std::size_t j = i + 1; j < outer.size(); ++j)
            for (std::size_t k = 0; k < inner.size(); ++k)
                for (std::size_t l = k + 1; l < inner.size(); ++l) {
                    const std::optional<point2> c =
                        bisector_intersection(outer[i], outer[j], inner[k], inner[l]);
                    if (!c || std::hypot(c->x - near.x, c->y - near.y) > reach) continue;
                    const double lo = smallest_distance(points, *c);
                    const double hi = largest_distance(points, *c);
                    if (hi - lo < best.outer - best.inner) best = {*c, lo, hi};
                }
    return best;
}

// The `count` points farthest from (largest = true) or nearest to `c`.
std::vector<point2> extreme_points(std::vector<point2> points, point2 c, std::size_t count,
                                   bool largest) {
    const auto before = [c, largest](point2 a, point2 b) {
        const double da = norm(a - c);
        const double db = norm(b - c);
        return largest ? da > db : da < db;
    };
    count = std::min(count, points.size());
    std::partial_sort(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(count),
                      points.end(), before);
    points.resize(count);
    return points;
}

// True when chord ab and chord cd of the unit circle cross (with a margin in the signed areas):
// the four directions alternate a, c, b, d in angle.
bool chords_cross(point2 a, point2 b, point2 c, point2 d, double margin) {
    const auto side = [](point2 p, point2 q, point2 r) {
        return cross2({q.x - p.x, q.y - p.y}, {r.x - p.x, r.y - p.y});
    };
    const double s1 = side(a, b, c), s2 = side(a, b, d);
    const double s3 = side(c, d, a), s4 = side(c, d, b);
    return ((s1 > margin && s2 < -margin) || (s1 < -margin && s2 > margin)) &&
           ((s3 > margin && s4 < -margin) || (s3 < -margin && s4 > margin));
}

// All points within [inner, outer]; some two outer and two inner contacts (within `tolerance`)
// alternate outer/inner/outer/inner in angle about the centre, so no move narrows the zone to
// first order.
void expect_zone_certificate(const std::vector<point2>& points, const zone2& z, double tolerance) {
    EXPECT_GE(smallest_distance(points, z.centre), z.inner);
    EXPECT_LE(largest_distance(points, z.centre), z.outer);
    const std::vector<point2> out =
        directions(points, z.centre, z.outer - tolerance, z.outer + 1.0);
    const std::vector<point2> in = directions(points, z.centre, 0.0, z.inner + tolerance);
    bool alternating = false;
    for (std::size_t i = 0; i < out.size() && !alternating; ++i)
        for (std::size_t j = i + 1; j < out.size() && !alternating; ++j)
            for (std::size_t k = 0; k < in.size() && !alternating; ++k)
                for (std::size_t l = k + 1; l < in.size() && !alternating; ++l)
                    alternating = chords_cross(out[i], out[j], in[k], in[l], 1e-9);
    EXPECT_TRUE(alternating) << out.size() << " outer and " << in.size() << " inner contacts";
}

TEST(MinimumZoneCircle, AlternatingFourPointsByHand) {
    // Outer (±2, 0) and inner (0, ±1) about o, scaled by s: width s, inner s, outer 2 s.
    for (const double s : {1.0, 0.1}) {
        const point2 o{1000.0, 1000.0};
        const std::vector<point2> points{
            {o.x + 2 * s, o.y}, {o.x, o.y + s}, {o.x - 2 * s, o.y}, {o.x, o.y - s}};
        const zone2 z = minimum_zone_circle(points, {o.x + 0.2 * s, o.y - 0.1 * s});
        EXPECT_NEAR(z.centre.x, o.x, 1e-12);
        EXPECT_NEAR(z.centre.y, o.y, 1e-12);
        EXPECT_NEAR(z.inner, s, 1e-12);
        EXPECT_NEAR(z.outer, 2 * s, 1e-12);
    }
}

TEST(MinimumZoneCircle, ThreePointsGiveAZeroZoneOnTheirCircle) {
    const std::vector<point2> points{{-700.0, 326.5}, {-697.0, 317.5}, {-705.0, 321.5}};
    const zone2 z = minimum_zone_circle(points, {-699.0, 320.0});
    EXPECT_NEAR(z.centre.x, -700.0, 1e-11);
    EXPECT_NEAR(z.centre.y, 321.5, 1e-11);
    EXPECT_NEAR(z.inner, 5.0, 1e-11);
    EXPECT_NEAR(z.outer, 5.0, 1e-11);
}

TEST(MinimumZoneCircle, DegenerateInputsTerminateNoWiderThanStart) {
    const zone2 empty = minimum_zone_circle({}, {1.0, 2.0});
    EXPECT_EQ(empty.centre.x, 1.0);
    EXPECT_EQ(empty.outer, 0.0);
    const zone2 one = minimum_zone_circle({{5.0, 5.0}}, {1.0, 2.0});
    EXPECT_EQ(one.inner, one.outer);
    for (std::uint64_t seed = 1; seed <= 5; ++seed) {
        const std::vector<point2> line = near_line(seed, {1000.0, -1000.0}, 0.5, 40, 1e-7);
        const point2 start{1000.1, -999.9};
        const zone2 z = minimum_zone_circle(line, start);
        EXPECT_LE(z.outer - z.inner, zone_width(line, start));
        EXPECT_TRUE(std::isfinite(z.centre.x) && std::isfinite(z.centre.y));
    }
}

// Small closed profiles: the exhaustive search over all pairs of pairs is an exact reference.
TEST(MinimumZoneCircle, MatchesExhaustiveSearchOnSmallClosedProfiles) {
    for (std::uint64_t seed = 1; seed <= 10; ++seed) {
        for (const point2 centre : {point2{0.1, -0.3}, point2{-1000.0, 1000.0}}) {
            for (const double radius : {50.0, 0.25}) {
                const std::vector<point2> points =
                    lobed(seed, centre, radius, 16, 2 + static_cast<int>(seed % 4), 0.01 * radius,
                          0.002 * radius);
                const point2 start{centre.x + 0.02 * radius, centre.y + 0.01 * radius};
                const zone2 z = minimum_zone_circle(points, start);
                const zone2 reference =
                    exhaustive_zone(points, points, points, centre, 0.5 * radius);
                const double tolerance = rounding_tolerance(points, radius);
                EXPECT_NEAR(z.outer - z.inner, reference.outer - reference.inner, tolerance)
                    << seed;
                EXPECT_NEAR(z.centre.x, reference.centre.x, 1e3 * tolerance) << seed;
                EXPECT_NEAR(z.centre.y, reference.centre.y, 1e3 * tolerance) << seed;
                expect_zone_certificate(points, z, tolerance);
            }
        }
    }
}

// Dense closed profiles and partial arcs down to 90 degrees, from good and poor starts. Reference:
// a brute-force minimisation of the width around the nominal centre locates the optimum; the
// exhaustive search over pairs of its 10 outermost and 10 innermost points makes it exact.
TEST(MinimumZoneCircle, MatchesBruteForceOnDenseProfilesAndArcs) {
    for (std::uint64_t seed = 1; seed <= 6; ++seed) {
        for (const point2 centre : {point2{3.0, 4.0}, point2{1000.0, 1000.0}}) {
            const double radius = seed % 2 == 0 ? 0.7 : 20.0;
            const int lobes = 2 + static_cast<int>(seed);
            for (const double span : {two_pi, pi, 0.5 * pi}) {
                const std::vector<point2> points = lobed(seed, centre, radius, 600, lobes,
                                                         2e-3 * radius, 5e-4 * radius, 0.3, span);
                const double tolerance = rounding_tolerance(points, radius);
                const auto f = [&](point2 c) { return zone_width(points, c); };
                const point2 located = brute_force_minimum(f, centre, 0.02 * radius, 1e-9 * radius);
                const zone2 reference = exhaustive_zone(
                    points, extreme_points(points, located, 10, true),
                    extreme_points(points, located, 10, false), located, 1e-3 * radius);
                EXPECT_LE(reference.outer - reference.inner, f(located) + tolerance);
                for (const double offset : {0.001, 0.05}) {
                    const point2 start{centre.x - offset * radius,
                                       centre.y + 0.5 * offset * radius};
                    const zone2 z = minimum_zone_circle(points, start);
                    EXPECT_NEAR(z.outer - z.inner, reference.outer - reference.inner, tolerance)
                        << seed << " span " << span << " offset " << offset;
                    EXPECT_NEAR(z.centre.x, reference.centre.x, 1e3 * tolerance) << seed;
                    EXPECT_NEAR(z.centre.y, reference.centre.y, 1e3 * tolerance) << seed;
                    expect_zone_certificate(points, z, tolerance);
                }
            }
        }
    }
}

TEST(MinimumZoneCircle, LargeProfileFinishes) {
    const std::vector<point2> points = lobed(31, {-500.0, 500.0}, 0.9, 200000, 4, 1e-3, 1e-4);
    const zone2 z = minimum_zone_circle(points, {-500.01, 500.02});
    expect_zone_certificate(points, z, rounding_tolerance(points, 0.9));
}

}  // namespace
}  // namespace detail
}  // namespace vantor
