// SPDX-License-Identifier: Apache-2.0
// Datums of generated parts whose datums are known in closed form, in random poses; datum
// systems built from the same part in different poses and point orders; refusals; and a seeded
// comparison of the datum plane with an exhaustive reference on small sets.
#include <algorithm>
#include <cmath>
#include <functional>
#include <iostream>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "vantor/datum.h"

namespace vantor {
namespace {

using spanto::point;
using spanto::vector;

constexpr double pi = 3.14159265358979323846;
const point zero(0.0, 0.0, 0.0);

// A seeded rigid move: a rotation about a random axis through the origin, then a translation of
// length `reach` in a random direction.
struct pose {
    spanto::trafo t;
    pose() = default;
    pose(std::mt19937_64& rng, double reach) {
        std::uniform_real_distribution<double> u(-1.0, 1.0);
        const vector about = vector(u(rng), u(rng), u(rng)).unit();
        const vector shift = reach * vector(u(rng), u(rng), u(rng)).unit();
        t = spanto::trafo(shift) * spanto::trafo(spanto::axis(zero, about), pi * u(rng));
    }
    point operator()(const point& p) const { return t.apply(p); }
    vector operator()(const vector& v) const { return t.apply(v); }
};

// The points moved by `move`, in an order shuffled by `rng`.
actual moved(const std::vector<point>& points, const pose& move, std::mt19937_64& rng) {
    std::vector<point> order = points;
    std::shuffle(order.begin(), order.end(), rng);
    actual a(static_cast<int>(order.size()));
    for (const point& p : order) a.append(move(p));
    return a;
}

// A grid of n x n points over [x0, x0 + a] x [y0, y0 + b], mapped by `at`.
std::vector<point> grid(int n, double a, double b, const std::function<point(double, double)>& at) {
    std::vector<point> points;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) points.push_back(at(a * i / (n - 1), b * j / (n - 1)));
    return points;
}

// Points at `heights` on the surface r = radius + lobes * cos(3 theta) about the z axis through
// (cx, cy): three lobes, so that the inscribed radius is radius - lobes and the circumscribed
// radius + lobes, both about that axis.
std::vector<point> lobed_bore(double cx, double cy, double radius, double lobes,
                              const std::vector<double>& heights) {
    std::vector<point> points;
    for (double z : heights)
        for (int k = 0; k < 120; ++k) {
            const double t = 2 * pi * k / 120, r = radius + lobes * std::cos(3 * t);
            points.emplace_back(cx + r * std::cos(t), cy + r * std::sin(t), z);
        }
    return points;
}

// ---- datum planes of faces whose datum is known ----

struct plane_case {
    const char* name;
    std::vector<point> points;
    vector outward;
    vector normal;  // the expected datum plane: unit normal and a point on it
    point on;
    double width;  // the largest distance of a point from it
};

std::vector<plane_case> plane_cases() {
    std::vector<plane_case> cases;
    // A dish whose four corners are high: the datum rests on them.
    cases.push_back({"four high corners",
                     grid(11, 10, 10,
                          [](double x, double y) {
                              const double u = x - 5, v = y - 5;
                              return point(x, y, -0.002 * (1 - std::abs(u * v) / 25));
                          }),
                     vector(0, 0, 1), vector(0, 0, 1), point(0, 0, 0), 0.002});
    // One high spike in a flat face: the datum is parallel to the face, through the spike.
    std::vector<point> spike = grid(9, 8, 8, [](double x, double y) { return point(x, y, 0); });
    spike[40].z = 0.01;  // the centre
    cases.push_back(
        {"one high spike", spike, vector(0, 0, 1), vector(0, 0, 1), point(0, 0, 0.01), 0.01});
    // A tilted face with a dent into the material in its middle, measured with a rough outward
    // direction: the datum is the face's own plane.
    const vector tilted = vector(-0.1, -0.05, 1).unit();
    cases.push_back({"tilted face with a dent",
                     grid(9, 8, 8,
                          [](double x, double y) {
                              const double r2 = (x - 4) * (x - 4) + (y - 4) * (y - 4);
                              return point(x, y, 0.1 * x + 0.05 * y - 0.02 * std::exp(-r2));
                          }),
                     vector(0.3, 0.2, 1), tilted, point(0, 0, 0), 0.02 * tilted.z});
    // The material above: the outward direction points down, and so does the datum's normal.
    cases.push_back({"face underneath",
                     grid(11, 10, 10,
                          [](double x, double y) {
                              const double u = x - 5, v = y - 5;
                              return point(x, y, 3 + 0.002 * (1 - std::abs(u * v) / 25));
                          }),
                     vector(0.1, 0, -1), vector(0, 0, -1), point(0, 0, 3), 0.002});
    return cases;
}

TEST(DatumPlane, TouchesTheKnownHighPointsInEveryPose) {
    std::mt19937_64 rng(5459);
    for (const plane_case& c : plane_cases()) {
        for (double reach : {0.0, 10.0, 1e4}) {
            for (int trial = 0; trial < 4; ++trial) {
                const pose move = reach == 0.0 && trial == 0 ? pose() : pose(rng, reach);
                const actual points = moved(c.points, move, rng);
                const datum_result<spanto::plane> d = datum_plane(points, move(c.outward));
                SCOPED_TRACE(std::string(c.name) + ", reach " + std::to_string(reach));
                ASSERT_TRUE(d.valid()) << d.error;
                EXPECT_EQ(d.status, status::ok);
                const vector n = move(c.normal);
                const double tol = 1e-10 * (20 + reach);
                EXPECT_NEAR((d.element.normal - n).length(), 0.0, 1e-10);
                EXPECT_NEAR(d.element.sdistance(move(c.on)), 0.0, tol);
                EXPECT_NEAR(d.fit.objective, c.width, tol);
                // Every point on the material side, the farthest at the width.
                double lowest = 0.0, highest = -HUGE_VAL;
                for (const point& p : points) {
                    lowest = std::min(lowest, d.element.sdistance(p));
                    highest = std::max(highest, d.element.sdistance(p));
                }
                EXPECT_NEAR(highest, 0.0, tol);
                EXPECT_NEAR(-lowest, c.width, tol);
            }
        }
    }
}

// ---- datum axes and centres ----

TEST(DatumAxis, BoresAndShaftsGiveTheAxisOfTheirInscribedOrCircumscribedElement) {
    std::mt19937_64 rng(1101);
    const std::vector<point> bore = lobed_bore(2, -1, 5, 0.01, {0, 3, 6, 9});
    const std::vector<point> section = lobed_bore(2, -1, 5, 0.01, {4});
    for (const feature_side side : {feature_side::hole, feature_side::shaft}) {
        const double radius = side == feature_side::hole ? 4.99 : 5.01;
        for (double reach : {0.0, 100.0, 1e4}) {
            const pose move(rng, reach);
            const point on = move(point(2, -1, 0));
            const vector along = move(vector(0, 0, 1));
            const double tol = 1e-9 * (10 + reach);
            SCOPED_TRACE((side == feature_side::hole ? "hole, reach " : "shaft, reach ") +
                         std::to_string(reach));
            const actual cylinder_points = moved(bore, move, rng);
            const actual circle_points = moved(section, move, rng);
            const datum_result<spanto::line> axes[] = {
                datum_axis(cylinder_points, side),
                datum_circle_axis(circle_points, side),
                datum_circle_axis(circle_points, 3.0 * along, side),
            };
            for (const datum_result<spanto::line>& a : axes) {
                ASSERT_TRUE(a.valid()) << a.error;
                EXPECT_NEAR(std::abs(dot(a.element.direction, along)), 1.0, 1e-12);
                EXPECT_NEAR(a.element.distance(on), 0.0, tol);
                EXPECT_NEAR(a.fit.objective, radius, tol);
            }
        }
    }
}

TEST(DatumCentre, SpheresGiveTheirCentre) {
    std::mt19937_64 rng(8);
    std::vector<point> ball;
    for (int i = 0; i < 400; ++i) {  // a Fibonacci sphere of radius 7 about (1, 2, 3)
        const double z = 1 - (2 * i + 1) / 400.0, r = std::sqrt(1 - z * z), t = 2.4 * i;
        ball.emplace_back(1 + 7 * r * std::cos(t), 2 + 7 * r * std::sin(t), 3 + 7 * z);
    }
    for (const feature_side side : {feature_side::hole, feature_side::shaft}) {
        for (double reach : {0.0, 1e3}) {
            const pose move(rng, reach);
            const datum_result<point> c = datum_centre(moved(ball, move, rng), side);
            ASSERT_TRUE(c.valid()) << c.error;
            EXPECT_NEAR((c.element - move(point(1, 2, 3))).length(), 0.0, 1e-9 * (10 + reach));
        }
    }
}

// ---- datum systems ----

// A block [0, 40] x [0, 30] x [0, 20] measured on its top (A), its face x = 0 (B, leaning by
// 1/1000 so that only its bottom edge touches the plane constrained perpendicular to A) and its
// face y = 0 (C, wavy into the material). A rests on its four high corners at z = 20.
struct block {
    std::vector<point> top, left, front;
    block() {
        top = grid(9, 40, 30, [](double x, double y) {
            return point(x, y, 20 - 0.003 * (1 - std::abs((x - 20) * (y - 15)) / 300));
        });
        left = grid(9, 30, 20, [](double y, double z) { return point(0.001 * z, y, z); });
        front = grid(9, 40, 20, [](double x, double z) {
            return point(x, 0.002 * std::pow(std::sin(x / 7), 2), z);
        });
    }
};

// A plate with its top face at z = 0 (A), a bore of radius 3 at (10, 5) (B), one of radius 2 at
// (30, 5) (C) and its front face y = -5 (C as a face). Both bores are three-lobed, so that their
// axes are known.
struct plate {
    std::vector<point> top, bore, hole, front;
    plate() {
        top = grid(9, 40, 10, [](double x, double y) { return point(x, y, 0); });
        bore = lobed_bore(10, 5, 3, 0.004, {-1, -4, -7});
        hole = lobed_bore(30, 5, 2, 0.002, {-2, -5});
        front = grid(6, 40, 7, [](double x, double z) { return point(x, -5, -z); });
    }
};

// A shaft of radius 5 along z from z = 0 to 30 (A, three-lobed) standing on a flange whose face
// (B, an annulus at z = 0 facing -z) leans into the material, touching z = 0 at x = -10 only,
// and whose side y = 8 (C) faces +y.
struct shouldered_shaft {
    std::vector<point> shaft, shoulder, side;
    shouldered_shaft() {
        shaft = lobed_bore(0, 0, 5, 0.003, {2, 10, 20, 28});
        for (int i = 0; i < 5; ++i)
            for (int k = 0; k < 36; ++k) {
                const double r = 6 + i, t = 2 * pi * k / 36, x = r * std::cos(t);
                shoulder.emplace_back(x, r * std::sin(t), 0.001 * (x + 10));
            }
        side = grid(5, 10, 4, [](double x, double z) { return point(x - 5, 8, -z - 1); });
    }
};

struct system_case {
    const char* name;
    std::function<datum_frame(const pose&, std::mt19937_64&)> build;
    point origin;
    vector x, z;
    bool rotation_fixed;
};

std::vector<system_case> system_cases() {
    auto face = [](const std::vector<point>& p, vector outward, const pose& move,
                   std::mt19937_64& rng, actual& store) {
        store = moved(p, move, rng);
        return datum_feature::face(store, move(outward));
    };
    auto round = [](const std::vector<point>& p, feature_side side, const pose& move,
                    std::mt19937_64& rng, actual& store) {
        store = moved(p, move, rng);
        return datum_feature::round(store, side);
    };
    return {
        {"3-2-1 block",
         [face](const pose& m, std::mt19937_64& rng) {
             const block b;
             actual a(1), l(1), f(1);
             return datum_system(face(b.top, vector(0, 0, 1), m, rng, a),
                                 face(b.left, vector(-1, 0.2, 0.1), m, rng, l),
                                 face(b.front, vector(0, -1, 0), m, rng, f));
         },
         point(0, 0, 20), vector(-1, 0, 0), vector(0, 0, 1), true},
        {"plate: face | bore | bore",
         [face, round](const pose& m, std::mt19937_64& rng) {
             const plate p;
             actual a(1), b(1), c(1);
             return datum_system(face(p.top, vector(0, 0, 1), m, rng, a),
                                 round(p.bore, feature_side::hole, m, rng, b),
                                 round(p.hole, feature_side::hole, m, rng, c));
         },
         point(10, 5, 0), vector(1, 0, 0), vector(0, 0, 1), true},
        {"plate: face | bore | face",
         [face, round](const pose& m, std::mt19937_64& rng) {
             const plate p;
             actual a(1), b(1), c(1);
             return datum_system(face(p.top, vector(0, 0, 1), m, rng, a),
                                 round(p.bore, feature_side::hole, m, rng, b),
                                 face(p.front, vector(0, -1, 0), m, rng, c));
         },
         point(10, 5, 0), vector(0, -1, 0), vector(0, 0, 1), true},
        {"shaft | shoulder | side",
         [face, round](const pose& m, std::mt19937_64& rng) {
             const shouldered_shaft p;
             actual a(1), b(1), c(1);
             return datum_system(round(p.shaft, feature_side::shaft, m, rng, a),
                                 face(p.shoulder, vector(0.2, 0, -1), m, rng, b),
                                 face(p.side, vector(0, 1, 0), m, rng, c));
         },
         point(0, 0, 0), vector(0, 1, 0), vector(0, 0, -1), true},
        {"plate: face | shaft (rotation free)",
         [face, round](const pose& m, std::mt19937_64& rng) {
             const plate p;
             actual a(1), b(1);
             return datum_system(face(p.top, vector(0, 0, 1), m, rng, a),
                                 round(p.bore, feature_side::shaft, m, rng, b));
         },
         point(10, 5, 0), vector(), vector(0, 0, 1), false},
    };
}

TEST(DatumSystem, GivesTheSameFrameForEveryPoseAndPointOrder) {
    std::mt19937_64 rng(321);
    for (const system_case& c : system_cases()) {
        for (double reach : {0.0, 50.0, 1e4}) {
            for (int trial = 0; trial < 3; ++trial) {
                const pose move = reach == 0.0 && trial == 0 ? pose() : pose(rng, reach);
                const datum_frame f = c.build(move, rng);
                SCOPED_TRACE(std::string(c.name) + ", reach " + std::to_string(reach));
                ASSERT_TRUE(f.valid()) << f.error;
                EXPECT_EQ(f.rotation_fixed, c.rotation_fixed);
                const double tol = 1e-9 * (40 + reach);
                EXPECT_NEAR((f.origin - move(c.origin)).length(), 0.0, tol);
                EXPECT_NEAR((f.z - move(c.z)).length(), 0.0, 1e-10);
                if (c.rotation_fixed) {
                    EXPECT_NEAR((f.x - move(c.x)).length(), 0.0, 1e-10);
                }
                // Right-handed and orthonormal, whether the rotation is fixed or not.
                EXPECT_NEAR(((f.x ^ f.y) - f.z).length(), 0.0, 1e-12);
                EXPECT_NEAR(dot(f.x, f.z), 0.0, 1e-12);
                EXPECT_NEAR(f.x.length(), 1.0, 1e-12);
            }
        }
    }
}

// ---- refusals ----

struct refusal_case {
    const char* name;
    std::function<std::pair<status, std::string>()> run;
    status code;
    const char* reason;  // a part of the expected error
};

template <class R>
std::pair<status, std::string> outcome(const R& r) {
    EXPECT_FALSE(r.valid());
    return {r.status, r.error};
}

TEST(DatumRefusals, SayWhyAndCarryTheirStatus) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const plate p;
    const block b;
    auto set = [](const std::vector<point>& v) {
        actual a(static_cast<int>(v.size()));
        for (const point& q : v) a.append(q);
        return a;
    };
    const actual top = set(p.top), bore = set(p.bore), hole = set(p.hole), front = set(p.front);
    const actual left = set(b.left), two = set({point(0, 0, 0), point(1, 0, 0)});
    // A bore whose axis lies in A's plane (along x): seen along z its points fill a rectangle.
    std::vector<point> lying;
    for (const point& q : p.bore) lying.emplace_back(q.z, q.y, q.x - 20);
    const actual sideways = set(lying);
    const datum_feature a = datum_feature::face(top, vector(0, 0, 1));
    const std::vector<refusal_case> cases = {
        {"outward zero", [&] { return outcome(datum_plane(top, vector(0, 0, 0))); },
         status::refused, "outward direction"},
        {"outward not finite", [&] { return outcome(datum_plane(top, vector(nan, 0, 1))); },
         status::refused, "outward direction"},
        {"outward across the face", [&] { return outcome(datum_plane(top, vector(1, 0, 0.5))); },
         status::refused, "more than 60"},
        {"two points", [&] { return outcome(datum_plane(two, vector(0, 0, 1))); },
         status::too_few_points, "too few points"},
        {"an axis after a primary axis",
         [&] {
             const datum_feature bb = datum_feature::round(bore, feature_side::hole);
             return outcome(datum_system(bb, bb));
         },
         status::refused, "datum B: after an axis A the secondary datum must be a face"},
        {"B facing across the primary axis",
         [&] {
             return outcome(datum_system(datum_feature::round(bore, feature_side::hole),
                                         datum_feature::face(front, vector(0, -1, 0))));
         },
         status::refused, "datum B: the normal the points determine"},
        {"no secondary", [&] { return outcome(datum_system(a, datum_feature())); }, status::refused,
         "datum B"},
        {"B facing along A's normal",
         [&] { return outcome(datum_system(a, datum_feature::face(left, vector(0, 0, 1)))); },
         status::refused, "datum B: the normal the points determine"},
        {"B's axis lying in A",
         [&] {
             return outcome(datum_system(a, datum_feature::round(sideways, feature_side::hole)));
         },
         status::refused,
         "datum B: its points seen along the primary plane's normal are not round"},
        {"C's axis on B's",
         [&] {
             const datum_feature bb = datum_feature::round(bore, feature_side::hole);
             return outcome(datum_system(a, bb, bb));
         },
         status::refused, "datum C: its axis meets the axis through the origin"},
        {"planes A and B without C",
         [&] { return outcome(datum_system(a, datum_feature::face(front, vector(0, -1, 0)))); },
         status::refused, "datum C"},
        {"C of a 3-2-1 system facing along A's normal",
         [&] {
             return outcome(datum_system(a, datum_feature::face(front, vector(0, -1, 0)),
                                         datum_feature::face(left, vector(0, 0, 1))));
         },
         status::refused, "datum C: the normal the points determine"},
        {"A with too few points",
         [&] {
             return outcome(datum_system(datum_feature::face(two, vector(0, 0, 1)),
                                         datum_feature::round(bore, feature_side::hole)));
         },
         status::too_few_points, "datum A: too few points"},
        {"C with too few points",
         [&] {
             return outcome(datum_system(a, datum_feature::round(bore, feature_side::hole),
                                         datum_feature::round(two, feature_side::hole)));
         },
         status::too_few_points, "datum C: too few points"},
    };
    for (const refusal_case& c : cases) {
        const std::pair<status, std::string> r = c.run();
        EXPECT_EQ(r.first, c.code) << c.name << ": " << r.second;
        EXPECT_NE(r.second.find(c.reason), std::string::npos) << c.name << ": " << r.second;
    }
    (void)hole;
}

