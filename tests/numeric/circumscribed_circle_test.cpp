// SPDX-License-Identifier: Apache-2.0
#include "numeric/circumscribed_circle.h"

#include <gtest/gtest.h>

#include <optional>

#include "numeric/planar_profiles.h"

namespace vantor {
namespace detail {
namespace {

using namespace profiles;

// The smallest circle through two or three of the points that contains them all, by trying every
// pair and triple.
circle2 exhaustive_circumscribed(const std::vector<point2>& points) {
    circle2 best{{0.0, 0.0}, std::numeric_limits<double>::infinity()};
    const auto consider = [&](point2 centre) {
        const double r = largest_distance(points, centre);
        if (r < best.radius) best = {centre, r};
    };
    const std::size_t n = points.size();
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j) {
            consider({0.5 * (points[i].x + points[j].x), 0.5 * (points[i].y + points[j].y)});
            for (std::size_t k = j + 1; k < n; ++k)
                if (const std::optional<point2> c = circumcentre(points[i], points[j], points[k]))
                    consider(*c);
        }
    return best;
}

// Every point inside; the contacts (within `tolerance` of the radius) either include a diametral
// pair or do not all lie in one half of the circle.
void expect_circumscribed_certificate(const std::vector<point2>& points, const circle2& c,
                                      double tolerance) {
    EXPECT_LE(largest_distance(points, c.centre), c.radius);
    const std::vector<point2> contacts =
        directions(points, c.centre, c.radius - tolerance, c.radius + tolerance);
    EXPECT_TRUE(has_antipodal_pair(contacts, 1e-12) || surround_strictly(contacts, 1e-9))
        << contacts.size() << " contacts";
}

TEST(MinimumCircumscribedCircle, TrianglesByHand) {
    // Acute: (0,0), (4,0), (2,3) -> circumcentre (2, 5/6), radius 13/6.
    const point2 o{1000.0, -1000.0};
    const std::vector<point2> acute{{o.x, o.y}, {o.x + 4.0, o.y}, {o.x + 2.0, o.y + 3.0}};
    const circle2 a = minimum_circumscribed_circle(acute);
    EXPECT_NEAR(a.centre.x, o.x + 2.0, 1e-12);
    EXPECT_NEAR(a.centre.y, o.y + 5.0 / 6.0, 1e-12);
    EXPECT_NEAR(a.radius, 13.0 / 6.0, 1e-12);
    // Obtuse: (0,0), (4,0), (1,1) -> the diametral circle of the long side.
    const std::vector<point2> obtuse{{o.x, o.y}, {o.x + 4.0, o.y}, {o.x + 1.0, o.y + 1.0}};
    const circle2 b = minimum_circumscribed_circle(obtuse);
    EXPECT_NEAR(b.centre.x, o.x + 2.0, 1e-12);
    EXPECT_NEAR(b.centre.y, o.y, 1e-12);
    EXPECT_NEAR(b.radius, 2.0, 1e-12);
}

TEST(MinimumCircumscribedCircle, DegenerateSets) {
    const circle2 empty = minimum_circumscribed_circle({});
    EXPECT_EQ(empty.radius, 0.0);
    const circle2 one = minimum_circumscribed_circle({{3.0, -4.0}});
    EXPECT_EQ(one.centre.x, 3.0);
    EXPECT_EQ(one.centre.y, -4.0);
    EXPECT_EQ(one.radius, 0.0);
    const circle2 same = minimum_circumscribed_circle({{1.5, 2.5}, {1.5, 2.5}, {1.5, 2.5}});
    EXPECT_EQ(same.radius, 0.0);
    // Collinear points: the circle on the two extremes as diameter.
    std::vector<point2> line;
    for (int k = 0; k < 50; ++k)
        line.push_back({999.0 + 0.01 * ((k * 37) % 50), 1000.0 + 0.02 * ((k * 37) % 50)});
    const circle2 c = minimum_circumscribed_circle(line);
    EXPECT_NEAR(c.centre.x, 999.0 + 0.01 * 24.5, 1e-12);
    EXPECT_NEAR(c.centre.y, 1000.0 + 0.02 * 24.5, 1e-12);
    EXPECT_NEAR(c.radius, 0.5 * std::hypot(0.49, 0.98), 1e-12);
}

// Seeded sets small enough for the exhaustive reference: closed lobed profiles, partial arcs,
// near-collinear sets and random clouds, near the origin and far from it, large and small.
TEST(MinimumCircumscribedCircle, MatchesExhaustiveSearchAndCertificate) {
    int cases = 0;
    for (std::uint64_t seed = 1; seed <= 12; ++seed) {
        for (const point2 centre : {point2{0.3, -0.2}, point2{1000.0, 1000.0}}) {
            for (const double radius : {25.0, 0.4}) {
                std::vector<std::vector<point2>> sets{
                    lobed(seed, centre, radius, 24, 3, 0.01 * radius, 0.002 * radius),
                    lobed(seed, centre, radius, 15, 5, 0.02 * radius, 0.001 * radius, 0.5,
                          0.5 * pi),
                    lobed(seed, centre, radius, 3, 0, 0.0, 0.05 * radius, 0.0, 2.0),
                    near_line(seed, centre, radius, 20, 1e-6 * radius)};
                std::mt19937_64 rng(seed);
                std::normal_distribution<double> gauss(0.0, radius);
                std::vector<point2> cloud;
                for (int k = 0; k < 30; ++k)
                    cloud.push_back({centre.x + gauss(rng), centre.y + 0.3 * gauss(rng)});
                sets.push_back(cloud);
                for (const std::vector<point2>& points : sets) {
                    const circle2 c = minimum_circumscribed_circle(points);
                    const circle2 reference = exhaustive_circumscribed(points);
                    const double tolerance = rounding_tolerance(points, reference.radius);
                    EXPECT_NEAR(c.radius, reference.radius, tolerance) << seed;
                    EXPECT_NEAR(c.centre.x, reference.centre.x, 1e3 * tolerance) << seed;
                    EXPECT_NEAR(c.centre.y, reference.centre.y, 1e3 * tolerance) << seed;
                    expect_circumscribed_certificate(points, c, tolerance);
                    ++cases;
                }
            }
        }
    }
    EXPECT_EQ(cases, 12 * 2 * 2 * 5);
}

TEST(MinimumCircumscribedCircle, IsReproducibleAndIndependentOfOrder) {
    std::vector<point2> points = lobed(5, {-20.0, 7.0}, 3.0, 500, 7, 0.01, 0.002);
    const circle2 first = minimum_circumscribed_circle(points);
    const circle2 again = minimum_circumscribed_circle(points);
    EXPECT_EQ(first.centre.x, again.centre.x);
    EXPECT_EQ(first.centre.y, again.centre.y);
    EXPECT_EQ(first.radius, again.radius);
    std::reverse(points.begin(), points.end());
    const circle2 reversed = minimum_circumscribed_circle(points);
    EXPECT_NEAR(reversed.radius, first.radius, 1e-14 * 3.0);
    expect_circumscribed_certificate(points, first, 1e-13 * 3.0);
}

// A million points on a noisy lobed circle: must finish quickly (expected linear time, no deep
// recursion) and satisfy the certificate.
TEST(MinimumCircumscribedCircle, MillionPoints) {
    const std::vector<point2> points = lobed(11, {1000.0, -500.0}, 0.8, 1000000, 4, 1e-3, 1e-4);
    const circle2 c = minimum_circumscribed_circle(points);
    expect_circumscribed_certificate(points, c, 1e-13);
    EXPECT_NEAR(c.centre.x, 1000.0, 1e-2);
    EXPECT_NEAR(c.centre.y, -500.0, 1e-2);
}

}  // namespace
}  // namespace detail
}  // namespace vantor
