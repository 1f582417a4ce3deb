// SPDX-License-Identifier: Apache-2.0
#include "vantor/orientation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "form/rigid_move.h"

namespace vantor {
namespace {

constexpr double pi = 3.14159265358979323846;
double rad(double degrees) { return degrees * pi / 180.0; }

const spanto::plane xy_plane(spanto::point(0, 0, 0), spanto::vector(0, 0, 1));
const spanto::line z_axis(spanto::point(0, 0, 0), spanto::vector(0, 0, 1));

// A point (x, y, z) of the datum frame turned by `turn` degrees about the z axis.
spanto::point turned(double x, double y, double z, double turn) {
    const double c = std::cos(rad(turn)), s = std::sin(rad(turn));
    return spanto::point(c * x - s * y, s * x + c * y, z);
}

// A grid of points s in [0, length], w in [0, width] on the surface p(s, w) = s a + w b + crown
// (1 - (2 w / width - 1)^2) c (a crown of height `crown` across w, along the unit vector c),
// turned by `turn` degrees about z.
actual grid(double length, double width, spanto::vector a, spanto::vector b, spanto::vector c,
            double crown, double turn) {
    constexpr int n = 21;
    actual points(n * n);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const double s = length * i / (n - 1), w = width * j / (n - 1);
            const double bump = crown * (1.0 - std::pow(2.0 * j / (n - 1) - 1.0, 2));
            const spanto::vector p = s * a + w * b + bump * c;
            points.append(turned(p.x, p.y, p.z, turn));
        }
    }
    return points;
}

TEST(Orientation, PlanesTiltedByKnownAnglesGiveTheirClosedForms) {
    // A face of length L tilted by `tilt` from its nominal orientation spans L sin(tilt) across
    // the zone (L tan(tilt) measured along the datum normal for parallelism), plus a crown that
    // the zone must also hold; the turn about the datum normal is free and must not matter.
    struct plane_case {
        const char* name;
        double nominal;  // degrees between the face and the datum plane
        double tilt, length, crown, turn;
    };
    const std::vector<plane_case> cases = {
        {"parallel, flat", 0, 0.05, 80, 0, 0},
        {"parallel, crowned", 0, 0.2, 50, 0.004, 30},
        {"parallel, exact", 0, 0, 40, 0, 10},
        {"perpendicular, flat", 90, -0.1, 30, 0, 0},
        {"perpendicular, turned", 90, 0.3, 60, 0, 127},
        {"perpendicular, crowned", 90, 0.1, 40, 0.003, 45},
        {"angle 30", 30, 0.1, 50, 0, 0},
        {"angle 45, turned", 45, 0.25, 70, 0, 200},
        {"angle 60, crowned", 60, 0.05, 40, 0.002, 75},
        {"angle 45, exact", 45, 0, 40, 0, 15},
    };
    for (const plane_case& k : cases) {
        SCOPED_TRACE(k.name);
        const double beta = rad(k.nominal + k.tilt);
        // Along s the face rises at angle beta from the datum; w runs along y; the crown stands
        // along the face's normal.
        // For parallelism the length is measured along the datum: the face rises L tan(tilt).
        const spanto::vector a = k.nominal == 0 ? spanto::vector(1, 0, std::tan(beta))
                                                : spanto::vector(std::cos(beta), 0, std::sin(beta));
        const spanto::vector b(0, 1, 0), c(-std::sin(beta), 0, std::cos(beta));
        const actual face = grid(k.length, 25.0, a, b, c, k.crown, k.turn);
        // The crown stands at the angle `tilt` to the zone's normal.
        const double crown = k.crown * std::cos(rad(k.tilt));
        double expected = k.length * std::abs(std::sin(rad(k.tilt))) + crown;
        orientation_result r;
        if (k.nominal == 0) {
            expected = k.length * std::abs(std::tan(rad(k.tilt))) + crown;
            r = parallelism(face, xy_plane);
        } else if (k.nominal == 90) {
            r = perpendicularity(face, xy_plane);
        } else {
            r = angularity(face, xy_plane, k.nominal);
        }
        ASSERT_TRUE(r.valid()) << r.error;
        EXPECT_EQ(r.status, status::ok);
        EXPECT_NEAR(r.value, expected, 1e-9);
        EXPECT_NEAR(r.maximum - r.minimum, r.value, 1e-12);
        // The rows named lie on the zone planes.
        EXPECT_NEAR(dot(face[r.lowest] - xy_plane.origin, r.direction), r.minimum, 1e-12);
        EXPECT_NEAR(dot(face[r.highest] - xy_plane.origin, r.direction), r.maximum, 1e-12);
        EXPECT_NEAR(std::acos(std::abs(dot(r.direction, xy_plane.normal))) * 180 / pi, k.nominal,
                    std::abs(k.tilt) + 1e-6);
    }
}

