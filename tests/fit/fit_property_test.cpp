// Seeded property tests of the least-squares fits on partial and full surfaces: the result is
// a stationary point of the sum of squared distances (its derivative vanishes in every
// direction in which the element can move, taken by central differences of the geometry
// layer's own distances), and a rotated and translated copy of the points (coordinates near
// 1000) gives the same element, moved alike.
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "vantor/fit.h"

namespace vantor {
namespace {

using spanto::point;
using spanto::vector;

constexpr double pi = 3.14159265358979323846;

// A seeded right-handed frame at a random place: the surfaces are generated about its z axis.
struct placement {
    point origin;
    vector x, y, z;

    explicit placement(std::mt19937_64& rng) {
        std::uniform_real_distribution<double> u(-1.0, 1.0);
        z = vector(u(rng), u(rng), u(rng)).unit();
        x = z.orthogonal();
        y = z ^ x;
        origin = point(50 * u(rng), 50 * u(rng), 50 * u(rng));
    }
    point at(double a, double b, double c) const { return origin + a * x + b * y + c * z; }
};

// Points at angles [0, sector) about the axis and heights [0, length), at radius
// radius + slope * height, off by N(0, noise) radially.
actual revolution(std::uint64_t seed, double radius, double slope, double sector, double length,
                  int n, double noise) {
    std::mt19937_64 rng(seed);
    const placement f(rng);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> gauss(0.0, noise);
    actual points(n);
    for (int i = 0; i < n; ++i) {
        const double a = sector * unit(rng), h = length * unit(rng);
        const double r = radius + slope * h + gauss(rng);
        points.append(f.at(r * std::cos(a), r * std::sin(a), h));
    }
    return points;
}

// A cap of a sphere: directions within `cap` radians of the pole.
actual sphere_cap(std::uint64_t seed, double radius, double cap, int n, double noise) {
    std::mt19937_64 rng(seed);
    const placement f(rng);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> gauss(0.0, noise);
    actual points(n);
    for (int i = 0; i < n; ++i) {
        const double polar = std::acos(1.0 - (1.0 - std::cos(cap)) * unit(rng));
        const double a = 2 * pi * unit(rng), r = radius + gauss(rng);
        points.append(f.at(r * std::sin(polar) * std::cos(a), r * std::sin(polar) * std::sin(a),
                           r * std::cos(polar)));
    }
    return points;
}

// A patch of a plane (or, with width 0, a line) with noise across it.
actual flat(std::uint64_t seed, double length, double width, int n, double noise) {
    std::mt19937_64 rng(seed);
    const placement f(rng);
    std::uniform_real_distribution<double> unit(-0.5, 0.5);
    std::normal_distribution<double> gauss(0.0, noise);
    actual points(n);
    for (int i = 0; i < n; ++i)
        points.append(
            f.at(length * unit(rng), width * unit(rng) + (width == 0) * gauss(rng), gauss(rng)));
    return points;
}

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

TEST(FitProperties, RotatedAndTranslatedCopyGivesTheMovedElement) {
    for (const surface_case& c : cases) {
        if (std::string(c.name).rfind("circle", 0) == 0) continue;  // along a fixed direction
        for (std::uint64_t seed = 4; seed <= 6; ++seed) {
            const actual points = c.points(seed);
            const spanto::trafo t =
                spanto::trafo(vector(1000, -1000, 1000)) *
                spanto::trafo(spanto::axis(point(3, -7, 11), vector(1, 2, 2 + seed)), 0.5 + seed);
            actual copy(points);
            copy *= t;
            const fit_report f = c.fit(points).report;
            const fit_report g = c.fit(copy).report;
            ASSERT_TRUE(f.valid() && g.valid()) << c.name << ": " << f.error << g.error;
            ASSERT_EQ(f.parameters.size(), g.parameters.size());
            for (std::size_t i = 0; i < f.parameters.size(); ++i) {
                const fit_parameter& a = f.parameters[i];
                const fit_parameter& b = g.parameters[i];
                const std::string name = a.name;
                const std::string where =
                    std::string(c.name) + " seed " + std::to_string(seed) + " " + name;
                if (a.size == 1) {
                    EXPECT_NEAR(a.value[0], b.value[0], 1e-9 * std::max(1.0, std::abs(a.value[0])))
                        << where;
                    continue;
                }
                if (name == "origin" || name == "centre" || name == "apex") {
                    const point moved = t.apply(point(a.value[0], a.value[1], a.value[2]));
                    const double tolerance = 1e-9 * std::max(100.0, moved.distance(point(0, 0, 0)));
                    EXPECT_LE(moved.distance(point(b.value[0], b.value[1], b.value[2])), tolerance)
                        << where;
                    continue;
                }
                // Directions: the cone's is oriented, the others only up to sign.
                const vector turned = t.apply(vector(a.value[0], a.value[1], a.value[2]));
                const vector other(b.value[0], b.value[1], b.value[2]);
                const double apart =
                    name == "direction" && std::string(c.name).rfind("cone", 0) == 0
                        ? (turned - other).length()
                        : std::min((turned - other).length(), (turned + other).length());
                EXPECT_LE(apart, 1e-10) << where;
            }
        }
    }
}

}  // namespace
}  // namespace vantor