// ---- the datum plane against an exhaustive reference ----

// The narrowest width of the points over the normals that can be optimal, turned to `outward`:
// every normal of a plane through three points, and every normal across the lines of two pairs
// of points (the optimum of the width touches the points' hull face to vertex or edge to edge).
// Normals beyond `cosine` of outward (its dot product, either sense) are left out; `found` false
// when none is left.
double exhaustive_width(const std::vector<point>& p, const vector& outward, double cosine,
                        bool& found) {
    const std::size_t n = p.size();
    double best = HUGE_VAL;
    found = false;
    auto consider = [&](vector normal) {
        normal = normal.unit();
        if (normal.invalid() || std::abs(dot(normal, outward)) < cosine) return;
        double lo = HUGE_VAL, hi = -HUGE_VAL;
        for (const point& q : p) {
            lo = std::min(lo, dot(normal, q - zero));
            hi = std::max(hi, dot(normal, q - zero));
        }
        best = std::min(best, hi - lo);
        found = true;
    };
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            for (std::size_t k = 0; k < n; ++k)
                for (std::size_t l = k + 1; l < n; ++l) consider((p[j] - p[i]) ^ (p[l] - p[k]));
    return best;
}

TEST(DatumPlane, MatchesAnExhaustiveReferenceOnSmallSets) {
    std::mt19937_64 rng(2024);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    int agreed = 0, refused = 0, not_proved = 0;
    const int cases = 300;
    for (int i = 0; i < cases; ++i) {
        const int n = 4 + i % 6;
        const pose move(rng, 10.0 * (i % 3));
        std::vector<point> p;
        for (int k = 0; k < n; ++k) p.push_back(move(point(u(rng), u(rng), 0.3 * u(rng))));
        // An outward direction within 40 degrees of the face's.
        const vector outward = move(vector(0.84 * u(rng), 0.84 * u(rng), 1.0));
        actual set(n);
        for (const point& q : p) set.append(q);
        const datum_result<spanto::plane> d = datum_plane(set, outward);
        bool found = false, any = false;
        const double reference = exhaustive_width(p, outward.unit(), 0.5, found);
        if (d.status == status::refused) {
            // Rightly only when every normal within 60 degrees gives a wider zone than the best.
            const double narrowest = exhaustive_width(p, outward.unit(), 0.0, any);
            EXPECT_TRUE(!found || narrowest < reference - 1e-12) << i << ": " << d.error;
            ++refused;
            continue;
        }
        ASSERT_TRUE(d.valid()) << i << ": " << d.error;
        if (d.status == status::not_proved) ++not_proved;
        ASSERT_TRUE(found);
        double lowest = 0.0, highest = -HUGE_VAL;
        for (const point& q : p) {
            lowest = std::min(lowest, d.element.sdistance(q));
            highest = std::max(highest, d.element.sdistance(q));
        }
        const double tol = 1e-9 * (1 + 10.0 * (i % 3));
        EXPECT_NEAR(highest, 0.0, tol) << i;
        EXPECT_GT(dot(d.element.normal, outward), 0.0) << i;
        EXPECT_NEAR(-lowest, reference, tol) << i;
        if (std::abs(-lowest - reference) <= tol && std::abs(highest) <= tol) ++agreed;
    }
    std::cout << "datum plane vs exhaustive reference: " << agreed << " of " << cases << " agreed, "
              << refused << " refused (normal beyond 60 degrees), " << not_proved
              << " not proved\n";
    EXPECT_EQ(agreed + refused, cases);
    EXPECT_LT(refused, cases / 10);
}

}  // namespace
}  // namespace vantor