TEST(Orientation, FacesAcrossADatumAxis) {
    // A disc of radius R tilted by t from the plane across the axis spans 2 R tan(t) along it.
    for (const double tilt : {0.0, 0.05, 0.5}) {
        actual disc(400);
        for (int i = 0; i < 20; ++i) {
            for (int j = 0; j < 20; ++j) {
                const double r = 30.0 * (i + 1) / 20, t = 2 * pi * j / 20;
                const double x = r * std::cos(t), y = r * std::sin(t);
                disc.append(x, y, 7.0 + x * std::tan(rad(tilt)));
            }
        }
        const orientation_result r = perpendicularity(disc, z_axis);
        ASSERT_TRUE(r.valid()) << r.error;
        EXPECT_NEAR(r.value, 60.0 * std::tan(rad(tilt)), 1e-12);
        EXPECT_NEAR(r.minimum, 7.0 - 30.0 * std::tan(rad(tilt)), 1e-12);
    }
}

// A cylinder of radius 10 measured as sections of 36 points each, perpendicular to its axis,
// the section at height h along the axis from `base` centred at base + h a + offset.
actual cylinder(spanto::point base, spanto::vector a, const std::vector<double>& heights,
                const std::vector<spanto::vector>& offsets) {
    const spanto::vector u = a.orthogonal(), v = a ^ u;
    actual points(static_cast<int>(36 * heights.size()));
    for (std::size_t k = 0; k < heights.size(); ++k) {
        const spanto::point c = base + heights[k] * a + offsets[k];
        for (int j = 0; j < 36; ++j) {
            const double t = 2 * pi * j / 36;
            points.append(c + (10 * std::cos(t)) * u + (10 * std::sin(t)) * v);
        }
    }
    return points;
}

TEST(Orientation, AxesTiltedOrOffsetByKnownAmounts) {
    const section_request gaps{section_request::rule::gaps, 0, {}};
    const spanto::vector none(0, 0, 0);
    // Tilted by t over sections 60 apart: the centres span 60 sin t across the datum axis.
    for (const double tilt : {0.0, 0.1, 1.0}) {
        SCOPED_TRACE(tilt);
        const spanto::vector a(std::sin(rad(tilt)), 0, std::cos(rad(tilt)));
        const actual part = cylinder(spanto::point(3, -4, 5), a, {0, 30, 60}, {none, none, none});
        const double across = 60 * std::sin(rad(tilt));
        const orientation_result parallel = axis_parallelism(part, z_axis, gaps);
        ASSERT_TRUE(parallel.valid()) << parallel.error;
        EXPECT_NEAR(parallel.value, across, 1e-9);
        ASSERT_EQ(parallel.centres.size(), 3u);
        const orientation_result square = axis_perpendicularity(part, xy_plane, gaps);
        ASSERT_TRUE(square.valid()) << square.error;
        EXPECT_NEAR(square.value, across, 1e-9);
        const spanto::plane yz(spanto::point(0, 0, 0), spanto::vector(1, 0, 0));
        const orientation_result to_plane = axis_parallelism(part, yz, gaps);
        ASSERT_TRUE(to_plane.valid()) << to_plane.error;
        EXPECT_NEAR(to_plane.value, across, 1e-9);
        EXPECT_NEAR(to_plane.minimum, 3.0, 1e-9);
    }
    // Sections offset to the corners of a triangle of circumradius 0.01: a zone of diameter
    // 0.02 (0.015 along x between two planes).
    const double e = 0.01;
    const std::vector<spanto::vector> corners = {
        spanto::vector(e, 0, 0), spanto::vector(-e / 2, e * std::sqrt(3.0) / 2, 0),
        spanto::vector(-e / 2, -e * std::sqrt(3.0) / 2, 0)};
    const actual bent =
        cylinder(spanto::point(0, 0, 0), spanto::vector(0, 0, 1), {0, 25, 50}, corners);
    const orientation_result r = axis_parallelism(bent, z_axis, gaps);
    ASSERT_TRUE(r.valid()) << r.error;
    EXPECT_NEAR(r.value, 2 * e, 1e-9);
    const orientation_result planes = axis_parallelism(
        bent, spanto::plane(spanto::point(0, 0, 0), spanto::vector(1, 0, 0)), gaps);
    ASSERT_TRUE(planes.valid()) << planes.error;
    EXPECT_NEAR(planes.value, 1.5 * e, 1e-9);
}

