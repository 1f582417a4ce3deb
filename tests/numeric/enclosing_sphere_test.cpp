// SPDX-License-Identifier: Apache-2.0
// The smallest enclosing ball against an exhaustive search: the optimal ball is the smallest of
// the balls on two, three or four of the points that holds them all; on larger sets, of the points
// on the boundary of the ball found.
#include "numeric/enclosing_sphere.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <vector>

namespace vantor {
namespace detail {
namespace {

double largest_distance(const std::vector<point3>& points, point3 c) {
    double r = 0.0;
    for (const point3& p : points) r = std::max(r, norm(p - c));
    return r;
}

// The centre equidistant from the given points within their affine hull (two, three or four
// points), by the normal equations of that hull's coordinates; false when it is degenerate.
bool equidistant(const std::vector<point3>& q, point3& centre) {
    const std::size_t m = q.size() - 1;
    double a[3][4] = {};
    for (std::size_t i = 0; i < m; ++i) {
        const point3 u = q[i + 1] - q[0];
        for (std::size_t j = 0; j < m; ++j) a[i][j] = 2.0 * dot(u, q[j + 1] - q[0]);
        a[i][m] = dot(u, u);
    }
    double scale = 0.0;
    for (std::size_t i = 0; i < m; ++i) scale = std::max(scale, a[i][i]);
    // Gaussian elimination with partial pivoting on the m x m system.
    for (std::size_t k = 0; k < m; ++k) {
        std::size_t pivot = k;
        for (std::size_t i = k + 1; i < m; ++i)
            if (std::abs(a[i][k]) > std::abs(a[pivot][k])) pivot = i;
        if (!(std::abs(a[pivot][k]) > 1e-9 * scale)) return false;
        for (std::size_t j = 0; j <= m; ++j) std::swap(a[k][j], a[pivot][j]);
        for (std::size_t i = 0; i < m; ++i) {
            if (i == k) continue;
            const double f = a[i][k] / a[k][k];
            for (std::size_t j = k; j <= m; ++j) a[i][j] -= f * a[k][j];
        }
    }
    centre = q[0];
    for (std::size_t j = 0; j < m; ++j) centre = centre + (a[j][m] / a[j][j]) * (q[j + 1] - q[0]);
    return true;
}

double exhaustive_radius(const std::vector<point3>& points) {
    double best = std::numeric_limits<double>::infinity();
    const std::size_t n = points.size();
    std::vector<point3> q;
    const std::function<void(std::size_t)> choose = [&](std::size_t from) {
        if (q.size() >= 2) {
            point3 c;
            if (equidistant(q, c)) best = std::min(best, largest_distance(points, c));
        }
        if (q.size() == 4) return;
        for (std::size_t i = from; i < n; ++i) {
            q.push_back(points[i]);
            choose(i + 1);
            q.pop_back();
        }
    };
    choose(0);
    return n == 1 ? 0.0 : best;
}

struct ball_case {
    const char* name;
    std::function<std::vector<point3>(std::mt19937_64&)> points;
};

TEST(SmallestEnclosingBall, MatchesTheExhaustiveSearch) {
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const auto on_sphere = [&](std::mt19937_64& rng, point3 c, double r) {
        point3 d{unit(rng), unit(rng), unit(rng)};
        return c + (r / norm(d)) * d;
    };
    const ball_case cases[] = {
        {"cube",
         [&](std::mt19937_64& rng) {
             std::vector<point3> p;
             for (int i = 0; i < 12; ++i) p.push_back({unit(rng), unit(rng), unit(rng)});
             return p;
         }},
        {"cospherical, far from the origin",
         [&](std::mt19937_64& rng) {
             std::vector<point3> p;
             for (int i = 0; i < 11; ++i) p.push_back(on_sphere(rng, {1000, -1000, 1000}, 3.0));
             return p;
         }},
        {"coplanar",
         [&](std::mt19937_64& rng) {
             std::vector<point3> p;
             for (int i = 0; i < 10; ++i) p.push_back({unit(rng), unit(rng), 5.0});
             return p;
         }},
        {"cap with repeated points",
         [&](std::mt19937_64& rng) {
             std::vector<point3> p;
             for (int i = 0; i < 10; ++i) {
                 point3 q = on_sphere(rng, {0, 0, 0}, 10.0);
                 q.z = std::abs(q.z) + 7.0;
                 p.push_back(q);
                 if (i % 3 == 0) p.push_back(q);
             }
             return p;
         }},
        {"two points",
         [&](std::mt19937_64& rng) {
             return std::vector<point3>{{unit(rng), 0, 0}, {0, unit(rng), 3}};
         }},
        {"one point",
         [&](std::mt19937_64&) {
             return std::vector<point3>{{1, 2, 3}};
         }},
    };
    for (const ball_case& c : cases) {
        for (std::uint64_t seed = 1; seed <= 8; ++seed) {
            std::mt19937_64 rng(seed);
            const std::vector<point3> points = c.points(rng);
            const ball3 b = smallest_enclosing_ball(points);
            EXPECT_EQ(b.radius, largest_distance(points, b.centre)) << c.name;
            const double size = 1.0 + norm(points[0]);
            EXPECT_NEAR(b.radius, exhaustive_radius(points), 1e-12 * size)
                << c.name << " seed " << seed;
        }
    }
}

TEST(SmallestEnclosingBall, LargeSetsMatchTheBallOfTheirContacts) {
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    // Directions with z above `lowest`, at radii r + noise * unit about c.
    const auto noisy = [&](std::mt19937_64& rng, point3 c, double r, double noise, double lowest) {
        std::vector<point3> p;
        while (p.size() < 600) {
            const point3 d{unit(rng), unit(rng), unit(rng)};
            if (norm(d) > 1.0 || d.z < lowest * norm(d)) continue;
            p.push_back(c + ((r + noise * unit(rng)) / norm(d)) * d);
        }
        return p;
    };
    const ball_case cases[] = {
        {"sphere, 1e8 from the origin",
         [&](std::mt19937_64& rng) {
             return noisy(rng, {1e8, -1e8, 1e8}, 3.0, 0.01, -1.0);
         }},
        {"cap",
         [&](std::mt19937_64& rng) {
             return noisy(rng, {0, 0, 0}, 10.0, 1e-3, 0.5);
         }},
        {"coplanar ring",
         [&](std::mt19937_64& rng) {
             std::vector<point3> p = noisy(rng, {0, 0, 0}, 2.0, 1e-3, -1.0);
             for (point3& q : p) q.z = 5.0;
             return p;
         }},
        {"collinear, each point twice",
         [&](std::mt19937_64& rng) {
             std::vector<point3> p;
             while (p.size() < 600) {
                 p.push_back(point3{1, 2, 3} + (4.0 * unit(rng)) * point3{0.6, -0.8, 0.0});
                 p.push_back(p.back());
             }
             return p;
         }},
    };
    for (const ball_case& c : cases) {
        for (std::uint64_t seed = 1; seed <= 4; ++seed) {
            std::mt19937_64 rng(seed);
            const std::vector<point3> points = c.points(rng);
            const double size = 1.0 + norm(points[0]);
            const ball3 b = smallest_enclosing_ball(points);
            EXPECT_EQ(b.radius, largest_distance(points, b.centre)) << c.name;
            // The ball is the smallest when it is the smallest of the points on its boundary.
            std::vector<point3> contacts;
            for (const point3& p : points)
                if (norm(p - b.centre) >= b.radius - 1e-13 * size) contacts.push_back(p);
            ASSERT_LE(contacts.size(), 12u) << c.name;
            EXPECT_NEAR(b.radius, exhaustive_radius(contacts), 1e-12 * size)
                << c.name << " seed " << seed;
            const point3 centre = smallest_enclosing_centre(std::vector<point3>(points));
            EXPECT_NEAR(largest_distance(points, centre), b.radius, 1e-12 * size) << c.name;
        }
    }
}

}  // namespace
}  // namespace detail
}  // namespace vantor
