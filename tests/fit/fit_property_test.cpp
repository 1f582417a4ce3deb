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

// What the properties need of an element: its fit, the distance the fit minimises the squares
// of, and the element moved a little in each of its degrees of freedom.
struct element_kind {
    std::function<fit_report(const actual&, std::function<double(const point&)>&,
                             std::function<std::function<double(const point&)>(int, double)>&)>
        fit;
    int freedom;
};

template <class Element>
fit_report with_element(const fit_result<Element>& f, std::function<double(const point&)>& d,
                        std::function<std::function<double(const point&)>(int, double)>& moved,
                        std::function<Element(const Element&, int, double)> move) {
    const Element e = f.element;
    d = [e](const point& p) { return e.sdistance(p); };
    moved = [e, move](int k, double h) {
        const Element m = move(e, k, h);
        return std::function<double(const point&)>([m](const point& p) { return m.sdistance(p); });
    };
    return f;
}

// Two unit vectors across u.
void across(const vector& u, vector& e1, vector& e2) {
    e1 = u.orthogonal();
    e2 = u ^ e1;
}

const element_kind cylinder_kind{
    [](const actual& a, auto& d, auto& moved) {
        return with_element<spanto::cylinder>(
            fit_cylinder(a), d, moved, [](const spanto::cylinder& c, int k, double h) {
                vector e1, e2;
                across(c.direction, e1, e2);
                const vector e = k % 2 == 0 ? e1 : e2;
                if (k < 2) return spanto::cylinder(c.origin + h * e, c.direction, c.radius);
                if (k < 4) return spanto::cylinder(c.origin, c.direction + h * e, c.radius);
                return spanto::cylinder(c.origin, c.direction, c.radius + h);
            });
    },
    5};

const element_kind sphere_kind{
    [](const actual& a, auto& d, auto& moved) {
        return with_element<spanto::sphere>(
            fit_sphere(a), d, moved, [](const spanto::sphere& s, int k, double h) {
                const vector e[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
                return k < 3 ? spanto::sphere(s.centre + h * e[k], s.radius)
                             : spanto::sphere(s.centre, s.radius + h);
            });
    },
    4};

// A cone through (p0, r0) and (p1, r1): shifts and tilts of its axis, and either radius.
const element_kind cone_kind{[](const actual& a, auto& d, auto& moved) {
                                 return with_element<spanto::cone>(
                                     fit_cone(a), d, moved,
                                     [](const spanto::cone& c, int k, double h) {
                                         vector e1, e2;
                                         across(c.rotaxis().direction, e1, e2);
                                         const vector e = k % 2 == 0 ? e1 : e2;
                                         point p0 = c.point0(), p1 = c.point1();
                                         double r0 = c.radius0(), r1 = c.radius1();
                                         if (k < 2) {
                                             p0 += h * e;
                                             p1 += h * e;
                                         } else if (k < 4) {
                                             p1 += h * e;
                                         } else if (k == 4) {
                                             r0 += h;
                                         } else {
                                             r1 += h;
                                         }
                                         return spanto::cone(p0, r0, p1, r1);
                                     });
                             },
                             6};

const element_kind plane_kind{
    [](const actual& a, auto& d, auto& moved) {
        return with_element<spanto::plane>(
            fit_plane(a), d, moved, [](const spanto::plane& p, int k, double h) {
                vector e1, e2;
                across(p.normal, e1, e2);
                if (k == 0) return spanto::plane(p.origin + h * p.normal, p.normal);
                return spanto::plane(p.origin, p.normal + h * (k == 1 ? e1 : e2));
            });
    },
    3};

// The line's distance is unsigned; the sum of its squares is smooth all the same.
struct line_distance {
    spanto::line l;
    double sdistance(const point& p) const { return l.distance(p); }
};
const element_kind line_kind{
    [](const actual& a, auto& d, auto& moved) {
        const fit_result<spanto::line> f = fit_line(a);
        fit_result<line_distance> g;
        static_cast<fit_report&>(g) = f;
        g.element.l = f.element;
        with_element<line_distance>(g, d, moved, [](const line_distance& l, int k, double h) {
            vector e1, e2;
            across(l.l.direction, e1, e2);
            const vector e = k % 2 == 0 ? e1 : e2;
            return line_distance{k < 2 ? spanto::line(l.l.origin + h * e, l.l.direction)
                                       : spanto::line(l.l.origin, l.l.direction + h * e)};
        });
        return static_cast<fit_report>(f);
    },
    4};

// The circle about the z axis of the generating frame is not known here: the circle is fitted
// without a direction, in the least-squares plane, and judged by its radial distances.
struct radial_distance {
    spanto::circle c;
    double sdistance(const point& p) const { return c.axisline().distance(p) - c.radius; }
};
const element_kind circle_kind{
    [](const actual& a, auto& d, auto& moved) {
        const fit_result<spanto::circle> f = fit_circle(a, vector(0, 0, 1));
        fit_result<radial_distance> g;
        static_cast<fit_report&>(g) = f;
        g.element.c = f.element;
        with_element<radial_distance>(g, d, moved, [](const radial_distance& r, int k, double h) {
            const spanto::circle& c = r.c;
            const vector e[2] = {{1, 0, 0}, {0, 1, 0}};
            return radial_distance{k < 2 ? spanto::circle(c.centre + h * e[k], c.normal, c.radius)
                                         : spanto::circle(c.centre, c.normal, c.radius + h)};
        });
        return static_cast<fit_report>(f);
    },
    3};

struct surface_case {
    const char* name;
    std::function<actual(std::uint64_t)> points;
    const element_kind& kind;
};

const surface_case cases[] = {
    {"cylinder, 90-degree sector as long as its radius",
     [](std::uint64_t s) { return revolution(s, 10, 0, pi / 2, 10, 400, 0.002); }, cylinder_kind},
    {"cylinder, 60-degree sector of length 40",
     [](std::uint64_t s) { return revolution(s, 10, 0, pi / 3, 40, 400, 0.002); }, cylinder_kind},
    {"cylinder, full and short",
     [](std::uint64_t s) { return revolution(s, 25, 0, 2 * pi, 3, 300, 0.005); }, cylinder_kind},
    {"sphere, cap of 40 degrees",
     [](std::uint64_t s) { return sphere_cap(s, 12.7, 0.7, 300, 0.001); }, sphere_kind},
    {"sphere, hemisphere", [](std::uint64_t s) { return sphere_cap(s, 5, pi / 2, 200, 0.003); },
     sphere_kind},
    {"cone, 120-degree sector, half angle 20 degrees",
     [](std::uint64_t s) { return revolution(s, 15, std::tan(0.35), 2 * pi / 3, 20, 500, 0.002); },
     cone_kind},
    {"cone, full, half angle 1 degree",
     [](std::uint64_t s) { return revolution(s, 8, std::tan(pi / 180), 2 * pi, 30, 500, 0.001); },
     cone_kind},
    {"plane patch", [](std::uint64_t s) { return flat(s, 80, 30, 200, 0.01); }, plane_kind},
    {"line", [](std::uint64_t s) { return flat(s, 120, 0, 100, 0.01); }, line_kind},
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
     circle_kind},
};

