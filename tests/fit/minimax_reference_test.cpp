// SPDX-License-Identifier: Apache-2.0
// The minimax fits against references computed otherwise: exhaustive searches over the finitely
// many elements a small set's optimum can be (the slab's planes, the vertex spheres), the exact
// planar solvers on the points projected along directions all around the fitted axis, and sets
// that lie on their element (zone 0, every point a contact).
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fit/slab.h"
#include "fit/surfaces.h"
#include "numeric/circumscribed_circle.h"
#include "numeric/inscribed_circle.h"
#include "numeric/zone_circle.h"
#include "vantor/fit.h"

namespace vantor {
namespace {

using namespace surfaces;
using detail::point2;

double size_of(const actual& points) {
    double size = 1.0;
    for (const point& p : points) size = std::max(size, p.distance(point(0, 0, 0)));
    return size;
}

// The zone plane against every slab a small set's optimum can be (slab.h).
TEST(MinimaxReference, ZonePlaneIsTheNarrowestOfAllCandidateSlabs) {
    for (std::uint64_t seed = 1; seed <= 6; ++seed) {
        const actual points = flat(seed, 40, 25, 9, 0.5 + 0.2 * seed);
        const double best = slab::exact_width(points);
        const fit_result<spanto::plane> f = fit_plane(points, criterion::zone);
        ASSERT_TRUE(f.valid()) << f.error;
        EXPECT_NEAR(f.deviation, best, 1e-12 * size_of(points)) << "seed " << seed;
        EXPECT_NEAR(slab::width_across(points, f.element.normal), f.deviation,
                    1e-12 * size_of(points));
    }
}

// The centre equidistant from the points of each group (a sphere's outer and inner contacts),
// when the groups give three independent equations; empty otherwise.
bool equidistant(const std::vector<std::vector<point>>& groups, point& centre) {
    double a[3][4];
    int rows = 0;
    for (const auto& g : groups)
        for (std::size_t i = 1; i < g.size(); ++i) {
            const vector u = g[i] - g[0];
            const vector mid = 0.5 * ((g[i] - point(0, 0, 0)) + (g[0] - point(0, 0, 0)));
            a[rows][0] = u.x;
            a[rows][1] = u.y;
            a[rows][2] = u.z;
            a[rows][3] = spanto::dot(u, mid);
            ++rows;
        }
    if (rows != 3) return false;
    const vector r0(a[0][0], a[0][1], a[0][2]), r1(a[1][0], a[1][1], a[1][2]),
        r2(a[2][0], a[2][1], a[2][2]);
    const double det = spanto::dot(r0, r1 ^ r2);
    if (std::abs(det) < 1e-9 * r0.length() * r1.length() * r2.length()) return false;
    const vector c =
        (1.0 / det) * (a[0][3] * (r1 ^ r2) + a[1][3] * (r2 ^ r0) + a[2][3] * (r0 ^ r1));
    centre = point(c.x, c.y, c.z);
    return true;
}

// Points near the vertices of an icosahedron: they surround the centre, and a sphere's
// minimax optimum among so few points is a vertex of its problem.
actual icosahedron(std::uint64_t seed, point centre, double radius, double noise) {
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> gauss(0.0, 1.0);
    const double g = (1 + std::sqrt(5.0)) / 2;
    const double v[12][3] = {{-1, g, 0}, {1, g, 0}, {-1, -g, 0}, {1, -g, 0},
                             {0, -1, g}, {0, 1, g}, {0, -1, -g}, {0, 1, -g},
                             {g, 0, -1}, {g, 0, 1}, {-g, 0, -1}, {-g, 0, 1}};
    actual points(12);
    for (const auto& q : v) {
        const vector d = vector(q[0], q[1], q[2]).unit();
        points.append(centre + (radius + noise * gauss(rng)) * d);
    }
    return points;
}

// True when c lies in the tetrahedron of the four points.
bool inside(const std::vector<point>& q, const point& c) {
    const vector u = q[1] - q[0], v = q[2] - q[0], w = q[3] - q[0], d = c - q[0];
    const double volume = spanto::dot(u, v ^ w);
    const double b1 = spanto::dot(d, v ^ w) / volume, b2 = spanto::dot(u, d ^ w) / volume,
                 b3 = spanto::dot(u, v ^ d) / volume;
    return b1 >= 0 && b2 >= 0 && b3 >= 0 && b1 + b2 + b3 <= 1;
}

// Every centre a vertex of the zone's problem can have (equidistant from k outer points and
// from 5 - k inner ones) and of the inscribed sphere's (equidistant from four points that
// surround it, as the multipliers of a maximum need): the best of them is the optimum.
TEST(MinimaxReference, ZoneAndInscribedSphereAreTheBestVertexCentres) {
    for (std::uint64_t seed = 1; seed <= 4; ++seed) {
        const point centre = seed % 2 == 0 ? point(1000, -1000, 1000) : point(3, 1, -2);
        const actual points = icosahedron(seed, centre, 10, 0.05);
        const auto distances = [&points](const point& c) {
            double low = INFINITY, high = 0;
            for (const point& p : points) {
                low = std::min(low, p.distance(c));
                high = std::max(high, p.distance(c));
            }
            return std::make_pair(low, high);
        };
        double zone = INFINITY, inscribed = 0;
        const int n = points.numpoints();
        for (int mask = 0; mask < (1 << n); ++mask) {
            std::vector<point> chosen;
            for (int i = 0; i < n; ++i)
                if (mask & (1 << i)) chosen.push_back(points[i]);
            point c;
            if (chosen.size() == 4 && equidistant({chosen}, c) && inside(chosen, c))
                inscribed = std::max(inscribed, distances(c).first);
            if (chosen.size() != 5) continue;
            for (int split = 1; split < 31; ++split) {
                std::vector<point> outer, inner;
                for (int k = 0; k < 5; ++k) (split & (1 << k) ? outer : inner).push_back(chosen[k]);
                if (!equidistant({outer, inner}, c)) continue;
                const auto [low, high] = distances(c);
                zone = std::min(zone, high - low);
            }
        }
        const double tolerance = 1e-12 * size_of(points);
        const fit_result<spanto::sphere> z = fit_sphere(points, criterion::zone);
        const fit_result<spanto::sphere> i = fit_sphere(points, criterion::inscribed);
        ASSERT_TRUE(z.valid() && i.valid()) << z.error << i.error;
        EXPECT_NEAR(z.deviation, zone, tolerance) << "seed " << seed;
        EXPECT_NEAR(i.element.radius, inscribed, tolerance) << "seed " << seed;
    }
}

// The planar problem of an axial criterion: the points projected along a direction, solved by
// the exact planar solvers (from the fitted centre where they need a start).
struct planar_criterion {
    const char* name;
    criterion method;
    bool line;
    double (*value)(const std::vector<point2>& traces, point2 start);
};

double circumscribed_radius(const std::vector<point2>& t, point2) {
    return detail::minimum_circumscribed_circle(t).radius;
}
double inscribed_radius(const std::vector<point2>& t, point2 start) {
    return -detail::maximum_inscribed_circle(t, start).radius;
}
double zone_width(const std::vector<point2>& t, point2 start) {
    const detail::zone2 z = detail::minimum_zone_circle(t, start);
    return z.outer - z.inner;
}

// For the fitted axis, the planar solvers give the fit's own value (its position is optimal for
// its direction); for none of 400 directions around it, at tilts from 0.1 down to 1e-7 radians,
// do they give a better one.
TEST(MinimaxReference, AxialFitsBeatEveryNearbyDirectionSolvedInThePlane) {
    const planar_criterion criteria[] = {
        {"line zone", criterion::zone, true, circumscribed_radius},
        {"cylinder zone", criterion::zone, false, zone_width},
        {"cylinder inscribed", criterion::inscribed, false, inscribed_radius},
        {"cylinder circumscribed", criterion::circumscribed, false, circumscribed_radius},
    };
    for (const planar_criterion& c : criteria) {
        for (std::uint64_t seed = 1; seed <= 2; ++seed) {
            const actual points = c.line ? flat(seed, 150, 0, 60, 0.01)
                                         : revolution(seed, 12, 0, 2 * pi, 30, 300, 0.003);
            spanto::line axis;
            double value;
            if (c.line) {
                const fit_result<spanto::line> f = fit_line(points, c.method);
                ASSERT_TRUE(f.valid()) << f.error;
                axis = f.element;
                value = 0.5 * f.deviation;
            } else {
                const fit_result<spanto::cylinder> f = fit_cylinder(points, c.method);
                ASSERT_TRUE(f.valid()) << f.error;
                axis = spanto::line(f.element.origin, f.element.direction);
                value = c.method == criterion::zone        ? f.deviation
                        : c.method == criterion::inscribed ? -f.element.radius
                                                           : f.element.radius;
            }
            const auto planar = [&](const vector& d) {
                const vector a = d.orthogonal(), b = d ^ a;
                std::vector<point2> traces;
                for (const point& p : points)
                    traces.push_back(
                        {spanto::dot(a, p - axis.origin), spanto::dot(b, p - axis.origin)});
                return c.value(traces, {0.0, 0.0});
            };
            const double tolerance = 1e-11 * size_of(points);
            EXPECT_NEAR(planar(axis.direction), value, tolerance) << c.name << " seed " << seed;
            const vector a = axis.direction.orthogonal(), b = axis.direction ^ a;
            for (int k = 0; k < 13; ++k) {
                const double tilt = std::pow(10.0, -1.0 - 0.5 * k);
                for (int j = 0; j < 30; ++j) {
                    const double turn = 2 * pi * j / 30;
                    const vector d =
                        (axis.direction + tilt * (std::cos(turn) * a + std::sin(turn) * b)).unit();
                    EXPECT_GE(planar(d), value - tolerance)
                        << c.name << " seed " << seed << " tilt " << tilt << " turn " << j;
                }
            }
        }
    }
}

// Points on their element, ties everywhere: every minimax fit finds the element, with zone 0
// and every point a contact.
TEST(MinimaxReference, PointsOnTheirElementGiveItWithEveryPointAContact) {
    const point o(1000, -1000, 1000);
    const vector z = vector(1, 2, 2).unit(), x = z.orthogonal(), y = z ^ x;
    actual prism(120), line(50), plane(64), cone(96);
    for (int i = 0; i < 120; ++i) {
        const double t = 2 * pi * (i % 12) / 12;
        prism.append(o + (3 * std::cos(t)) * x + (3 * std::sin(t)) * y + (i / 12) * z);
    }
    for (int i = 0; i < 50; ++i) line.append(o + (0.7 * i) * z);
    for (int i = 0; i < 64; ++i) plane.append(o + (i % 8) * x + (i / 8) * y);
    for (int i = 0; i < 96; ++i) {
        const double t = 2 * pi * (i % 12) / 12, r = 5 + 0.25 * (i / 12);
        cone.append(o + (r * std::cos(t)) * x + (r * std::sin(t)) * y + (i / 12) * z);
    }
    const actual ball = icosahedron(1, o, 4, 0.0);
    struct exact {
        std::string name;
        std::function<fit_report()> fit;
        int points;
        double radius;  // of the fitted element; 0 where it has none
    };
    std::vector<exact> cases = {
        {"line zone", [&] { return fit_report(fit_line(line, criterion::zone)); }, 50, 0},
        {"plane zone", [&] { return fit_report(fit_plane(plane, criterion::zone)); }, 64, 0},
        {"cone zone", [&] { return fit_report(fit_cone(cone, criterion::zone)); }, 96, 0},
    };
    for (const criterion c : {criterion::zone, criterion::inscribed, criterion::circumscribed}) {
        const std::string name = criterion_name(c);
        cases.push_back({"cylinder " + name,
                         [&prism, c] {
                             const auto f = fit_cylinder(prism, c);
                             EXPECT_NEAR(f.element.radius, 3, 1e-10);
                             return fit_report(f);
                         },
                         120, 3});
        cases.push_back({"sphere " + name,
                         [&ball, c] {
                             const auto f = fit_sphere(ball, c);
                             EXPECT_NEAR(f.element.radius, 4, 1e-10);
                             EXPECT_LE(f.element.centre.distance(point(1000, -1000, 1000)), 1e-10);
                             return fit_report(f);
                         },
                         12, 4});
    }
    for (const exact& e : cases) {
        const fit_report r = e.fit();
        ASSERT_TRUE(r.valid()) << e.name << ": " << r.error;
        EXPECT_LE(r.deviation, 1e-10) << e.name;
        EXPECT_EQ(static_cast<int>(r.contacts.size()), e.points) << e.name;
        EXPECT_TRUE(r.converged) << e.name;
    }
}

}  // namespace
}  // namespace vantor
