// SPDX-License-Identifier: Apache-2.0
// Every way a fit of the fitting interface refuses its input: the reason it gives, its status
// code, and a result that cannot pass for a fitted element.
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fit/surfaces.h"
#include "vantor/fit.h"

namespace vantor {
namespace {

using spanto::point;
using spanto::vector;

actual set_of(const std::vector<point>& points) {
    actual a(static_cast<int>(points.size()));
    for (const point& p : points) a.append(p);
    return a;
}

// n points on a circle of radius 5 about the z axis at height z (or, with lift, along a helix).
actual ring(int n, double lift = 0.0) {
    actual a(n);
    for (int i = 0; i < n; ++i)
        a.append(5 * std::cos(0.7 * i), 5 * std::sin(0.7 * i), 2.0 + lift * i);
    return a;
}

actual on_a_line(int n) {
    actual a(n);
    for (int i = 0; i < n; ++i) a.append(1 + 2.0 * i, -3 + 1.0 * i, 7 - 0.5 * i);
    return a;
}

// A cone of half angle 31 degrees measured across its apex: 8 units along one nappe, 1 along
// the other.
actual both_nappes() {
    actual a(80);
    for (int i = 0; i < 80; ++i) {
        const double z = -1.0 + 9.0 * i / 79, r = 0.6 * std::abs(z);
        a.append(r * std::cos(0.7 * i), r * std::sin(0.7 * i), z);
    }
    return a;
}

const double nan = std::numeric_limits<double>::quiet_NaN();
const double pi = std::acos(-1.0);
const double inf = std::numeric_limits<double>::infinity();

struct failure_case {
    const char* name;
    std::function<fit_report()> fit;
    const char* reason;  // a part of the expected error
    status code;
};

template <class Element>
std::function<fit_report()> checked(std::function<fit_result<Element>()> fit) {
    return [fit] {
        const fit_result<Element> r = fit();
        EXPECT_TRUE(r.element.invalid());
        return static_cast<fit_report>(r);
    };
}

const failure_case cases[] = {
    {"line of one point", checked<spanto::line>([] {
         return fit_line(set_of({{1, 2, 3}}));
     }),
     "too few points: a line needs at least 2 valid points, the set has 1", status::too_few_points},
    {"line of equal points", checked<spanto::line>([] {
         return fit_line(set_of({{1, 2, 3}, {1, 2, 3}, {1, 2, 3}}));
     }),
     "the points coincide", status::degenerate},
    {"line of invalid points", checked<spanto::line>([] {
         return fit_line(set_of({{nan, 0, 0}, {1, 2, 3}}));
     }),
     "the set has 1", status::too_few_points},
    {"plane of two points", checked<spanto::plane>([] {
         return fit_plane(set_of({{0, 0, 0}, {1, 0, 0}}));
     }),
     "a plane needs at least 3", status::too_few_points},
    {"plane of collinear points", checked<spanto::plane>([] { return fit_plane(on_a_line(6)); }),
     "the points lie on one line", status::degenerate},
    {"plane through an infinite point", checked<spanto::plane>([] {
         return fit_plane(set_of({{0, 0, 0}, {1, 0, 0}, {0, inf, 0}}));
     }),
     "infinite coordinate", status::invalid_points},
    {"plane through a point too far to square", checked<spanto::plane>([] {
         return fit_plane(set_of({{0, 0, 0}, {1, 0, 0}, {1e155, 1e155, 1e155}, {0, 0, 1}}));
     }),
     "the coordinates are too large to compute with (beyond about 1e150, where squares overflow)",
     status::invalid_points},
    {"circle of collinear points", checked<spanto::circle>([] { return fit_circle(on_a_line(5)); }),
     "the points lie on one line", status::degenerate},
    {"circle along a zero direction",
     checked<spanto::circle>([] { return fit_circle(ring(8), vector(0, 0, 0)); }),
     "the direction is zero or not finite", status::refused},
    {"circle seen edge-on",
     checked<spanto::circle>([] { return fit_circle(ring(8), vector(1, 0, 0)); }),
     "lie on one line", status::degenerate},
    {"circle along a direction through an infinite point", checked<spanto::circle>([] {
         actual a(9);
         for (const point& p : ring(8)) a.append(p);
         a.append(inf, 0, 1);
         return fit_circle(a, vector(0, 0, 1));
     }),
     "infinite coordinate", status::invalid_points},
    {"circle along a direction through a point too far to square", checked<spanto::circle>([] {
         actual a(9);
         for (const point& p : ring(8)) a.append(p);
         a.append(1e155, 0, 1);
         return fit_circle(a, vector(0, 0, 1));
     }),
     "the coordinates are too large to compute with (beyond about 1e150", status::invalid_points},
    {"circle of two points along a direction",
     checked<spanto::circle>([] { return fit_circle(ring(2), vector(0, 0, 1)); }),
     "a circle needs at least 3", status::too_few_points},
    {"inscribed circle of an open arc", checked<spanto::circle>([] {
         actual arc(20);
         for (int i = 0; i < 20; ++i) arc.append(5 * std::cos(0.1 * i), 5 * std::sin(0.1 * i), 0);
         return fit_circle(arc, vector(0, 0, 1), criterion::inscribed);
     }),
     "the points do not surround their centre", status::not_determined},
    {"circle of an unknown criterion",
     checked<spanto::circle>([] { return fit_circle(ring(8), static_cast<criterion>(9)); }),
     "unknown criterion 9", status::refused},
    {"sphere of three points", checked<spanto::sphere>([] {
         return fit_sphere(set_of({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
     }),
     "a sphere needs at least 4", status::too_few_points},
    {"sphere of coplanar points", checked<spanto::sphere>([] { return fit_sphere(ring(12)); }),
     "the points lie in one plane", status::degenerate},
    {"inscribed sphere of a cap", checked<spanto::sphere>([] {
         // Points within 30 degrees of the pole: the centre can recede from them for ever.
         actual a(40);
         for (int i = 0; i < 40; ++i) {
             const double polar = 0.5 * (i % 5 + 1) / 5, azimuth = 0.8 * i;
             a.append(7 * std::sin(polar) * std::cos(azimuth),
                      7 * std::sin(polar) * std::sin(azimuth), 7 * std::cos(polar));
         }
         return fit_sphere(a, criterion::inscribed);
     }),
     "the points do not surround the centre: the maximum inscribed sphere is not determined",
     status::not_determined},
    {"cylinder of four points", checked<spanto::cylinder>([] { return fit_cylinder(ring(4, 1)); }),
     "a cylinder needs at least 5", status::too_few_points},
    {"cylinder of collinear points",
     checked<spanto::cylinder>([] { return fit_cylinder(on_a_line(9)); }),
     "the points lie on one line", status::degenerate},
    {"cylinder of one ring", checked<spanto::cylinder>([] { return fit_cylinder(ring(9)); }),
     "the points lie in one plane", status::degenerate},
    {"inscribed cylinder of a 60-degree sector", checked<spanto::cylinder>([] {
         actual a(40);
         for (int i = 0; i < 40; ++i)
             a.append(5 * std::cos(pi / 30 * (i % 11)), 5 * std::sin(pi / 30 * (i % 11)), 0.5 * i);
         return fit_cylinder(a, criterion::inscribed);
     }),
     "the points do not surround the axis: the maximum inscribed cylinder is not determined",
     status::not_determined},
    {"cone of five points", checked<spanto::cone>([] { return fit_cone(ring(5, 1)); }),
     "a cone needs at least 6", status::too_few_points},
    {"cone of one ring", checked<spanto::cone>([] { return fit_cone(ring(9)); }),
     "the points lie in one plane", status::degenerate},
    {"cone on a cylinder", checked<spanto::cone>([] {
         actual a(60);
         for (int i = 0; i < 60; ++i) a.append(5 * std::cos(0.7 * i), 5 * std::sin(0.7 * i), i % 7);
         return fit_cone(a);
     }),
     "the points lie on a cylinder", status::degenerate},
    {"cone across its apex", checked<spanto::cone>([] { return fit_cone(both_nappes()); }),
     "points lie behind the fitted cone's apex", status::degenerate},
    {"zone cone across its apex",
     checked<spanto::cone>([] { return fit_cone(both_nappes(), criterion::zone); }),
     "points lie behind the fitted cone's apex", status::degenerate},
    {"circumscribed cone",
     checked<spanto::cone>([] { return fit_cone(ring(12, 0.2), criterion::circumscribed); }),
     "criterion circumscribed is not defined for a cone", status::refused},
    {"inscribed line",
     checked<spanto::line>([] { return fit_line(on_a_line(3), criterion::inscribed); }),
     "criterion inscribed is not defined for a line", status::refused},
    {"zone sphere of a shallow cap flatter than it is round", checked<spanto::sphere>([] {
         // 20 points within 11 degrees of the pole of a sphere of radius 10, 0.1 off it.
         return fit_sphere(surfaces::sphere_cap(1530, 10, 0.2, 20, 0.1), criterion::zone);
     }),
     "the zone sphere is not determined: it flattens without bound", status::not_determined},
    {"zone cone of five points",
     checked<spanto::cone>([] { return fit_cone(ring(5, 1), criterion::zone); }),
     "a cone needs at least 6", status::too_few_points},
    {"circumscribed sphere of three points", checked<spanto::sphere>([] {
         return fit_sphere(set_of({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), criterion::circumscribed);
     }),
     "a sphere needs at least 4", status::too_few_points},
    {"zone line of one point", checked<spanto::line>([] {
         return fit_line(set_of({{1, 2, 3}}), criterion::zone);
     }),
     "a line needs at least 2", status::too_few_points},
    {"zone plane of collinear points",
     checked<spanto::plane>([] { return fit_plane(on_a_line(6), criterion::zone); }),
     "the points lie on one line", status::degenerate},
    {"circumscribed plane",
     checked<spanto::plane>([] { return fit_plane(ring(5), criterion::circumscribed); }),
     "criterion circumscribed is not defined for a plane", status::refused},
};

TEST(FitFailures, EachGivesItsReasonAndNoElement) {
    for (const failure_case& c : cases) {
        const fit_report r = c.fit();
        EXPECT_FALSE(r.valid()) << c.name;
        EXPECT_FALSE(static_cast<bool>(r)) << c.name;
        EXPECT_NE(r.error.find(c.reason), std::string::npos) << c.name << ": \"" << r.error << "\"";
        EXPECT_EQ(r.status, c.code) << c.name << ": " << status_name(r.status);
        EXPECT_TRUE(r.parameters.empty()) << c.name;
        EXPECT_FALSE(r.has_uncertainty) << c.name;
    }
}

}  // namespace
}  // namespace vantor
