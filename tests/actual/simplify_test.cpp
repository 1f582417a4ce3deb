// SPDX-License-Identifier: Apache-2.0
#include "vantor/actual.h"

#include <algorithm>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace vantor {
namespace {

using spanto::nan;
using spanto::point;

const double inf = std::numeric_limits<double>::infinity();

// The points of {0 .. n-1}^3, x slowest and z fastest, in a set of the given capacity.
actual lattice(int n, int capacity) {
    actual set(capacity);
    for (int x = 0; x < n; ++x) {
        for (int y = 0; y < n; ++y) {
            for (int z = 0; z < n; ++z) set.append(point(x, y, z));
        }
    }
    return set;
}

std::vector<point> points_of(const actual& set) {
    return std::vector<point>(set.begin(), set.end());
}

void expect_points(const actual& set, const std::vector<point>& expected) {
    ASSERT_EQ(set.numpoints(), static_cast<int>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(set.begin()[i].x, expected[i].x) << i;
        EXPECT_EQ(set.begin()[i].y, expected[i].y) << i;
        EXPECT_EQ(set.begin()[i].z, expected[i].z) << i;
    }
}

TEST(ActualSimplify, GridFollowsTheTargetCapacity) {
    // Coordinates 0..9 reach every one of m cells along an axis for each grid, the largest
    // coordinate into the last cell: 9 / (9 * a) = 1/a is just below m.
    const actual dense = lattice(10, 1000);
    const std::pair<int, int> capacity_cells[] = {{126, 125}, {125, 64}, {65, 64}, {64, 27},
                                                  {28, 27},   {27, 8},   {9, 8}};
    for (const auto& [capacity, cells] : capacity_cells) {
        actual target(capacity);
        EXPECT_EQ(dense.simplify(target), cells) << capacity;
        EXPECT_EQ(target.numpoints(), cells);
    }
}

TEST(ActualSimplify, KeepsTheLastPointOfEachCellInCellOrder) {
    // With two cells per axis, 0 and 1 fall into cell 0 (1 / (2 * 0.501) < 1) and 2 into
    // cell 1; the last point of cell 0 in index order has coordinates 1.
    const actual source = lattice(3, 27);
    actual target(9);
    ASSERT_EQ(source.simplify(target), 8);
    std::vector<point> expected;
    for (int z = 1; z <= 2; ++z) {
        for (int y = 1; y <= 2; ++y) {
            for (int x = 1; x <= 2; ++x) expected.emplace_back(x, y, z);
        }
    }
    expect_points(target, expected);
}

TEST(ActualSimplify, SetCanThinItself) {
    // Five cells per axis over the extent 2: 0, 0.1 -> cell 0, 1 -> 2, 2 -> 4; every lattice
    // point has a cell of its own, (0.1, 0, 0) comes later and replaces (0, 0, 0).
    actual set = lattice(3, 200);
    set.append(point(0.1, 0, 0));
    ASSERT_EQ(set.simplify(set), 27);
    std::vector<point> expected;
    for (int z = 0; z < 3; ++z) {
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 3; ++x) expected.emplace_back(x, y, z);
        }
    }
    expected[0] = point(0.1, 0, 0);
    expect_points(set, expected);
}

TEST(ActualSimplify, NothingDoneForSmallTargetOrEmptySource) {
    const actual source = lattice(3, 27);
    actual small(8);
    small.append(point(1, 2, 3));
    EXPECT_EQ(source.simplify(small), 0);
    expect_points(small, {{1, 2, 3}});
    actual target(50);
    target.append(point(4, 5, 6));
    EXPECT_EQ(actual(10).simplify(target), 0);
    expect_points(target, {{4, 5, 6}});
}

TEST(ActualSimplify, SkipsInvalidPoints) {
    actual source(20);
    for (int i = 0; i < 10; ++i) {
        source.append(point(i, i % 3, i % 2));
        source.append(point(nan, i, i));
    }
    actual target(200);
    const int n = source.simplify(target);
    EXPECT_GT(n, 0);
    for (const point& p : target) EXPECT_TRUE(p.valid());
}

TEST(ActualSimplify, CubeOfRandomPointsGivesAtMostOnePointPerCell) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> coordinate(-5.0, 5.0);
    actual source(1000);
    for (int i = 0; i < 1000; ++i) {
        source.append(point(coordinate(random), coordinate(random), coordinate(random)));
    }
    actual target(200);
    const int n = source.simplify(target);
    EXPECT_GT(n, 100);
    EXPECT_LE(n, 125);
    const std::vector<point> all = points_of(source);
    for (const point& p : target) {
        EXPECT_TRUE(std::any_of(all.begin(), all.end(), [&](const point& q) {
            return p.x == q.x && p.y == q.y && p.z == q.z;
        }));
    }
}

TEST(ActualSimplify, ZeroExtentPutsEveryPointIntoOneLayer) {
    actual face(4);
    face.append(point(1, 1, 2));
    face.append(point(0, 1, 2));
    face.append(point(1, 0, 2));
    face.append(point(0, 0, 2));
    actual target(9);
    ASSERT_EQ(face.simplify(target), 4);
    expect_points(target, {{0, 0, 2}, {1, 0, 2}, {0, 1, 2}, {1, 1, 2}});
}

TEST(ActualSimplify, NonFiniteOrTinyExtentStaysInsideTheGrid) {
    actual target(9);
    // x extent infinite (huge range, then an infinite coordinate): first x cell for all.
    const point huge[] = {{-1e308, 0, 0}, {1e308, 1, 0}};
    ASSERT_EQ(actual(huge, 2, 0).simplify(target), 2);
    expect_points(target, {{-1e308, 0, 0}, {1e308, 1, 0}});
    const point infinite[] = {{inf, 0, 0}, {0, 0, 0}, {1, 1, 1}};
    ASSERT_EQ(actual(infinite, 3, 0).simplify(target), 2);
    expect_points(target, {{0, 0, 0}, {1, 1, 1}});
    // A NaN first point makes the box NaN along x.
    const point nan_first[] = {{nan, 0, 0}, {1, 1, 1}, {0, 0, 0}};
    ASSERT_EQ(actual(nan_first, 3, 0).simplify(target), 2);
    expect_points(target, {{0, 0, 0}, {1, 1, 1}});
    // The smallest positive extent: the inverse cell edge overflows to infinity.
    const double tiny = std::numeric_limits<double>::denorm_min();
    const point denormal[] = {{tiny, 0, 0}, {0, 0, 0}};
    ASSERT_EQ(actual(denormal, 2, 0).simplify(target), 2);
    expect_points(target, {{0, 0, 0}, {tiny, 0, 0}});
}

TEST(Simplify, InvalidFirstPointDoesNotDecideTheGrid) {
    actual source(1001);
    source[0] = spanto::point();
    for (int i = 0; i < 1000; ++i) source.append(i % 10, (i / 10) % 10, i / 100);
    actual target(200);
    EXPECT_EQ(source.simplify(target), 125);
    for (const spanto::point& p : target) EXPECT_TRUE(p.valid());

    actual only_invalid(3);
    only_invalid[2] = spanto::point();
    actual untouched(20);
    untouched.append(1, 2, 3);
    EXPECT_EQ(only_invalid.simplify(untouched), 0);
    EXPECT_EQ(untouched.numpoints(), 1);
}

}  // namespace
}  // namespace vantor
