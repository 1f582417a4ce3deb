// SPDX-License-Identifier: Apache-2.0
// Test support for the planar circle solvers: seeded profiles, independent distance and
// certificate checks, and brute-force references.
#ifndef VANTOR_TESTS_NUMERIC_PLANAR_PROFILES_H
#define VANTOR_TESTS_NUMERIC_PLANAR_PROFILES_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "numeric/planar.h"

namespace vantor {
namespace detail {
namespace profiles {

constexpr double two_pi = 6.283185307179586477;

// Points at radius + amplitude * cos(lobes * angle + phase) + N(0, noise) about `centre`, at n
// angles spread evenly over [from, from + span] with a little jitter.
inline std::vector<point2> lobed(std::uint64_t seed, point2 centre, double radius, int n, int lobes,
                                 double amplitude, double noise, double from = 0.0,
                                 double span = two_pi) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> gauss(0.0, 1.0);
    const double phase = two_pi * unit(rng);
    const bool closed = span >= two_pi;
    const double spacing = closed ? span / n : span / (n - 1);
    std::vector<point2> points;
    for (int k = 0; k < n; ++k) {
        const double jitter = (k == 0 || k == n - 1) && !closed ? 0.0 : 0.3 * (unit(rng) - 0.5);
        const double angle = from + spacing * (k + jitter);
        const double r = radius + amplitude * std::cos(lobes * angle + phase) + noise * gauss(rng);
        points.push_back({centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)});
    }
    return points;
}

// n points spread along a segment of length 2 * half_length through `centre` in a seeded random
// direction, off the line by N(0, noise): a nearly collinear set.
inline std::vector<point2> near_line(std::uint64_t seed, point2 centre, double half_length, int n,
                                     double noise) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::normal_distribution<double> gauss(0.0, noise);
    const double angle = pi * unit(rng);
    const point2 along{std::cos(angle), std::sin(angle)};
    std::vector<point2> points;
    for (int k = 0; k < n; ++k) {
        const double t = half_length * unit(rng);
        const double off = gauss(rng);
        points.push_back(
            {centre.x + t * along.x - off * along.y, centre.y + t * along.y + off * along.x});
    }
    return points;
}

// An absolute tolerance for comparing results of size `size` computed from these points: 1e-12
// relative, but no less than the rounding of the coordinates.
inline double rounding_tolerance(const std::vector<point2>& points, double size) {
    double coordinate = 0.0;
    for (const point2& p : points)
        coordinate = std::max({coordinate, std::abs(p.x), std::abs(p.y)});
    return 1e-12 * size + 64.0 * std::numeric_limits<double>::epsilon() * coordinate;
}

inline double smallest_distance(const std::vector<point2>& points, point2 c) {
    double d = std::numeric_limits<double>::infinity();
    for (const point2& p : points)
        d = std::min(d, std::sqrt((p.x - c.x) * (p.x - c.x) + (p.y - c.y) * (p.y - c.y)));
    return d;
}

inline double largest_distance(const std::vector<point2>& points, point2 c) {
    double d = 0.0;
    for (const point2& p : points)
        d = std::max(d, std::sqrt((p.x - c.x) * (p.x - c.x) + (p.y - c.y) * (p.y - c.y)));
    return d;
}

inline double zone_width(const std::vector<point2>& points, point2 c) {
    return largest_distance(points, c) - smallest_distance(points, c);
}

// Unit directions from `c` to the points whose distance from c lies within [low, high].
inline std::vector<point2> directions(const std::vector<point2>& points, point2 c, double low,
                                      double high) {
    std::vector<point2> result;
    for (const point2& p : points) {
        const double d = std::sqrt((p.x - c.x) * (p.x - c.x) + (p.y - c.y) * (p.y - c.y));
        if (d >= low && d <= high && d > 0.0) result.push_back({(p.x - c.x) / d, (p.y - c.y) / d});
    }
    return result;
}

inline double cross2(point2 a, point2 b) { return a.x * b.y - a.y * b.x; }

// True when the origin lies strictly inside the triangle of some three of the unit vectors, with
// a margin of `margin` in each edge's signed area, i.e. the vectors are not all within one closed
// half plane.
inline bool surround_strictly(const std::vector<point2>& u, double margin) {
    for (std::size_t i = 0; i < u.size(); ++i)
        for (std::size_t j = i + 1; j < u.size(); ++j)
            for (std::size_t k = j + 1; k < u.size(); ++k) {
                const point2 a = u[i], b = u[j], c = u[k];
                const double s1 = cross2({b.x - a.x, b.y - a.y}, {-a.x, -a.y});
                const double s2 = cross2({c.x - b.x, c.y - b.y}, {-b.x, -b.y});
                const double s3 = cross2({a.x - c.x, a.y - c.y}, {-c.x, -c.y});
                if ((s1 > margin && s2 > margin && s3 > margin) ||
                    (s1 < -margin && s2 < -margin && s3 < -margin))
                    return true;
            }
    return false;
}

// True when two of the unit vectors point in opposite directions within `tolerance`.
inline bool has_antipodal_pair(const std::vector<point2>& u, double tolerance) {
    for (std::size_t i = 0; i < u.size(); ++i)
        for (std::size_t j = i + 1; j < u.size(); ++j)
            if (u[i].x * u[j].x + u[i].y * u[j].y < -1.0 + tolerance) return true;
    return false;
}

// Pattern search from `start` minimising f: a grid over the square of half width `half_width`,
// then from the best grid node a search along 16 directions (turned by an irrational angle each
// round, so that it does not stall on a ridge the directions miss), halving the step after three
// rounds without progress, down to `resolution`.
inline point2 brute_force_minimum(const std::function<double(point2)>& f, point2 start,
                                  double half_width, double resolution, int grid = 40) {
    point2 best = start;
    double best_value = f(start);
    for (int i = 0; i <= grid; ++i)
        for (int j = 0; j <= grid; ++j) {
            const point2 c{start.x + half_width * (2.0 * i / grid - 1.0),
                           start.y + half_width * (2.0 * j / grid - 1.0)};
            const double v = f(c);
            if (v < best_value) {
                best_value = v;
                best = c;
            }
        }
    double step = 2.0 * half_width / grid;
    double turn = 0.0;
    int failures = 0;
    while (step > resolution) {
        bool moved = false;
        for (int k = 0; k < 16; ++k) {
            const double angle = turn + two_pi * k / 16.0;
            const point2 c{best.x + step * std::cos(angle), best.y + step * std::sin(angle)};
            const double v = f(c);
            if (v < best_value) {
                best_value = v;
                best = c;
                moved = true;
            }
        }
        turn += 0.618033988749895;
        failures = moved ? 0 : failures + 1;
        if (failures == 3) {
            step *= 0.5;
            failures = 0;
        }
    }
    return best;
}

}  // namespace profiles
}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_TESTS_NUMERIC_PLANAR_PROFILES_H