TEST(Orientation, InvariantUnderRigidMovesOfPartAndDatum) {
    const section_request gaps{section_request::rule::gaps, 0, {}};
    const spanto::vector none(0, 0, 0);
    const double b = rad(30.4);
    const actual slope = grid(40, 25, spanto::vector(std::cos(b), 0, std::sin(b)),
                              spanto::vector(0, 1, 0), spanto::vector(0, 0, 1), 0.003, 20);
    const actual shaft = cylinder(spanto::point(1, 2, 0), spanto::vector(0.002, 0.001, 1),
                                  {0, 20, 40}, {none, spanto::vector(0.004, 0, 0), none});
    struct measure {
        const char* name;
        const actual& part;
        std::function<orientation_result(const actual&, const spanto::plane&, const spanto::line&)>
            evaluate;
    };
    const std::vector<measure> measures = {
        {"parallelism", slope,
         [](const actual& p, const spanto::plane& d, const spanto::line&) {
             return parallelism(p, d);
         }},
        {"perpendicularity", slope,
         [](const actual& p, const spanto::plane& d, const spanto::line&) {
             return perpendicularity(p, d);
         }},
        {"perpendicularity to an axis", slope,
         [](const actual& p, const spanto::plane&, const spanto::line& d) {
             return perpendicularity(p, d);
         }},
        {"angularity", slope,
         [](const actual& p, const spanto::plane& d, const spanto::line&) {
             return angularity(p, d, 30);
         }},
        {"axis parallelism", shaft,
         [&](const actual& p, const spanto::plane&, const spanto::line& d) {
             return axis_parallelism(p, d, gaps);
         }},
        {"axis perpendicularity", shaft,
         [&](const actual& p, const spanto::plane& d, const spanto::line&) {
             return axis_perpendicularity(p, d, gaps);
         }},
    };
    std::mt19937 rng(7);
    for (const measure& m : measures) {
        SCOPED_TRACE(m.name);
        const orientation_result base = m.evaluate(m.part, xy_plane, z_axis);
        ASSERT_TRUE(base.valid()) << base.error;
        EXPECT_GT(base.value, 1e-4);
        for (const double distance : {0.0, 50.0, 1e5}) {
            const testing::rigid_move move(rng, distance);
            const orientation_result r =
                m.evaluate(move.moved(m.part), move.moved(xy_plane), move.moved(z_axis));
            ASSERT_TRUE(r.valid()) << r.error;
            EXPECT_NEAR(r.value, base.value, 1e-9 * (1 + distance / 1e3)) << distance;
        }
    }
}

