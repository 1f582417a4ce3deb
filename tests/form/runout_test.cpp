// SPDX-License-Identifier: Apache-2.0
#include "vantor/orientation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "form/rigid_move.h"

namespace vantor {
namespace {

constexpr double pi = 3.14159265358979323846;

const spanto::line z_axis(spanto::point(0, 0, 0), spanto::vector(0, 0, 1));

// One section of a shaft about the z axis: radius r with a 3-lobed form of amplitude a, its
// centre offset by e towards the angle psi, at height z; 72 points, so that the angles psi and
// psi + pi (where the distance from the axis is r + e + a and r - e - a) are measured.
struct shaft_section {
    double z, r, e, psi, a;
};

actual shaft(const std::vector<shaft_section>& sections) {
    actual points(static_cast<int>(72 * sections.size()));
    for (const shaft_section& s : sections) {
        for (int j = 0; j < 72; ++j) {
            const double t = s.psi + 2 * pi * j / 72, r = s.r + s.a * std::cos(3 * (t - s.psi));
            points.append(s.e * std::cos(s.psi) + r * std::cos(t),
                          s.e * std::sin(s.psi) + r * std::sin(t), s.z);
        }
    }
    return points;
}

TEST(Runout, EccentricShaftsGiveTwiceTheirEccentricityPlusTheirRoundness) {
    struct shaft_case {
        const char* name;
        std::vector<shaft_section> sections;
    };
    const std::vector<shaft_case> cases = {
        {"centred, round", {{0, 20, 0, 0, 0}, {30, 20, 0, 0, 0}}},
        {"eccentric", {{0, 20, 0.01, 0, 0}, {15, 20, 0.03, 1.0, 0}, {30, 20, 0.02, 4.0, 0}}},
        {"eccentric and lobed", {{0, 20, 0.01, 0.5, 0.002}, {40, 20, 0.005, 2.0, 0.002}}},
        {"tapered", {{0, 20, 0.01, 0, 0.001}, {25, 19.9, 0.0, 0, 0.001}, {50, 19.8, 0.02, 3, 0}}},
    };
    const section_request gaps{section_request::rule::gaps, 0, {}};
    for (const shaft_case& c : cases) {
        SCOPED_TRACE(c.name);
        const actual points = shaft(c.sections);
        const runout_result circular = circular_radial_runout(points, z_axis, gaps);
        ASSERT_TRUE(circular.valid()) << circular.error;
        ASSERT_EQ(circular.circles.size(), c.sections.size());
        double worst = 0, high = -1e9, low = 1e9;
        for (std::size_t k = 0; k < c.sections.size(); ++k) {
            const shaft_section& s = c.sections[k];
            EXPECT_NEAR(circular.circles[k].value, 2 * s.e + 2 * s.a, 1e-9) << k;
            EXPECT_NEAR(circular.circles[k].minimum, s.r - s.e - s.a, 1e-9) << k;
            EXPECT_EQ(circular.circles[k].points, 72);
            worst = std::max(worst, 2 * s.e + 2 * s.a);
            high = std::max(high, s.r + s.e + s.a);
            low = std::min(low, s.r - s.e - s.a);
        }
        EXPECT_NEAR(circular.value, worst, 1e-9);
        EXPECT_NEAR(circular.circles[circular.worst].value, circular.value, 0.0);
        const runout_result all = total_radial_runout(points, z_axis);
        ASSERT_TRUE(all.valid()) << all.error;
        EXPECT_NEAR(all.value, high - low, 1e-9);
        EXPECT_EQ(all.points, points.numpoints());
    }
}

// A face across the z axis at height 5, tilted by `wobble` degrees about the x axis: rings of
// 72 points at the radii given, each raised by its step.
actual face(const std::vector<double>& radii, const std::vector<double>& steps, double wobble) {
    actual points(static_cast<int>(72 * radii.size()));
    for (std::size_t k = 0; k < radii.size(); ++k) {
        for (int j = 0; j < 72; ++j) {
            const double t = 2 * pi * j / 72, y = radii[k] * std::sin(t);
            points.append(radii[k] * std::cos(t), y,
                          5 + steps[k] + y * std::tan(wobble * pi / 180));
        }
    }
    return points;
}

TEST(Runout, AFaceWithKnownWobbleGivesItsAxialRunout) {
    const double wobble = 0.01, slope = std::tan(wobble * pi / 180);
    // The ring at radius 25 stands 0.05 proud: outside every band, inside the total.
    const actual points = face({10, 20, 25, 30}, {0, 0, 0.05, 0}, wobble);
    const runout_result circular = circular_axial_runout(points, z_axis, {10, 20, 30}, 0.5);
    ASSERT_TRUE(circular.valid()) << circular.error;
    ASSERT_EQ(circular.circles.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        const double r = circular.circles[k].position;
        EXPECT_NEAR(circular.circles[k].value, 2 * r * slope, 1e-12);
        EXPECT_NEAR(circular.circles[k].minimum, 5 - r * slope, 1e-12);
        EXPECT_EQ(circular.circles[k].points, 72);
    }
    EXPECT_EQ(circular.worst, 2);
    EXPECT_NEAR(circular.value, 60 * slope, 1e-12);
    const runout_result all = total_axial_runout(points, z_axis);
    ASSERT_TRUE(all.valid()) << all.error;
    EXPECT_NEAR(all.value, (0.05 + 25 * slope) + 30 * slope, 1e-12);
    // A datum axis pointing the other way measures positions from its origin the other way.
    const runout_result reversed =
        total_axial_runout(points, spanto::line(spanto::point(0, 0, 1), spanto::vector(0, 0, -1)));
    ASSERT_TRUE(reversed.valid()) << reversed.error;
    EXPECT_NEAR(reversed.value, all.value, 1e-12);
    EXPECT_NEAR(reversed.maximum, -4 + 30 * slope, 1e-12);
}

TEST(Runout, InvariantUnderRigidMovesOfPartAndDatum) {
    const actual shaft_points =
        shaft({{0, 20, 0.01, 0.3, 0.002}, {30, 20.01, 0.02, 2, 0.001}, {60, 20, 0.004, 5, 0}});
    const actual face_points = face({10, 20, 30}, {0, 0.01, 0}, 0.02);
    struct measure {
        const char* name;
        const actual& part;
        runout_result (*evaluate)(const actual&, const spanto::line&);
    };
    const std::vector<measure> measures = {
        {"circular radial", shaft_points,
         [](const actual& p, const spanto::line& d) {
             return circular_radial_runout(p, d, {section_request::rule::gaps, 0, {}});
         }},
        {"total radial", shaft_points, total_radial_runout},
        {"circular axial", face_points,
         [](const actual& p, const spanto::line& d) {
             return circular_axial_runout(p, d, {10, 20, 30}, 0.5);
         }},
        {"total axial", face_points, total_axial_runout},
    };
    std::mt19937 rng(11);
    for (const measure& m : measures) {
        SCOPED_TRACE(m.name);
        const runout_result base = m.evaluate(m.part, z_axis);
        ASSERT_TRUE(base.valid()) << base.error;
        EXPECT_GT(base.value, 1e-3);
        for (const double distance : {0.0, 50.0, 1e5}) {
            const testing::rigid_move move(rng, distance);
            const runout_result r = m.evaluate(move.moved(m.part), move.moved(z_axis));
            ASSERT_TRUE(r.valid()) << r.error;
            EXPECT_NEAR(r.value, base.value, 1e-9 * (1 + distance / 1e3)) << distance;
        }
    }
}

TEST(Runout, RefusesWhatItCannotEvaluate) {
    const actual shaft_points = shaft({{0, 20, 0.01, 0, 0}, {30, 20, 0, 0, 0}});
    actual with_stray(shaft_points.numpoints() + 2);
    for (const spanto::point& p : shaft_points) with_stray.append(p);
    with_stray.append(20, 0, 90);  // a section of two points far along the axis
    with_stray.append(0, 20, 90);
    const std::vector<spanto::point> two_points = {{1, 0, 0}, {0, 1, 0}};
    const actual two(two_points.data(), 2, 2);
    const actual on_axis(std::vector<spanto::point>{{0, 0, 0}, {0, 0, 1}, {0, 0, 2}}.data(), 3, 3);
    const double inf = std::numeric_limits<double>::infinity();
    const actual infinite(std::vector<spanto::point>{{1, 0, 0}, {0, 1, 0}, {inf, 0, 0}}.data(), 3,
                          3);
    spanto::line no_direction = z_axis;
    no_direction.direction = spanto::vector(0, 0, 0);
    const actual rings = face({10, 20}, {0, 0}, 0.01);
    const section_request gaps{section_request::rule::gaps, 0, {}};
    const section_request five{section_request::rule::count, 5, {}};
    struct refusal {
        const char* name;
        runout_result result;
        status expected;
    };
    const std::vector<refusal> cases = {
        {"two points", total_radial_runout(two, z_axis), status::too_few_points},
        {"two points, axial", total_axial_runout(two, z_axis), status::too_few_points},
        {"zero direction", total_radial_runout(shaft_points, no_direction), status::refused},
        {"zero direction, circular", circular_radial_runout(shaft_points, no_direction, gaps),
         status::refused},
        {"infinite coordinate", total_axial_runout(infinite, z_axis), status::invalid_points},
        {"a section of two points", circular_radial_runout(with_stray, z_axis, gaps),
         status::too_few_points},
        {"more sections than gaps", circular_radial_runout(shaft_points, z_axis, five),
         status::refused},
        {"points on the axis", circular_radial_runout(on_axis, z_axis, gaps), status::degenerate},
        {"no radii", circular_axial_runout(rings, z_axis, {}, 0.5), status::refused},
        {"negative radius", circular_axial_runout(rings, z_axis, {-1}, 0.5), status::refused},
        {"zero half width", circular_axial_runout(rings, z_axis, {10}, 0), status::refused},
        {"NaN half width", circular_axial_runout(rings, z_axis, {10}, std::nan("")),
         status::refused},
        {"an empty band", circular_axial_runout(rings, z_axis, {10, 15}, 0.5),
         status::too_few_points},
    };
    for (const refusal& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.result.valid());
        EXPECT_EQ(c.result.status, c.expected)
            << status_name(c.result.status) << ": " << c.result.error;
        EXPECT_EQ(c.result.value, 0.0);
        EXPECT_TRUE(c.result.circles.empty());
    }
}

}  // namespace
}  // namespace vantor