TEST(FitProperties, ResultIsStationaryForTheSumOfSquares) {
    for (const surface_case& c : cases) {
        for (std::uint64_t seed = 1; seed <= 3; ++seed) {
            const actual points = c.points(seed);
            std::function<double(const point&)> distance;
            std::function<std::function<double(const point&)>(int, double)> moved;
            const fit_report f = c.kind.fit(points, distance, moved);
            ASSERT_TRUE(f.valid()) << c.name << " seed " << seed << ": " << f.error;
            EXPECT_TRUE(f.converged) << c.name;
            // The derivative of F = sum of squared distances along each freedom, by fourth-order
            // central differences of F (smooth even where a distance is not signed), against
            // its scale 2 sqrt(F sum_i (d d_i / dh)^2): the cosine of the angle between the
            // residuals and the derivatives of the distances.
            const double h = 1e-5;
            for (int k = 0; k < c.kind.freedom; ++k) {
                const auto plus = moved(k, h), minus = moved(k, -h);
                const auto plus2 = moved(k, 2 * h), minus2 = moved(k, -2 * h);
                double f = 0, near = 0, far = 0, jj = 0;
                for (const point& p : points) {
                    const double r = distance(p), rp = plus(p), rm = minus(p);
                    const double rp2 = plus2(p), rm2 = minus2(p);
                    f += r * r;
                    near += rp * rp - rm * rm;
                    far += rp2 * rp2 - rm2 * rm2;
                    jj += (rp - rm) * (rp - rm) / (4 * h * h);
                }
                const double gradient = (8 * near - far) / (12 * h);
                EXPECT_LE(std::abs(gradient) / (2 * std::sqrt(f * jj)), 1e-8)
                    << c.name << " seed " << seed << " freedom " << k;
            }
        }
    }
}

TEST(FitProperties, RotatedAndTranslatedCopyGivesTheMovedElement) {
    for (const surface_case& c : cases) {
        if (&c.kind == &circle_kind) continue;  // fitted along a fixed direction
        for (std::uint64_t seed = 4; seed <= 6; ++seed) {
            const actual points = c.points(seed);
            const spanto::trafo t =
                spanto::trafo(vector(1000, -1000, 1000)) *
                spanto::trafo(spanto::axis(point(3, -7, 11), vector(1, 2, 2 + seed)), 0.5 + seed);
            actual copy(points);
            copy *= t;
            std::function<double(const point&)> d;
            std::function<std::function<double(const point&)>(int, double)> m;
            const fit_report f = c.kind.fit(points, d, m);
            const fit_report g = c.kind.fit(copy, d, m);
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
                    name == "direction" && &c.kind == &cone_kind
                        ? (turned - other).length()
                        : std::min((turned - other).length(), (turned + other).length());
                EXPECT_LE(apart, 1e-10) << where;
            }
        }
    }
}

}  // namespace
}  // namespace vantor