TEST(Orientation, RefusesWhatItCannotEvaluate) {
    const actual one(std::vector<spanto::point>{{1, 2, 3}}.data(), 1, 1);
    const std::vector<spanto::point> column = {{1, 1, 0}, {1, 1, 2}, {1, 1, 5}};
    const actual on_normal(column.data(), 3, 3);
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<spanto::point> far = {{0, 0, 0}, {1, 0, 0}, {0, inf, 0}};
    const actual infinite(far.data(), 3, 3);
    const actual face = grid(10, 10, spanto::vector(1, 0, 0), spanto::vector(0, 1, 0),
                             spanto::vector(0, 0, 1), 0, 0);
    spanto::plane no_normal = xy_plane;
    no_normal.normal = spanto::vector(0, 0, 0);
    spanto::line no_direction = z_axis;
    no_direction.direction = spanto::vector(0, 0, 0);
    const spanto::vector none(0, 0, 0);
    const actual single = cylinder(spanto::point(0, 0, 0), spanto::vector(0, 0, 1), {0}, {none});
    const actual pair =
        cylinder(spanto::point(0, 0, 0), spanto::vector(0, 0, 1), {0, 20}, {none, none});
    const section_request gaps{section_request::rule::gaps, 0, {}};
    const section_request five{section_request::rule::count, 5, {}};
    struct refusal {
        const char* name;
        orientation_result result;
        status expected;
    };
    const std::vector<refusal> cases = {
        {"one point", parallelism(one, xy_plane), status::too_few_points},
        {"one point on an axis", perpendicularity(one, z_axis), status::too_few_points},
        {"zero normal", parallelism(face, no_normal), status::refused},
        {"zero normal, square", perpendicularity(face, no_normal), status::refused},
        {"zero direction", perpendicularity(face, no_direction), status::refused},
        {"angle beyond 90", angularity(face, xy_plane, 95), status::refused},
        {"angle NaN", angularity(face, xy_plane, std::nan("")), status::refused},
        {"zero normal, angle", angularity(face, no_normal, 30), status::refused},
        {"points along the normal", perpendicularity(on_normal, xy_plane), status::degenerate},
        {"points along the normal, angle", angularity(on_normal, xy_plane, 40), status::degenerate},
        {"infinite coordinate", perpendicularity(infinite, xy_plane), status::invalid_points},
        {"one profile", axis_parallelism(single, z_axis, gaps), status::degenerate},
        {"one section", axis_parallelism(pair, z_axis, section_request()), status::too_few_points},
        {"more sections than gaps", axis_parallelism(pair, z_axis, five), status::refused},
        {"axis, zero direction", axis_parallelism(pair, no_direction, gaps), status::refused},
        {"axis, zero normal", axis_perpendicularity(pair, no_normal, gaps), status::refused},
    };
    for (const refusal& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.result.valid());
        EXPECT_EQ(c.result.status, c.expected)
            << status_name(c.result.status) << ": " << c.result.error;
        EXPECT_EQ(c.result.value, 0.0);
    }
}

// The narrowest strip by brute force: it lies flush with a line through two of the points, so
// the smallest width across the direction of every pair is exact.
double strip_by_pairs(const std::vector<spanto::point>& p) {
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < p.size(); ++i) {
        for (std::size_t j = i + 1; j < p.size(); ++j) {
            const double ex = p[j].x - p[i].x, ey = p[j].y - p[i].y, len = std::hypot(ex, ey);
            if (len == 0) continue;
            double low = 0, high = 0;
            for (const spanto::point& q : p) {
                const double d = (-(q.x - p[i].x) * ey + (q.y - p[i].y) * ex) / len;
                low = std::min(low, d), high = std::max(high, d);
            }
            best = std::min(best, high - low);
        }
    }
    return best;
}

// The angularity zone's width at turn t, and its smallest value over a dense grid of turns,
// refined about the best grid turns by golden-section search.
double width_at(const std::vector<spanto::point>& p, double angle, double t) {
    const spanto::vector m(std::sin(rad(angle)) * std::cos(t), std::sin(rad(angle)) * std::sin(t),
                           std::cos(rad(angle)));
    double low = std::numeric_limits<double>::infinity(), high = -low;
    for (const spanto::point& q : p) {
        const double d = q.x * m.x + q.y * m.y + q.z * m.z;
        low = std::min(low, d), high = std::max(high, d);
    }
    return high - low;
}

