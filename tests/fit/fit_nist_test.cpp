// SPDX-License-Identifier: Apache-2.0
// The least-squares fits of the fitting interface against NIST's reference fits (computed in
// extended precision): every set of plane, sphere, cylinder, cone and 2-D circle, every
// parameter within 1e-8. Unoriented directions are compared up to sign, axis points as lines
// (the reference point must lie on the fitted axis).
#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "vantor/fit.h"

namespace vantor {
namespace {

struct nist_set {
    actual points{0};
    std::vector<double> reference;  // the numbers of the .fit file
};

nist_set read_set(const std::string& stem) {
    const std::string base = std::string(VANTOR_TEST_DATA) + "/" + stem;
    std::ifstream ds(base + ".ds"), fit(base + ".fit");
    nist_set set;
    int count = 0;
    ds >> count;
    set.points = actual(count);
    double x, y, z;
    while (ds >> x >> y >> z) set.points.append(x, y, z);
    EXPECT_EQ(set.points.numpoints(), count) << stem;
    for (double v; fit >> v;) set.reference.push_back(v);
    return set;
}

spanto::point point_at(const std::vector<double>& r, int k) { return {r[k], r[k + 1], r[k + 2]}; }
spanto::vector vector_at(const std::vector<double>& r, int k) { return {r[k], r[k + 1], r[k + 2]}; }

double largest_difference(const spanto::vector& a, const spanto::vector& b) {
    return std::max({std::abs(a.x - b.x), std::abs(a.y - b.y), std::abs(a.z - b.z)});
}

double up_to_sign(const spanto::vector& a, const spanto::vector& b) {
    return std::min(largest_difference(a, b), largest_difference(a, -b));
}

// The largest difference of a fit from its reference over every parameter; a failed fit
// counts as infinitely far.
using comparison = std::function<double(const actual&, const std::vector<double>&)>;

const comparison plane = [](const actual& points, const std::vector<double>& r) {
    const fit_result<spanto::plane> f = fit_plane(points);
    if (!f) return HUGE_VAL;
    return std::max(std::abs(f.element.sdistance(point_at(r, 0))),
                    up_to_sign(f.element.normal, vector_at(r, 3)));
};

const comparison sphere = [](const actual& points, const std::vector<double>& r) {
    const fit_result<spanto::sphere> f = fit_sphere(points);
    if (!f) return HUGE_VAL;
    return std::max(largest_difference(f.element.centre - point_at(r, 0), {0, 0, 0}),
                    std::abs(f.element.radius - 0.5 * r[3]));
};

const comparison cylinder = [](const actual& points, const std::vector<double>& r) {
    const fit_result<spanto::cylinder> f = fit_cylinder(points);
    if (!f) return HUGE_VAL;
    return std::max({f.element.axisline().distance(point_at(r, 0)),
                     up_to_sign(f.element.direction, vector_at(r, 3)),
                     std::abs(f.element.radius - 0.5 * r[6])});
};

// The reference: a point on the axis, the direction towards increasing radius, the distance
// of that point from the surface and the full apex angle in degrees.
const comparison cone = [](const actual& points, const std::vector<double>& r) {
    const fit_result<spanto::cone> f = fit_cone(points);
    if (!f) return HUGE_VAL;
    const spanto::point on_axis = point_at(r, 0);
    return std::max({f.element.rotaxis().distance(on_axis),
                     largest_difference(f.element.rotaxis().direction, vector_at(r, 3)),
                     std::abs(std::abs(f.element.sdistance(on_axis)) - r[6]),
                     std::abs(2.0 * f.parameters[2].value[0] - r[7])});
};

// Fitted along the reference normal.
const comparison circle = [](const actual& points, const std::vector<double>& r) {
    const fit_result<spanto::circle> f = fit_circle(points, vector_at(r, 3));
    if (!f) return HUGE_VAL;
    return std::max(largest_difference(f.element.centre - point_at(r, 0), {0, 0, 0}),
                    std::abs(f.element.radius - 0.5 * r[6]));
};

TEST(FitNist, EverySetWithin1e8OfTheReference) {
    const struct {
        const char* stem;  // directory and file prefix
        const comparison& compare;
    } elements[] = {{"nist-l2/plane/pla", plane},
                    {"nist-l2/sphere/sph", sphere},
                    {"nist-l2/cylinder/cyl", cylinder},
                    {"nist-l2/cone/con", cone},
                    {"nist-circle2d/cir2d", circle}};
    for (const auto& element : elements) {
        double worst = 0.0;
        for (int number = 1; number <= 30; ++number) {
            const std::string stem = element.stem + std::to_string(number);
            const nist_set set = read_set(stem);
            const double difference = element.compare(set.points, set.reference);
            EXPECT_LE(difference, 1e-8) << stem;
            worst = std::max(worst, difference);
        }
        std::printf("%-22s worst difference %.2g\n", element.stem, worst);
    }
}

}  // namespace
}  // namespace vantor
