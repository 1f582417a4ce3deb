// SPDX-License-Identifier: Apache-2.0
#include "vantor/actual.h"

#include <array>
#include <vector>

#include <gtest/gtest.h>

#include "actual/octant_combinations.h"

namespace vantor {
namespace {

using spanto::nan;
using spanto::point;

actual make_set(const std::vector<point>& pts) {
    return actual(pts.data(), static_cast<int>(pts.size()), 0);
}

// The corner of the unit cube in octant k = 4x + 2y + z.
point corner(int k) { return point(k >> 2 & 1, k >> 1 & 1, k & 1); }

actual unit_cube() {
    std::vector<point> corners;
    for (int k = 0; k < 8; ++k) corners.push_back(corner(k));
    return make_set(corners);
}

void expect_same(const point& p, const point& expected) {
    EXPECT_EQ(p.x, expected.x);
    EXPECT_EQ(p.y, expected.y);
    EXPECT_EQ(p.z, expected.z);
}

TEST(OctantCombinations, StartAndEndAsListedAndAreInStrictOrder) {
    const auto& pairs = detail::octant_combinations<2>;
    const auto& triples = detail::octant_combinations<3>;
    const auto& quads = detail::octant_combinations<4>;
    ASSERT_EQ(pairs.size(), 28u);
    ASSERT_EQ(triples.size(), 56u);
    ASSERT_EQ(quads.size(), 70u);
    const std::array<std::array<int, 2>, 7> first_pairs{
        {{1, 0}, {2, 0}, {2, 1}, {3, 0}, {3, 1}, {3, 2}, {4, 0}}};
    const std::array<std::array<int, 3>, 5> first_triples{
        {{2, 1, 0}, {3, 1, 0}, {3, 2, 0}, {3, 2, 1}, {4, 1, 0}}};
    const std::array<std::array<int, 4>, 6> first_quads{
        {{3, 2, 1, 0}, {4, 2, 1, 0}, {4, 3, 1, 0}, {4, 3, 2, 0}, {4, 3, 2, 1}, {5, 2, 1, 0}}};
    for (std::size_t i = 0; i < first_pairs.size(); ++i) EXPECT_EQ(pairs[i], first_pairs[i]);
    for (std::size_t i = 0; i < first_triples.size(); ++i) EXPECT_EQ(triples[i], first_triples[i]);
    for (std::size_t i = 0; i < first_quads.size(); ++i) EXPECT_EQ(quads[i], first_quads[i]);
    EXPECT_EQ(pairs.back(), (std::array<int, 2>{7, 6}));
    EXPECT_EQ(triples.back(), (std::array<int, 3>{7, 6, 5}));
    EXPECT_EQ(quads.back(), (std::array<int, 4>{7, 6, 5, 4}));

    // Within an entry strictly decreasing; entries strictly increasing from the first index on.
    const auto check = [](const auto& table) {
        for (std::size_t i = 0; i < table.size(); ++i) {
            for (std::size_t k = 1; k < table[i].size(); ++k) {
                EXPECT_GT(table[i][k - 1], table[i][k]);
            }
            if (i > 0) {
                EXPECT_LT(table[i - 1], table[i]);
            }
        }
    };
    check(pairs);
    check(triples);
    check(quads);
}

TEST(ActualExtremumPoints, UnitCubeTiesGoToTheFirstEntryInTableOrder) {
    const actual cube = unit_cube();
    point p1, p2, p3, p4;
    // Four space diagonals tie; (4, 3) comes first.
    ASSERT_TRUE(cube.ExtremumPoints(p1, p2));
    expect_same(p1, point(1, 0, 0));
    expect_same(p2, point(0, 1, 1));
    // The eight equilateral triangles of face diagonals tie; (4, 2, 1) comes first.
    ASSERT_TRUE(cube.ExtremumPoints(p1, p2, p3));
    expect_same(p1, corner(4));
    expect_same(p2, corner(2));
    expect_same(p3, corner(1));
    // Longest closed paths: two space and two face diagonals, |bc| and |da| the space ones.
    // Only (6, 5, 2, 1) and (7, 4, 3, 0) qualify; (6, 5, 2, 1) comes first.
    ASSERT_TRUE(cube.ExtremumPoints(p1, p2, p3, p4));
    expect_same(p1, corner(6));
    expect_same(p2, corner(5));
    expect_same(p3, corner(2));
    expect_same(p4, corner(1));
}

TEST(ActualExtremumPoints, RepresentativesAreStoredPointsNearestToOctantMeans) {
    // On a line parallel to x every point lies in octant 3 (x below the centre 2) or 7. The
    // mean 0.5 of octant 3 is equally near x = 0 and x = 1: the lower index wins. Octant 7
    // has mean 3.
    const actual line = make_set({{0, 5, 5}, {1, 5, 5}, {2, 5, 5}, {3, 5, 5}, {4, 5, 5}});
    point p1, p2, p3, p4;
    ASSERT_TRUE(line.ExtremumPoints(p1, p2));
    expect_same(p1, point(3, 5, 5));
    expect_same(p2, point(0, 5, 5));
    // Two octants only: completed with the farthest stored points (nearest-chosen distance 1
    // for every candidate, so index order decides).
    ASSERT_TRUE(line.ExtremumPoints(p1, p2, p3, p4));
    expect_same(p1, point(0, 5, 5));
    expect_same(p2, point(3, 5, 5));
    expect_same(p3, point(1, 5, 5));
    expect_same(p4, point(2, 5, 5));
}

TEST(ActualExtremumPoints, CompletionFarthestFromThoseChosen) {
    // Octants 3 and 7 (split at x = 5) are represented by (0,5,5) and (9,5,5), nearest to
    // their means 0.5 and 8. The third point is the one farthest from both: (5,5,5), at 4.
    const actual set = make_set({{0, 5, 5}, {10, 5, 5}, {9, 5, 5}, {5, 5, 5}, {1, 5, 5}});
    point p1, p2, p3;
    ASSERT_TRUE(set.ExtremumPoints(p1, p2, p3));
    expect_same(p1, point(0, 5, 5));
    expect_same(p2, point(9, 5, 5));
    expect_same(p3, point(5, 5, 5));
}

TEST(ActualExtremumPoints, NeverHandsOutAnInvalidPoint) {
    // An invalid first point makes the box and every octant mean NaN, so every representative
    // is that invalid point: the choice is made among the valid stored points instead.
    const actual set = make_set({{nan, nan, nan}, {0, 0, 0}, {0, 0, 0}, {1, 0, 0}});
    point p1, p2, p3;
    ASSERT_TRUE(set.ExtremumPoints(p1, p2));
    expect_same(p1, point(0, 0, 0));
    expect_same(p2, point(1, 0, 0));
    // Only two distinct valid points: three cannot be chosen, and the outputs stay.
    p3 = point(7, 7, 7);
    EXPECT_FALSE(set.ExtremumPoints(p1, p2, p3));
    expect_same(p3, point(7, 7, 7));
    expect_same(p1, point(0, 0, 0));
}

TEST(ActualExtremumPoints, SharedRepresentativeIsNotHandedOutTwice) {
    // Box (0,0,0)..(1,5,5), centre (0.5, 2.5, 2.5): octant 0 holds (0,0,0) and (0,1,0), octant
    // 4 holds (1,0,0), octant 7 only the point with NaN x. The NaN mean of octant 7 makes every
    // distance NaN, so its representative is point 0, which also represents octant 0.
    const actual set = make_set({{0, 0, 0}, {1, 0, 0}, {nan, 5, 5}, {0, 1, 0}});
    point p1, p2, p3;
    ASSERT_TRUE(set.ExtremumPoints(p1, p2, p3));
    expect_same(p1, point(0, 0, 0));
    expect_same(p2, point(1, 0, 0));
    expect_same(p3, point(0, 1, 0));
    // Without (0, 1, 0) only two distinct valid points remain.
    EXPECT_FALSE(make_set({{0, 0, 0}, {1, 0, 0}, {nan, 5, 5}}).ExtremumPoints(p1, p2, p3));
}

TEST(ActualExtremumPoints, TooFewPointsOrEmptySetFails) {
    point p1(1, 1, 1), p2(2, 2, 2), p3(3, 3, 3), p4(4, 4, 4);
    const actual empty(4);
    EXPECT_FALSE(empty.ExtremumPoints(p1, p2));
    EXPECT_FALSE(empty.ExtremumPoints(p1, p2, p3));
    EXPECT_FALSE(empty.ExtremumPoints(p1, p2, p3, p4));
    EXPECT_FALSE(make_set({{5, 5, 5}}).ExtremumPoints(p1, p2));
    EXPECT_FALSE(make_set({{5, 5, 5}, {5, 5, 5}, {6, 5, 5}}).ExtremumPoints(p1, p2, p3));
    const actual three = make_set({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    EXPECT_FALSE(three.ExtremumPoints(p1, p2, p3, p4));
    expect_same(p1, point(1, 1, 1));
    expect_same(p4, point(4, 4, 4));
    EXPECT_TRUE(three.ExtremumPoints(p1, p2, p3));
}

}  // namespace
}  // namespace vantor
