// SPDX-License-Identifier: Apache-2.0
#include "vantor/size.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "form/rigid_move.h"

namespace vantor {
namespace {

constexpr double pi = 3.14159265358979323846;

const section_request gaps{section_request::rule::gaps, 0, {}};

// Sections about the z axis at the heights given, n points each at equal angles, the distance
// from the axis at angle t given by radius(z, t).
actual sections(const std::vector<double>& heights, int n,
                const std::function<double(double, double)>& radius) {
    actual points(static_cast<int>(heights.size()) * n);
    for (const double z : heights) {
        for (int j = 0; j < n; ++j) {
            const double t = 2 * pi * j / n, r = radius(z, t);
            points.append(r * std::cos(t), r * std::sin(t), z);
        }
    }
    return points;
}

// An ellipse with semi-axes a (along x) and b: its distance from the centre at angle t.
std::function<double(double, double)> ellipse(double a, double b) {
    return
        [a, b](double, double t) { return a * b / std::hypot(b * std::cos(t), a * std::sin(t)); };
}

// Three lobes of amplitude e on radius r: r(t) + r(t + pi) = 2 r in every direction, so every
// two-point size is 2 r, while the inscribed and circumscribed diameters are 2 (r -+ e).
std::function<double(double, double)> three_lobes(double r, double e) {
    return [r, e](double, double t) { return r + e * std::cos(3 * t); };
}

// The points of `part` and their mirror images through the centre, about centre (0, 0, 0).
actual with_antipodes(const actual& part) {
    actual points(2 * part.numpoints());
    for (const spanto::point& p : part) {
        points.append(p);
        points.append(-p.x, -p.y, -p.z);
    }
    return points;
}

// n points spread evenly over the half sphere z > 0 of radius r (a Fibonacci spiral).
actual half_sphere(int n, double r) {
    actual points(n);
    for (int i = 0; i < n; ++i) {
        const double z = (i + 0.5) / n, s = std::sqrt(1 - z * z), t = 2.399963229728653 * i;
        points.append(r * s * std::cos(t), r * s * std::sin(t), r * z);
    }
    return points;
}

TEST(Size, TwoPointSizesOfKnownSections) {
    struct two_point_case {
        const char* name;
        actual points;
        element_kind element;
        int sizes;  // pairs of exactly opposite points each count once
        double maximum, minimum, tolerance;
    };
    const double a = 10.02, b = 9.98;
    // A circle at every degree but 1 to 29: the points at 181 to 209 degrees have no measured
    // point within 5 degrees of their opposite direction either side, and no size.
    actual gap(360);
    const actual round = sections({0}, 360, [](double, double) { return 10.0; });
    for (int j = 0; j < 360; ++j) {
        if (j == 0 || j >= 30) gap.append(round[j]);
    }
    const std::vector<two_point_case> cases = {
        // Points at every degree: each has a point exactly opposite.
        {"elliptical cylinder", sections({0, 20, 40}, 360, ellipse(a, b)), element_kind::cylinder,
         3 * 180, 2 * a, 2 * b, 1e-9},
        // 361 points: every opposite distance is interpolated, within the curvature's error.
        {"elliptical cylinder, interpolated", sections({0, 20}, 361, ellipse(a, b)),
         element_kind::cylinder, 2 * 361, 2 * a, 2 * b, 1e-5},
        {"elliptical circle", sections({5}, 72, ellipse(a, b)), element_kind::circle, 36, 2 * a,
         2 * b, 1e-9},
        {"a gap", gap, element_kind::circle, 1 + 150, 20, 20, 1e-9},
        {"three lobes", sections({0, 30}, 360, three_lobes(10, 0.01)), element_kind::cylinder, 360,
         20, 20, 1e-9},
        {"sphere", with_antipodes(half_sphere(2000, 12.5)), element_kind::sphere, 2000, 25, 25,
         1e-9},
    };
    for (const two_point_case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_result r = two_point_sizes(c.points, c.element, gaps);
        ASSERT_TRUE(r.valid()) << r.error;
        EXPECT_EQ(r.value, 0.0);
        EXPECT_EQ(r.points, c.points.numpoints());
        EXPECT_EQ(static_cast<int>(r.sizes.size()), c.sizes);
        EXPECT_EQ(r.statistics.count, c.sizes);
        EXPECT_NEAR(r.statistics.maximum, c.maximum, c.tolerance);
        EXPECT_NEAR(r.statistics.minimum, c.minimum, c.tolerance);
        EXPECT_NEAR(r.statistics.range, c.maximum - c.minimum, 2 * c.tolerance);
    }
}

TEST(Size, InterpolatedOppositePointsFollowTheProfile) {
    // 361 points a section at unequal angles, 0.5 to 1.5 degrees apart: no point has a point
    // exactly opposite, so each point's size is its distance from the axis plus one
    // interpolated at the opposite angle: 2 r(t) for an ellipse about its centre, to within the
    // curvature between the neighbours.
    const auto r = ellipse(10.05, 9.95);
    const auto angle = [](int j) { return 2 * pi * (j + 0.25 * std::sin(7.0 * j)) / 361; };
    actual points(2 * 361);
    for (const double z : {0.0, 20.0}) {
        for (int j = 0; j < 361; ++j) {
            const double t = angle(j);
            points.append(r(z, t) * std::cos(t), r(z, t) * std::sin(t), z);
        }
    }
    const size_result s = two_point_sizes(points, element_kind::cylinder, gaps);
    ASSERT_TRUE(s.valid()) << s.error;
    std::vector<double> expected;
    for (int k = 0; k < 2; ++k) {
        for (int j = 0; j < 361; ++j) expected.push_back(2 * r(0, angle(j)));
    }
    std::vector<double> sizes = s.sizes;
    std::sort(sizes.begin(), sizes.end());
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(sizes.size(), expected.size());
    for (std::size_t k = 0; k < sizes.size(); ++k) EXPECT_NEAR(sizes[k], expected[k], 3e-5) << k;
}

TEST(Size, SpherePairsAreTheNearestOppositeDirections) {
    // 10,000 random directions on the upper half of a sphere of radius 10 and 200 on the lower:
    // points of either half find their nearest opposite direction at all distances up to the
    // 5 degrees, which a search of every point finds too.
    std::mt19937 rng(3);
    std::normal_distribution<double> normal;
    std::vector<spanto::vector> u;
    for (int upper = 0, lower = 0; upper < 10000 || lower < 200;) {
        const spanto::vector d = spanto::vector(normal(rng), normal(rng), normal(rng)).unit();
        if (d.z > 0 ? upper++ < 10000 : lower++ < 200) u.push_back(d);
    }
    actual points(static_cast<int>(u.size()));
    for (const spanto::vector& d : u) points.append(10 * d.x, 10 * d.y, 10 * d.z);
    const double reach = 2 * std::sin(two_point_tolerance_degrees * pi / 360);
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    for (std::size_t i = 0; i < u.size(); ++i) {
        std::size_t best = i;
        double best_d = reach;
        for (std::size_t j = 0; j < u.size(); ++j) {
            const double d = (u[j] + u[i]).length();
            if (d <= best_d) best = j, best_d = d;
        }
        if (best != i) pairs.emplace_back(std::min(i, best), std::max(i, best));
    }
    std::sort(pairs.begin(), pairs.end());
    pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
    const size_result s = two_point_sizes(points, element_kind::sphere);
    ASSERT_TRUE(s.valid()) << s.error;
    EXPECT_EQ(s.sizes.size(), pairs.size());
    EXPECT_NEAR(s.statistics.minimum, 20, 1e-9);
    EXPECT_NEAR(s.statistics.maximum, 20, 1e-9);
}

TEST(Size, GlobalAndSectionSizesOfThreeLobesDifferFromTheirTwoPointSize) {
    const double r = 10, e = 0.01;
    const actual circle = sections({0}, 360, three_lobes(r, e));
    const actual cylinder = sections({0, 10, 20}, 360, three_lobes(r, e));
    struct criterion_case {
        criterion c;
        double diameter, tolerance;
    };
    // About the centre the least-squares radius is the mean distance, r: the lobes sum to 0.
    const std::vector<criterion_case> cases = {{criterion::gauss, 2 * r, 1e-8},
                                               {criterion::zone, 2 * r, 1e-9},
                                               {criterion::inscribed, 2 * (r - e), 1e-9},
                                               {criterion::circumscribed, 2 * (r + e), 1e-9}};
    for (const criterion_case& k : cases) {
        SCOPED_TRACE(criterion_name(k.c));
        for (const element_kind element : {element_kind::circle, element_kind::cylinder}) {
            SCOPED_TRACE(info_of(element).name);
            const size_result g =
                global_size(element == element_kind::circle ? circle : cylinder, element, k.c);
            ASSERT_TRUE(g.valid()) << g.error;
            EXPECT_NEAR(g.value, k.diameter, k.tolerance);
            EXPECT_EQ(g.statistics.count, 1);
            EXPECT_EQ(g.statistics.median, g.value);
        }
        const size_result s = section_sizes(cylinder, k.c, gaps);
        ASSERT_TRUE(s.valid()) << s.error;
        ASSERT_EQ(s.sizes.size(), 3u);
        for (const double d : s.sizes) EXPECT_NEAR(d, k.diameter, k.tolerance);
    }
}

TEST(Size, TaperedCylinderSectionStatistics) {
    // Radius 10 + 0.001 z with three lobes of 0.002, sections at heights 0 to 40: inscribed
    // diameters 2 (10 + 0.001 z - 0.002), growing by 0.02 every 10 along the axis.
    const actual points = sections({0, 10, 20, 30, 40}, 180, [](double z, double t) {
        return 10 + 0.001 * z + 0.002 * std::cos(3 * t);
    });
    const size_result s = section_sizes(points, criterion::inscribed, gaps);
    ASSERT_TRUE(s.valid()) << s.error;
    ASSERT_EQ(s.sizes.size(), 5u);
    const double low = 2 * (10 - 0.002);
    for (std::size_t k = 0; k < 5; ++k) EXPECT_NEAR(s.sizes[k], low + 0.02 * k, 1e-8);
    struct statistic_case {
        size_statistic statistic;
        const char* name;
        double expected;
    };
    for (const statistic_case& c :
         std::vector<statistic_case>{{size_statistic::maximum, "maximum", low + 0.08},
                                     {size_statistic::minimum, "minimum", low},
                                     {size_statistic::average, "average", low + 0.04},
                                     {size_statistic::median, "median", low + 0.04},
                                     {size_statistic::range, "range", 0.08}}) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(s.statistics.of(c.statistic), c.expected, 1e-8);
        EXPECT_STREQ(size_statistic_name(c.statistic), c.name);
        size_statistic named = size_statistic::range;
        EXPECT_TRUE(size_statistic_named(c.name, named));
        EXPECT_EQ(named, c.statistic);
    }
    size_statistic unchanged = size_statistic::median;
    EXPECT_FALSE(size_statistic_named("mean", unchanged));
    EXPECT_EQ(unchanged, size_statistic::median);
    // An even count's median is the mean of the middle two.
    EXPECT_DOUBLE_EQ(statistics_of({4, 1, 3, 2}).median, 2.5);
}

TEST(Size, SpheresOfKnownRadius) {
    const actual ball = with_antipodes(half_sphere(500, 7.5));
    for (const criterion c :
         {criterion::gauss, criterion::zone, criterion::inscribed, criterion::circumscribed}) {
        SCOPED_TRACE(criterion_name(c));
        const size_result g = global_size(ball, element_kind::sphere, c);
        ASSERT_TRUE(g.valid()) << g.error;
        EXPECT_NEAR(g.value, 15, 1e-9);
        EXPECT_EQ(g.points, 1000);
    }
}

TEST(Size, InvariantUnderRigidMoves) {
    const actual cylinder = sections({0, 20, 40}, 360, ellipse(10.02, 9.98));
    const actual ball = with_antipodes(half_sphere(1000, 12.5));
    struct measure {
        const char* name;
        const actual& part;
        std::function<size_result(const actual&)> evaluate;
    };
    const std::vector<measure> measures = {
        {"two-point, cylinder", cylinder,
         [](const actual& p) { return two_point_sizes(p, element_kind::cylinder, gaps); }},
        {"two-point, sphere", ball,
         [](const actual& p) { return two_point_sizes(p, element_kind::sphere); }},
        {"inscribed sections", cylinder,
         [](const actual& p) { return section_sizes(p, criterion::inscribed, gaps); }},
        {"circumscribed cylinder", cylinder,
         [](const actual& p) {
             return global_size(p, element_kind::cylinder, criterion::circumscribed);
         }},
    };
    std::mt19937 rng(5);
    for (const measure& m : measures) {
        SCOPED_TRACE(m.name);
        const size_result base = m.evaluate(m.part);
        ASSERT_TRUE(base.valid()) << base.error;
        for (const double distance : {0.0, 50.0, 1e4}) {
            const testing::rigid_move move(rng, distance);
            const size_result r = m.evaluate(move.moved(m.part));
            ASSERT_TRUE(r.valid()) << r.error;
            const double tolerance = 1e-9 * (1 + distance / 1e2);
            EXPECT_EQ(r.statistics.count, base.statistics.count) << distance;
            EXPECT_NEAR(r.statistics.maximum, base.statistics.maximum, tolerance) << distance;
            EXPECT_NEAR(r.statistics.minimum, base.statistics.minimum, tolerance) << distance;
            EXPECT_NEAR(r.statistics.average, base.statistics.average, tolerance) << distance;
        }
    }
}

TEST(Size, InvalidPointsAreLeftOut) {
    const actual clean = sections({0, 20}, 360, ellipse(10.02, 9.98));
    actual holed(clean.numpoints() + 3);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const spanto::point& p : clean) {
        holed.append(p);
        if (holed.numpoints() % 300 == 0) holed.append(nan, nan, nan);
    }
    const size_result base = two_point_sizes(clean, element_kind::cylinder, gaps);
    const size_result r = two_point_sizes(holed, element_kind::cylinder, gaps);
    ASSERT_TRUE(r.valid()) << r.error;
    EXPECT_EQ(r.points, clean.numpoints());
    EXPECT_EQ(r.sizes, base.sizes);
}

