// SPDX-License-Identifier: Apache-2.0
// Seeded property tests of the fits on partial and full surfaces. Least squares: the result is
// a stationary point of the sum of squared distances (its derivative vanishes in every
// direction in which the element can move, taken by central differences of the geometry
// layer's own distances). Minimax: no move of the element in many directions at several scales
// improves its criterion, it holds the points as its criterion says and beats the
// least-squares element. Both: a rotated and translated copy of the points (coordinates near
// 1000) gives the same element, moved alike.
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fit/surfaces.h"
#include "vantor/fit.h"

namespace vantor {
namespace {

using namespace surfaces;
using spanto::point;
using spanto::vector;

// A fitted element as the properties see it: its report and the distance whose squares the
// fit sums, with `shapes` parameters of shape (a radius, a cone's two radii) changed by h.
struct fitted {
    fit_report report;
    std::function<double(const point&, int shape, double h)> distance;
    int shapes;
    bool along_z = false;  // fitted about a given axis along z, which is no freedom
};

fitted of(const fit_result<spanto::line>& f) {
    const spanto::line e = f.element;
    return {f, [e](const point& p, int, double) { return e.distance(p); }, 0};
}
fitted of(const fit_result<spanto::plane>& f) {
    const spanto::plane e = f.element;
    return {f, [e](const point& p, int, double) { return e.sdistance(p); }, 0};
}
// Radial, as roundness measures it.
fitted of(const fit_result<spanto::circle>& f) {
    const spanto::line axis = f.element.axisline();
    const double r = f.element.radius;
    return {f, [axis, r](const point& p, int, double h) { return axis.distance(p) - r - h; }, 1,
            true};
}
fitted of(const fit_result<spanto::sphere>& f) {
    const spanto::sphere e = f.element;
    return {f, [e](const point& p, int, double h) { return e.sdistance(p) - h; }, 1};
}
fitted of(const fit_result<spanto::cylinder>& f) {
    const spanto::cylinder e = f.element;
    return {f, [e](const point& p, int, double h) { return e.sdistance(p) - h; }, 1};
}
fitted of(const fit_result<spanto::cone>& f) {
    const spanto::cone e = f.element;
    return {f,
            [e](const point& p, int shape, double h) {
                const spanto::cone m(e.point0(), e.radius0() + (shape == 0 ? h : 0.0), e.point1(),
                                     e.radius1() + (shape == 1 ? h : 0.0));
                return m.sdistance(p);
            },
            2};
}

struct surface_case {
    const char* name;
    std::function<actual(std::uint64_t)> points;
    std::function<fitted(const actual&)> fit;
};

const auto cylinder_fit = [](const actual& a) { return of(fit_cylinder(a)); };
const auto sphere_fit = [](const actual& a) { return of(fit_sphere(a)); };
const auto cone_fit = [](const actual& a) { return of(fit_cone(a)); };

const surface_case cases[] = {
    {"cylinder, 90-degree sector as long as its radius",
     [](std::uint64_t s) { return revolution(s, 10, 0, pi / 2, 10, 400, 0.002); }, cylinder_fit},
    {"cylinder, 60-degree sector of length 40",
     [](std::uint64_t s) { return revolution(s, 10, 0, pi / 3, 40, 400, 0.002); }, cylinder_fit},
    {"cylinder, full and short",
     [](std::uint64_t s) { return revolution(s, 25, 0, 2 * pi, 3, 300, 0.005); }, cylinder_fit},
    {"sphere, cap of 40 degrees",
     [](std::uint64_t s) { return sphere_cap(s, 12.7, 0.7, 300, 0.001); }, sphere_fit},
    {"sphere, hemisphere", [](std::uint64_t s) { return sphere_cap(s, 5, pi / 2, 200, 0.003); },
     sphere_fit},
    {"cone, 120-degree sector, half angle 20 degrees",
     [](std::uint64_t s) { return revolution(s, 15, std::tan(0.35), 2 * pi / 3, 20, 500, 0.002); },
     cone_fit},
    {"cone, full, half angle 1 degree",
     [](std::uint64_t s) { return revolution(s, 8, std::tan(pi / 180), 2 * pi, 30, 500, 0.001); },
     cone_fit},
    {"plane patch", [](std::uint64_t s) { return flat(s, 80, 30, 200, 0.01); },
     [](const actual& a) { return of(fit_plane(a)); }},
    {"line", [](std::uint64_t s) { return flat(s, 120, 0, 100, 0.01); },
     [](const actual& a) { return of(fit_line(a)); }},
    {"circle, 100-degree arc",
     [](std::uint64_t s) {
         // In the x-y plane: fitted about z.
         std::mt19937_64 rng(s);
         std::uniform_real_distribution<double> unit(0.0, 1.0);
         std::normal_distribution<double> gauss(0.0, 0.003);
         actual points(200);
         for (int i = 0; i < 200; ++i) {
             const double a = 1.75 * unit(rng), r = 30 + gauss(rng);
             points.append(-20 + r * std::cos(a), 40 + r * std::sin(a), 5 * unit(rng));
         }
         return points;
     },
     [](const actual& a) { return of(fit_circle(a, vector(0, 0, 1))); }},
};

// The element moved rigidly (equivalently, the points moved back) or changed in shape, by h:
// freedoms 0 to 2 shift the points along x, y, z, 3 to 5 turn them about the axes through
// their centroid, further ones change the element's shape.
double moved_distance(const fitted& f, const point& p, const point& centroid, int freedom,
                      double h) {
    if (freedom >= 6) return f.distance(p, freedom - 6, h);
    const vector e[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const spanto::trafo t = freedom < 3 ? spanto::trafo(h * e[freedom])
                                        : spanto::trafo(spanto::axis(centroid, e[freedom - 3]), h);
    return f.distance(t.apply(p), -1, 0.0);
}

TEST(FitProperties, ResultIsStationaryForTheSumOfSquares) {
    for (const surface_case& c : cases) {
        for (std::uint64_t seed = 1; seed <= 3; ++seed) {
            const actual points = c.points(seed);
            const fitted f = c.fit(points);
            ASSERT_TRUE(f.report.valid()) << c.name << " seed " << seed << ": " << f.report.error;
            point centroid(0, 0, 0);
            for (const point& p : points) centroid += p;
            centroid /= points.numpoints();
            // The derivative of F = sum of squared distances along each freedom, by fourth-order
            // central differences of F (smooth even where a distance is not signed), against
            // its scale 2 sqrt(F sum_i (d d_i / dh)^2): the cosine of the angle between the
            // residuals and the derivatives of the distances.
            const double h = 1e-5;
            for (int k = 0; k < 6 + f.shapes; ++k) {
                if (f.along_z && (k == 3 || k == 4)) continue;
                double sum = 0, near = 0, far = 0, jj = 0;
                for (const point& p : points) {
                    const double r = f.distance(p, -1, 0.0);
                    const double rp = moved_distance(f, p, centroid, k, h);
                    const double rm = moved_distance(f, p, centroid, k, -h);
                    const double rp2 = moved_distance(f, p, centroid, k, 2 * h);
                    const double rm2 = moved_distance(f, p, centroid, k, -2 * h);
                    sum += r * r;
                    near += rp * rp - rm * rm;
                    far += rp2 * rp2 - rm2 * rm2;
                    jj += (rp - rm) * (rp - rm) / (4 * h * h);
                }
                // Moves along which no distance changes (a shift along an axis) prove nothing.
                if (jj < 1e-6 * points.numpoints()) continue;
                const double gradient = (8 * near - far) / (12 * h);
                EXPECT_LE(std::abs(gradient) / (2 * std::sqrt(sum * jj)), 1e-8)
                    << c.name << " seed " << seed << " freedom " << k;
            }
        }
    }
}

// A fit and a rotated and translated copy (coordinates near 1000) give the same deviation and
// the same element, moved alike, within `loose` times the tolerances of a least-squares fit.
void expect_moved_alike(const std::string& name, const std::function<actual(std::uint64_t)>& make,
                        const std::function<fit_report(const actual&)>& fit, double loose = 1.0) {
    for (std::uint64_t seed = 4; seed <= 6; ++seed) {
        const actual points = make(seed);
        const spanto::trafo t =
            spanto::trafo(vector(1000, -1000, 1000)) *
            spanto::trafo(spanto::axis(point(3, -7, 11), vector(1, 2, 2 + seed)), 0.5 + seed);
        actual copy(points);
        copy *= t;
        const fit_report f = fit(points);
        const fit_report g = fit(copy);
        ASSERT_TRUE(f.valid() && g.valid()) << name << ": " << f.error << g.error;
        // The deviation (the objective of a minimax fit) is fixed even where the element is not.
        EXPECT_NEAR(f.deviation, g.deviation, std::min(loose, 100.0) * 1e-9 * f.deviation + 1e-12)
            << name;
        ASSERT_EQ(f.parameters.size(), g.parameters.size());
        for (std::size_t i = 0; i < f.parameters.size(); ++i) {
            const fit_parameter& a = f.parameters[i];
            const fit_parameter& b = g.parameters[i];
            const std::string parameter = a.name;
            const std::string where = name + " seed " + std::to_string(seed) + " " + parameter;
            if (a.size == 1) {
                EXPECT_NEAR(a.value[0], b.value[0],
                            loose * 1e-9 * std::max(1.0, std::abs(a.value[0])))
                    << where;
                continue;
            }
            if (parameter == "origin" || parameter == "centre" || parameter == "apex") {
                const point moved = t.apply(point(a.value[0], a.value[1], a.value[2]));
                const double tolerance =
                    loose * 1e-9 * std::max(100.0, moved.distance(point(0, 0, 0)));
                EXPECT_LE(moved.distance(point(b.value[0], b.value[1], b.value[2])), tolerance)
                    << where;
                continue;
            }
            // Directions: the cone's is oriented, the others only up to sign.
            const vector turned = t.apply(vector(a.value[0], a.value[1], a.value[2]));
            const vector other(b.value[0], b.value[1], b.value[2]);
            const double apart =
                parameter == "direction" && name.rfind("cone", 0) == 0
                    ? (turned - other).length()
                    : std::min((turned - other).length(), (turned + other).length());
            EXPECT_LE(apart, loose * 1e-10) << where;
        }
    }
}

TEST(FitProperties, RotatedAndTranslatedCopyGivesTheMovedElement) {
    for (const surface_case& c : cases) {
        if (std::string(c.name).rfind("circle", 0) == 0) continue;  // along a fixed direction
        expect_moved_alike(c.name, c.points, [&c](const actual& a) { return c.fit(a).report; });
    }
}

// --- Minimax fits.

struct minimax_case {
    const char* name;
    criterion method;
    std::function<actual(std::uint64_t)> points;
    std::function<fitted(const actual&, criterion)> fit;
    // How much looser than for least squares a rotated copy's element may differ: 100 where
    // enough points touch to fix it to rounding; 1e4 for the tube about a line, whose two or
    // three contacts leave its axis to the residuals' curvature, which rounding blurs to the
    // square root of its precision; 0 (not compared) where nearby local optima compete (the
    // circumscribed cylinder of an open sector, whose axis may turn many ways), and a rotated
    // copy may settle in another one, equally certified.
    double loose = 100.0;
};

// These properties are the local solver's: its proof runs on a short budget (whose work is
// fixed, so a moved copy still gets the same result), which keeps the sanitizer build quick.
fit_options brief_proofs() {
    fit_options o;
    o.time_budget = 0.05;
    return o;
}
const fit_options brief = brief_proofs();
const auto line_of = [](const actual& a, criterion c) { return of(fit_line(a, c, brief)); };
const auto plane_of = [](const actual& a, criterion c) { return of(fit_plane(a, c, brief)); };
const auto sphere_of = [](const actual& a, criterion c) { return of(fit_sphere(a, c, brief)); };
const auto cylinder_of = [](const actual& a, criterion c) { return of(fit_cylinder(a, c, brief)); };
const auto cone_of = [](const actual& a, criterion c) { return of(fit_cone(a, c, brief)); };
const auto ball = [](std::uint64_t s) { return sphere_cap(s, 12.7, pi, 300, 0.002); };
const auto cap = [](std::uint64_t s) { return sphere_cap(s, 5, 1.2, 200, 0.003); };
const auto shaft = [](std::uint64_t s) { return revolution(s, 12, 0, 2 * pi, 40, 400, 0.002); };
const auto sector = [](std::uint64_t s) { return revolution(s, 10, 0, pi / 2, 10, 300, 0.002); };

const minimax_case minimax_cases[] = {
    {"line, 3-D straightness", criterion::zone,
     [](std::uint64_t s) { return flat(s, 120, 0, 100, 0.01); }, line_of, 1e4},
    {"plane patch", criterion::zone, [](std::uint64_t s) { return flat(s, 80, 30, 200, 0.01); },
     plane_of},
    {"sphere", criterion::zone, ball, sphere_of},
    {"sphere, cap of 70 degrees", criterion::zone, cap, sphere_of},
    {"sphere", criterion::inscribed, ball, sphere_of},
    {"sphere", criterion::circumscribed, ball, sphere_of},
    {"sphere, cap of 70 degrees", criterion::circumscribed, cap, sphere_of},
    {"cylinder", criterion::zone, shaft, cylinder_of},
    {"cylinder, 90-degree sector", criterion::zone, sector, cylinder_of},
    {"cylinder", criterion::inscribed, shaft, cylinder_of},
    {"cylinder", criterion::circumscribed, shaft, cylinder_of},
    {"cylinder, 90-degree sector", criterion::circumscribed, sector, cylinder_of, 0},
    {"cone, half angle 20 degrees", criterion::zone,
     [](std::uint64_t s) { return revolution(s, 15, std::tan(0.35), 2 * pi, 20, 500, 0.002); },
     cone_of},
    {"cone, 120-degree sector, half angle 1 degree", criterion::zone,
     [](std::uint64_t s) {
         return revolution(s, 8, std::tan(pi / 180), 2 * pi / 3, 30, 500, 0.001);
     },
     cone_of},
};

std::string name_of(const minimax_case& c) {
    return std::string(c.name) + " " + criterion_name(c.method);
}

// The quantity the criterion minimises over the distances of the points from the element: the
// zone's width, the largest distance (the line's tube, the circumscribed element) or the
// smallest negated (the inscribed element).
struct extent_of_distances {
    double low = INFINITY, high = -INFINITY;
    double objective(criterion c, bool tube) const {
        if (tube || c == criterion::circumscribed) return high;
        return c == criterion::inscribed ? -low : high - low;
    }
};

// The objective of the element after a move of the points: a translation by `extent` times
// h (d0, d1, d2), a turn by h |(d3, d4, d5)| radians about that axis through the centroid, and
// for a zone a change of the shape parameter `shape` by `extent` times h d6.
double moved_objective(const fitted& f, criterion c, bool tube, const actual& points,
                       const point& centroid, double extent, const double* d, int shape, double h) {
    const vector turn(d[3], d[4], d[5]);
    const spanto::trafo shift(h * extent * vector(d[0], d[1], d[2]));
    const spanto::trafo t =
        h == 0.0 ? spanto::trafo()
                 : shift * spanto::trafo(spanto::axis(centroid, turn), h * turn.length());
    extent_of_distances e;
    for (const point& p : points) {
        const double v = f.distance(t.apply(p), shape, shape < 0 ? 0.0 : h * extent * d[6]);
        e.low = std::min(e.low, v);
        e.high = std::max(e.high, v);
    }
    return e.objective(c, tube);
}

TEST(FitProperties, MinimaxResultIsALocalOptimumOfItsCriterion) {
    std::mt19937_64 rng(99);
    std::normal_distribution<double> gauss(0.0, 1.0);
    for (const minimax_case& c : minimax_cases) {
        const bool tube = std::string(c.name).rfind("line", 0) == 0;
        for (std::uint64_t seed = 1; seed <= 2; ++seed) {
            const actual points = c.points(seed);
            const fitted f = c.fit(points, c.method);
            ASSERT_TRUE(f.report.valid())
                << name_of(c) << " seed " << seed << ": " << f.report.error;
            point centroid(0, 0, 0);
            double extent = 0;
            for (const point& p : points) centroid += p;
            centroid /= points.numpoints();
            for (const point& p : points) extent = std::max(extent, p.distance(centroid));
            const double none[7] = {};
            const double here =
                moved_objective(f, c.method, tube, points, centroid, extent, none, -1, 0.0);
            const double slack = 1e-12 * (extent + centroid.distance(point(0, 0, 0)));
            // The objective is the deviation's own measure, about the fitted element.
            if (!tube && c.method == criterion::zone) {
                EXPECT_NEAR(here, f.report.deviation, slack);
            }
            const int shapes = c.method == criterion::zone ? f.shapes : 0;
            for (const double h : {1e-2, 1e-4, 1e-6}) {
                for (int k = 0; k < 60; ++k) {
                    double d[7];
                    for (double& v : d) v = gauss(rng);
                    const int shape = shapes > 0 ? k % shapes : -1;
                    const double moved =
                        moved_objective(f, c.method, tube, points, centroid, extent, d, shape, h);
                    EXPECT_GE(moved, here - slack)
                        << name_of(c) << " seed " << seed << " scale " << h << " move " << k;
                }
            }
        }
    }
}

// The minimax element holds the points as its criterion says, its contacts lie on its boundary,
// and it is no worse under its criterion than the least-squares element.
TEST(FitProperties, MinimaxResultHoldsThePointsAndBeatsLeastSquares) {
    for (const minimax_case& c : minimax_cases) {
        const bool tube = std::string(c.name).rfind("line", 0) == 0;
        const actual points = c.points(3);
        const fitted f = c.fit(points, c.method);
        const fitted g = c.fit(points, criterion::gauss);
        ASSERT_TRUE(f.report.valid() && g.report.valid()) << name_of(c) << f.report.error;
        const fit_report& r = f.report;
        const double size = 1e-12 * (100 + std::abs(r.maximum) + std::abs(r.minimum));
        extent_of_distances fitted_range, gauss_range;
        for (const point& p : points) {
            const double v = f.distance(p, -1, 0.0), w = g.distance(p, -1, 0.0);
            fitted_range = {std::min(fitted_range.low, v), std::max(fitted_range.high, v)};
            gauss_range = {std::min(gauss_range.low, w), std::max(gauss_range.high, w)};
        }
        EXPECT_LE(fitted_range.objective(c.method, tube),
                  gauss_range.objective(c.method, tube) + size)
            << name_of(c);
        EXPECT_EQ(r.deviation, tube ? 2 * r.maximum : r.maximum - r.minimum) << name_of(c);
        if (c.method == criterion::circumscribed) {
            EXPECT_NEAR(r.maximum, 0.0, size) << name_of(c);
        } else if (c.method == criterion::inscribed) {
            EXPECT_NEAR(r.minimum, 0.0, size) << name_of(c);
        } else if (!tube) {
            EXPECT_NEAR(r.minimum, -r.maximum, size) << name_of(c);
        }
        // Contacts at a bounded extreme: at least one a side.
        bool at_low = false, at_high = false;
        for (int i : r.contacts) {
            const double v = f.distance(points[i], -1, 0.0);
            const bool low = std::abs(v - r.minimum) <= 1e-9,
                       high = std::abs(v - r.maximum) <= 1e-9;
            EXPECT_TRUE(low || high) << name_of(c) << " contact " << i;
            at_low = at_low || low;
            at_high = at_high || high;
        }
        EXPECT_TRUE(at_high || c.method == criterion::inscribed) << name_of(c);
        EXPECT_TRUE(at_low || c.method == criterion::circumscribed || tube) << name_of(c);
    }
}

TEST(FitProperties, MinimaxRotatedAndTranslatedCopyGivesTheMovedElement) {
    for (const minimax_case& c : minimax_cases) {
        if (c.loose == 0) continue;
        expect_moved_alike(
            name_of(c), c.points, [&c](const actual& a) { return c.fit(a, c.method).report; },
            c.loose);
    }
}

}  // namespace
}  // namespace vantor