double turn_by_grid(const std::vector<spanto::point>& p, double angle, int samples) {
    const double step = 2 * pi / samples;
    std::vector<std::pair<double, double>> grid_widths;
    for (int k = 0; k < samples; ++k)
        grid_widths.emplace_back(width_at(p, angle, k * step), k * step);
    std::sort(grid_widths.begin(), grid_widths.end());
    double best = grid_widths[0].first;
    for (int r = 0; r < 8; ++r) {
        double a = grid_widths[r].second - step, b = grid_widths[r].second + step;
        for (int i = 0; i < 100; ++i) {
            const double x = a + 0.382 * (b - a), y = b - 0.382 * (b - a);
            if (width_at(p, angle, x) < width_at(p, angle, y))
                b = y;
            else
                a = x;
        }
        best = std::min(best, width_at(p, angle, 0.5 * (a + b)));
    }
    return best;
}

TEST(Orientation, MinimaAgreeWithBruteForceOnRandomSets) {
    std::mt19937 rng(2024);
    std::uniform_real_distribution<double> unit(-1, 1), angle_of(0, 90);
    std::uniform_int_distribution<int> size_of(3, 40);
    int strips = 0, turns = 0;
    double strip_gap = 0, turn_gap = 0, grid_gap = 0;
    // 300 small sets against both references; 30 of 1500 points, where the search branches
    // before few candidates remain, against the grid only (pairs would take too long).
    for (int set = 0; set < 330; ++set) {
        // Blobs, thin slabs and sheared sheets, some with points repeated.
        const bool large = set >= 300;
        const int n = large ? 1500 : size_of(rng);
        const double thin = set % 3 == 0 ? 1e-3 : 1.0;
        std::vector<spanto::point> p;
        for (int i = 0; i < n; ++i) {
            if (i > 2 && set % 7 == 0) {
                p.push_back(p[i / 2]);
                continue;
            }
            const double x = 30 * unit(rng), y = 30 * thin * unit(rng);
            p.emplace_back(x + 5, y - 3, 0.2 * x + 10 * unit(rng));
        }
        const actual points(p.data(), n, n);
        const orientation_result square = perpendicularity(points, xy_plane);
        ASSERT_TRUE(square.valid()) << square.error;
        if (!large) {
            const double exact = strip_by_pairs(p);
            EXPECT_NEAR(square.value, exact, 1e-12 * 60) << "set " << set;
            strip_gap = std::max(strip_gap, std::abs(square.value - exact));
            ++strips;
        }

        const double angle = set % 5 == 0 ? 90.0 : angle_of(rng);
        const orientation_result tilted = angularity(points, xy_plane, angle);
        ASSERT_TRUE(tilted.valid()) << tilted.error;
        // The grid's minimum is a width the zone can take, so never below the true minimum,
        // and at most the Lipschitz constant 2 sin(angle) max |(x, y)| times half a step
        // above it.
        constexpr int samples = 4096;
        double reach = 0;
        for (const spanto::point& q : p) reach = std::max(reach, std::hypot(q.x, q.y));
        const double slack = 2 * std::sin(rad(angle)) * reach * pi / samples;
        const double reference = turn_by_grid(p, angle, samples);
        EXPECT_LE(tilted.value, reference + 1e-12 * 60) << "set " << set;
        EXPECT_GE(tilted.value, reference - slack) << "set " << set;
        turn_gap = std::max(turn_gap, reference - tilted.value);
        grid_gap = std::max(grid_gap, std::abs(reference - tilted.value));
        if (angle == 90.0) {
            EXPECT_NEAR(tilted.value, square.value, 1e-9) << "set " << set;
        }
        ++turns;
    }
    std::printf("[ reference ] narrowest strip: %d sets, largest difference from pairs %.3g\n",
                strips, strip_gap);
    std::printf(
        "[ reference ] angularity: %d sets, largest (grid - result) %.3g, |difference| %.3g\n",
        turns, turn_gap, grid_gap);
}

}  // namespace
}  // namespace vantor
