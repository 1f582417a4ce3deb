// SPDX-License-Identifier: Apache-2.0
// Location tolerances of generated features whose deviations from their true positions are
// known in closed form, their invariance under rigid moves, and refusals.
#include "vantor/location.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "form/rigid_move.h"
#include "vantor/datum.h"

namespace vantor {
namespace {

using spanto::point;
using spanto::vector;

constexpr double pi = 3.14159265358979323846;
double rad(double degrees) { return degrees * pi / 180.0; }

const point zero(0, 0, 0);
const spanto::line z_axis(zero, vector(0, 0, 1));
const section_request gaps{section_request::rule::gaps, 0, {}};

// A unit vector tilted by `tilt` degrees from z towards the azimuth `toward` degrees.
vector tilted(double tilt, double toward) {
    return vector(std::sin(rad(tilt)) * std::cos(rad(toward)),
                  std::sin(rad(tilt)) * std::sin(rad(toward)), std::cos(rad(tilt)));
}

// A round feature about the axis through `base` along the unit vector a: sections across a at
// `heights` along it, 36 points each at radius r + form cos(lobes t), after an invalid point. The
// 36 equal angles cancel the first harmonic, so that each section's least-squares centre is base +
// h a; two lobes keep a section centrally symmetric (its least-squares centre stays put when seen
// at a slant), three give a shaft its circumscribed cylinder about that axis.
actual sections_of(point base, vector a, double r, int lobes, double form,
                   const std::vector<double>& heights) {
    const vector u = a.orthogonal(), v = a ^ u;
    actual points(static_cast<int>(36 * heights.size() + 1));
    points.append(std::nan(""), 0, 0);  // an invalid point, to be left out
    for (const double h : heights) {
        for (int j = 0; j < 36; ++j) {
            const double t = 2 * pi * j / 36, radius = r + form * std::cos(lobes * t);
            points.append(base + h * a + (radius * std::cos(t)) * u + (radius * std::sin(t)) * v);
        }
    }
    return points;
}

// The horizontal distance from the z axis of base + h a.
double off_z(point base, vector a, double h) {
    const point c = base + h * a;
    return std::hypot(c.x, c.y);
}

TEST(Location, HolesOffsetAndTiltedFromTheirTrueAxis) {
    // A hole of radius 10 whose axis leaves the true axis z at (dx, dy, 0) tilted by `tilt`
    // towards `toward`: the section centres base + h a lie off_z from z, the axis position is
    // twice the largest over its sections, a single section's position twice its own.
    struct hole_case {
        const char* name;
        double dx, dy, tilt, toward, form;
    };
    const std::vector<hole_case> cases = {
        {"on its true axis", 0, 0, 0, 0, 0.003},
        {"offset", 0.02, -0.015, 0, 0, 0.002},
        {"tilted", 0, 0, 0.05, 30, 0.002},
        {"offset and tilted back", 0.03, 0.01, 0.04, 200, 0.004},
        {"offset and tilted across", -0.01, 0.02, 0.1, 90, 0},
    };
    const std::vector<double> heights = {0, 20, 40};
    for (const hole_case& c : cases) {
        SCOPED_TRACE(c.name);
        const point base(c.dx, c.dy, 0);
        const vector a = tilted(c.tilt, c.toward);
        const actual hole = sections_of(base, a, 10, 2, c.form, heights);
        double expected = 0;
        for (const double h : heights) expected = std::max(expected, off_z(base, a, h));
        const location_result axis = axis_position(hole, z_axis, gaps);
        ASSERT_TRUE(axis.valid()) << axis.error;
        EXPECT_EQ(axis.status, status::ok);
        EXPECT_NEAR(axis.value, 2 * expected, 1e-9);
        EXPECT_NEAR(axis.deviation, expected, 1e-9);
        EXPECT_EQ(axis.points, 108);
        ASSERT_EQ(axis.centres.size(), 3u);
        EXPECT_NEAR(std::hypot(axis.actual.x, axis.actual.y), expected, 1e-9);

        const actual section = sections_of(base, a, 10, 2, c.form, {25});
        const location_result circle = circle_position(section, z_axis);
        ASSERT_TRUE(circle.valid()) << circle.error;
        EXPECT_NEAR(circle.value, 2 * off_z(base, a, 25), 1e-9);
        EXPECT_TRUE(circle.centres.empty());
    }
}

TEST(Location, SpheresAndPlanesAboutTheirTruePositions) {
    // A ball of radius 7 whose centre lies `offset` from its true position (1, 2, 3).
    for (const vector offset : {vector(0, 0, 0), vector(0.01, -0.02, 0.005), vector(0, 0, -0.1)}) {
        actual ball(400);
        for (int i = 0; i < 400; ++i) {  // Fibonacci directions
            const double z = 1 - (2 * i + 1) / 400.0, s = std::sqrt(1 - z * z), t = 2.4 * i;
            ball.append(point(1, 2, 3) + offset +
                        vector(7 * s * std::cos(t), 7 * s * std::sin(t), 7 * z));
        }
        const location_result r = point_position(ball, point(1, 2, 3));
        ASSERT_TRUE(r.valid()) << r.error;
        EXPECT_NEAR(r.value, 2 * offset.length(), 1e-9);
        EXPECT_NEAR((r.actual - point(1, 2, 3) - offset).length(), 0, 1e-9);
    }
    // A face 40 x 20 shifted by d from its true plane z = 0, rising by `slope` along x and
    // crowned by `crown` across y: its heights run from d + min(0, 40 slope) + min(0, crown) to
    // d + max(0, 40 slope) + max(0, crown).
    struct face_case {
        double d, slope, crown;
    };
    for (const face_case& c : {face_case{0.02, 0, 0}, face_case{-0.03, 0.0005, 0.004},
                               face_case{0.01, -0.001, 0.002}, face_case{0, 0, -0.006}}) {
        SCOPED_TRACE(c.d);
        actual face(21 * 11);
        for (int i = 0; i < 21; ++i) {
            for (int j = 0; j < 11; ++j) {
                const double x = 2.0 * i, y = 2.0 * j, w = (y - 10) / 10;
                face.append(x, y, c.d + c.slope * x + c.crown * (1 - w * w));
            }
        }
        const double low = c.d + std::min(0.0, 40 * c.slope) + std::min(0.0, c.crown);
        const double high = c.d + std::max(0.0, 40 * c.slope) + std::max(0.0, c.crown);
        const location_result r =
            plane_position(face, spanto::plane(point(5, 5, 0), vector(0, 0, -3)));
        ASSERT_TRUE(r.valid()) << r.error;
        EXPECT_NEAR(r.value, 2 * std::max(std::abs(low), std::abs(high)), 1e-12);
        EXPECT_NEAR(std::abs(r.actual.z), r.deviation, 1e-12);
        EXPECT_EQ(r.points, 231);
    }
}

// One face of a slot across the datum plane x = 0: x = x0 + slope y over y in [-15, 15],
// z in [0, 20].
actual slot_face(double x0, double slope) {
    actual face(11 * 11);
    for (int i = 0; i < 11; ++i) {
        for (int j = 0; j < 11; ++j) {
            const double y = -15 + 3.0 * i, z = 2.0 * j;
            face.append(x0 + slope * y, y, z);
        }
    }
    return face;
}

TEST(Location, SlotsWhoseMedianPlaneIsOffsetOrTilted) {
    // Faces at x = -5 + e + k y and x = 5 + e: each point's median with the other face's plane
    // lies at e + k y / 2, at most |e| + 15 |k| / 2 from the datum plane. The order of the faces
    // and the sense of the datum normal do not matter.
    struct slot_case {
        double e, k;
    };
    const spanto::plane yz(zero, vector(1, 0, 0)), zy(point(0, 3, 1), vector(-2, 0, 0));
    for (const slot_case& c :
         {slot_case{0, 0}, slot_case{0.02, 0}, slot_case{-0.01, 0.001}, slot_case{0.015, -0.002}}) {
        SCOPED_TRACE(c.e);
        const actual near = slot_face(-5 + c.e, c.k), far = slot_face(5 + c.e, 0);
        const double expected = std::abs(c.e) + 15 * std::abs(c.k) / 2;
        for (const location_result& r :
             {symmetry(near, far, yz), symmetry(far, near, yz), symmetry(near, far, zy)}) {
            ASSERT_TRUE(r.valid()) << r.error;
            EXPECT_NEAR(r.value, 2 * expected, 1e-9);
            EXPECT_NEAR(std::abs(r.actual.x), expected, 1e-9);
            EXPECT_EQ(r.points, 242);
        }
    }
}

TEST(Location, ShaftsAboutACommonDatumAxisOfTwoSeats) {
    // Seats A (z in [0, 10], its points mostly near 0) and B (z in [90, 100]), shafts of radius 15
    // with three lobes, whose
    // axes run along z through (0, 0) and through `b`: the common axis joins their middles
    // (0, 0, 5) and b + (0, 0, 95). The toleranced shaft between them (radius 10, sections at 30,
    // 45, 60 along its axis) lies off that line by the distances of its section centres.
    struct shaft_case {
        const char* name;
        vector b;
        point base;
        double tilt, toward;
    };
    const std::vector<shaft_case> cases = {
        {"coaxial", vector(0, 0, 0), point(0, 0, 0), 0, 0},
        {"offset", vector(0, 0, 0), point(0.01, 0.02, 0), 0, 0},
        {"tilted", vector(0, 0, 0), point(0, 0, 0), 0.02, 45},
        {"seat B off", vector(0.02, -0.01, 0), point(0.005, 0, 0), 0.01, 300},
    };
    for (const shaft_case& c : cases) {
        SCOPED_TRACE(c.name);
        const actual a = sections_of(zero, vector(0, 0, 1), 15, 3, 0.003, {0, 1, 2, 10});
        const actual b = sections_of(zero + c.b, vector(0, 0, 1), 15, 3, 0.003, {90, 95, 100});
        const datum_result<spanto::line> ab =
            common_datum_axis(a, feature_side::shaft, b, feature_side::shaft);
        ASSERT_TRUE(ab.valid()) << ab.error;
        const point ma(0, 0, 5), mb = point(0, 0, 95) + c.b;
        EXPECT_NEAR(ab.element.distance(ma), 0, 1e-9);
        EXPECT_NEAR(ab.element.distance(mb), 0, 1e-9);
        EXPECT_GT(ab.element.direction.z, 0);  // from A towards B

        const vector axis = tilted(c.tilt, c.toward);
        const actual shaft = sections_of(c.base, axis, 10, 2, 0.002, {30, 45, 60});
        const spanto::line exact(ma, mb - ma);
        double expected = 0;
        for (const double h : {30.0, 45.0, 60.0}) {
            expected = std::max(expected, exact.distance(c.base + h * axis));
        }
        const location_result r = coaxiality(shaft, ab.element, gaps);
        ASSERT_TRUE(r.valid()) << r.error;
        EXPECT_NEAR(r.value, 2 * expected, 1e-8);
        // One section of it, about the same axis.
        const location_result one =
            concentricity(sections_of(c.base, axis, 10, 2, 0.002, {30}), ab.element);
        ASSERT_TRUE(one.valid()) << one.error;
        const point centre = c.base + 30 * axis;
        EXPECT_NEAR(one.value, 2 * exact.distance(centre), 1e-8);
    }
}

TEST(Location, InvariantUnderRigidMovesOfThePart) {
    const actual seat_a = sections_of(zero, vector(0, 0, 1), 15, 3, 0.003, {0, 5, 10});
    const actual seat_b =
        sections_of(point(0.01, 0, 0), vector(0, 0, 1), 15, 3, 0.003, {90, 95, 100});
    const actual shaft =
        sections_of(point(0.01, -0.02, 0), tilted(0.03, 60), 10, 2, 0.002, {30, 45, 60});
    const actual ball = sections_of(point(1, 2, 3), vector(0, 0, 1), 7, 2, 0, {-3, 0, 3});
    const actual near = slot_face(-4.98, 0.001), far = slot_face(5.02, 0);
    const spanto::plane yz(zero, vector(1, 0, 0));
    using evaluation = std::function<location_result(const testing::rigid_move*)>;
    // Each evaluation moves the part and its true geometry by `m` (none: the part as made).
    auto moved = [](const testing::rigid_move* m, const actual& p) { return m ? m->moved(p) : p; };
    auto line = [](const testing::rigid_move* m, const spanto::line& l) {
        return m ? m->moved(l) : l;
    };
    const std::vector<std::pair<const char*, evaluation>> cases = {
        {"point position",
         [&](const testing::rigid_move* m) {
             return point_position(moved(m, ball),
                                   m ? m->moved(point(1, 2, 3.01)) : point(1, 2, 3.01));
         }},
        {"circle position",
         [&](const testing::rigid_move* m) {
             return circle_position(
                 moved(m, sections_of(point(0.01, 0, 0), tilted(0.1, 10), 10, 2, 0.002, {20})),
                 line(m, z_axis));
         }},
        {"axis position",
         [&](const testing::rigid_move* m) {
             return axis_position(moved(m, shaft), line(m, z_axis), gaps);
         }},
        {"plane position",
         [&](const testing::rigid_move* m) {
             const spanto::plane at(point(0, 0, 0.01), vector(1, 0, 0));
             return plane_position(moved(m, near), m ? m->moved(at) : at);
         }},
        {"symmetry",
         [&](const testing::rigid_move* m) {
             return symmetry(moved(m, near), moved(m, far), m ? m->moved(yz) : yz);
         }},
        {"coaxiality about A-B",
         [&](const testing::rigid_move* m) {
             const datum_result<spanto::line> ab = common_datum_axis(
                 moved(m, seat_a), feature_side::shaft, moved(m, seat_b), feature_side::shaft);
             if (!ab.valid()) {
                 location_result r;
                 r.error = ab.error;
                 return r;
             }
             return coaxiality(moved(m, shaft), ab.element, gaps);
         }},
    };
    std::mt19937 rng(11);
    for (const auto& [name, evaluate] : cases) {
        SCOPED_TRACE(name);
        const location_result base = evaluate(nullptr);
        ASSERT_TRUE(base.valid()) << base.error;
        EXPECT_GT(base.value, 1e-3);
        for (const double distance : {50.0, 1e4}) {
            const testing::rigid_move move(rng, distance);
            const location_result r = evaluate(&move);
            ASSERT_TRUE(r.valid()) << r.error;
            EXPECT_NEAR(r.value, base.value, 1e-9 * (1 + distance / 1e2)) << distance;
        }
    }
}

TEST(Location, RefusesWhatItCannotEvaluate) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<point> three = {{10, 0, 0}, {0, 10, 0}, {-10, 0, 0}};
    const actual few(three.data(), 3, 3), two(three.data(), 2, 2);
    const std::vector<point> far = {{10, 0, 0}, {0, 10, 0}, {-10, 0, inf}, {0, -10, 0}};
    const actual infinite(far.data(), 4, 4);
    const actual hole = sections_of(zero, vector(0, 0, 1), 10, 3, 0.002, {0, 20});
    const actual section = sections_of(zero, vector(0, 0, 1), 10, 2, 0, {0});
    const actual face = slot_face(-5, 0), across = slot_face(0, 0);
    actual upright(121);  // a face in the plane y = 0, across the datum plane x = 0
    for (const point& p : across) upright.append(p.y, 0, p.z);
    const spanto::line no_direction(zero, vector(0, 0, 0));
    spanto::line nowhere = z_axis;
    nowhere.origin = point(nan, 0, 0);
    spanto::plane no_normal(zero, vector(1, 0, 0));
    no_normal.normal = vector(0, 0, 0);
    const spanto::plane yz(zero, vector(1, 0, 0));
    const std::vector<point> large = {{1.5e308, 0, 0}, {1.5e308, 1, 0}, {1.5e308, 0, 1}};
    const actual huge(large.data(), 3, 3);
    const spanto::plane beyond(point(-1.5e308, 0, 0), vector(1, 0, 0));
    const datum_result<spanto::line> side_by_side = common_datum_axis(
        hole, feature_side::hole,
        sections_of(point(40, 0, 0), vector(0, 0, 1), 10, 3, 0.002, {0, 20}), feature_side::hole);
    const datum_result<spanto::line> b_too_few =
        common_datum_axis(hole, feature_side::hole, few, feature_side::hole);
    struct refusal {
        const char* name;
        location_result result;
        status expected;
    };
    const std::vector<refusal> cases = {
        {"sphere of 3 points", point_position(few, zero), status::too_few_points},
        {"true position NaN", point_position(hole, point(0, nan, 0)), status::refused},
        {"circle of 2 points", circle_position(two, z_axis), status::too_few_points},
        {"circle, zero axis", circle_position(section, no_direction), status::refused},
        {"circle, infinite point", circle_position(infinite, z_axis), status::invalid_points},
        {"concentricity, axis not finite", concentricity(section, nowhere), status::refused},
        {"axis of one section", axis_position(section, z_axis, gaps), status::degenerate},
        {"axis, zero direction", axis_position(hole, no_direction, gaps), status::refused},
        {"coaxiality, axis not finite", coaxiality(hole, nowhere, gaps), status::refused},
        {"plane of 2 points", plane_position(two, yz), status::too_few_points},
        {"plane, zero normal", plane_position(face, no_normal), status::refused},
        {"symmetry, face of 2 points", symmetry(face, two, yz), status::too_few_points},
        {"symmetry, zero normal", symmetry(face, face, no_normal), status::refused},
        {"symmetry, face across the datum", symmetry(face, upright, yz), status::degenerate},
        {"distances beyond the doubles", plane_position(huge, beyond), status::invalid_points},
    };
    for (const refusal& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.result.valid());
        EXPECT_EQ(c.result.status, c.expected)
            << status_name(c.result.status) << ": " << c.result.error;
        EXPECT_EQ(c.result.value, 0.0);
        EXPECT_TRUE(c.result.centres.empty());
    }
    EXPECT_FALSE(side_by_side.valid());
    EXPECT_EQ(side_by_side.status, status::degenerate) << side_by_side.error;
    EXPECT_FALSE(b_too_few.valid());
    EXPECT_EQ(b_too_few.error.rfind("datum B: ", 0), 0u) << b_too_few.error;
}

}  // namespace
}  // namespace vantor