TEST(Size, RefusesWhatItCannotEvaluate) {
    const actual cylinder = sections({0, 20}, 72, ellipse(10, 9.9));
    // A sector of 120 degrees, and a half sphere: no point has an opposite point.
    const actual sector = sections({0, 20}, 72, [](double, double) { return 10.0; });
    actual arc(48);
    for (const spanto::point& p : sector) {
        if (std::atan2(p.y, p.x) >= 0 && std::atan2(p.y, p.x) <= 2 * pi / 3) arc.append(p);
    }
    actual cap(400);  // a cap above 30 degrees of latitude
    for (const spanto::point& p : half_sphere(400, 5)) {
        if (p.z > 2.5) cap.append(p);
    }
    const std::vector<spanto::point> two_points = {{1, 0, 0}, {0, 1, 0}};
    const actual two(two_points.data(), 2, 2);
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<spanto::point> with_inf = {{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {inf, 0, 0}};
    const actual infinite(with_inf.data(), 4, 4);
    const section_request five{section_request::rule::count, 5, {}};
    const actual none(4);
    actual same(6);
    for (int k = 0; k < 6; ++k) same.append(1, 2, 3);
    struct refusal {
        const char* name;
        size_result result;
        status expected;
    };
    const std::vector<refusal> cases = {
        {"a plane", global_size(cylinder, element_kind::plane, criterion::gauss), status::refused},
        {"a cone, two-point", two_point_sizes(cylinder, element_kind::cone), status::refused},
        {"a line", global_size(cylinder, element_kind::line, criterion::gauss), status::refused},
        {"two points", global_size(two, element_kind::circle, criterion::gauss),
         status::too_few_points},
        {"two points, two-point", two_point_sizes(two, element_kind::circle),
         status::too_few_points},
        {"two points, sections", section_sizes(two, criterion::gauss, gaps),
         status::too_few_points},
        {"infinite coordinate", global_size(infinite, element_kind::circle, criterion::gauss),
         status::invalid_points},
        {"no points", global_size(none, element_kind::sphere, criterion::zone),
         status::too_few_points},
        {"no points, sections", section_sizes(none, criterion::zone, gaps), status::too_few_points},
        {"one point six times", two_point_sizes(same, element_kind::sphere), status::degenerate},
        {"one point six times, cylinder", two_point_sizes(same, element_kind::cylinder, gaps),
         status::degenerate},
        {"a sector", two_point_sizes(arc, element_kind::cylinder, gaps), status::degenerate},
        {"a half sphere", two_point_sizes(cap, element_kind::sphere), status::degenerate},
        {"more sections than gaps", section_sizes(cylinder, criterion::gauss, five),
         status::refused},
        {"more sections than gaps, two-point",
         two_point_sizes(cylinder, element_kind::cylinder, five), status::refused},
    };
    for (const refusal& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.result.valid());
        EXPECT_FALSE(c.result.error.empty());
        EXPECT_EQ(c.result.status, c.expected)
            << status_name(c.result.status) << ": " << c.result.error;
        EXPECT_EQ(c.result.value, 0.0);
        EXPECT_TRUE(c.result.sizes.empty());
        EXPECT_EQ(c.result.statistics.count, 0);
    }
}

}  // namespace
}  // namespace vantor
