// SPDX-License-Identifier: Apache-2.0
#include "vantor/actual.h"

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace vantor {
namespace {

using spanto::nan;
using spanto::point;
using spanto::vector;

const double inf = std::numeric_limits<double>::infinity();

actual make_set(const std::vector<point>& pts) {
    return actual(pts.data(), static_cast<int>(pts.size()), 0);
}

void expect_same(const point& p, const point& expected) {
    EXPECT_EQ(p.x, expected.x);
    EXPECT_EQ(p.y, expected.y);
    EXPECT_EQ(p.z, expected.z);
}

TEST(ActualNearest, StrictlyNearerReplacesAndTiesKeepTheLowerIndex) {
    const actual set = make_set({{2, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 3}});
    expect_same(set.nearest(point(0, 0, 0)), point(1, 0, 0));
    // Distances from the z axis: 2, 1, 1, 0.
    expect_same(set.nearest(spanto::line(point(0, 0, 0), vector(0, 0, 1))), point(0, 0, 3));
    const spanto::line along_x(point(0, 0, 0), vector(1, 0, 0));
    expect_same(set.nearest(along_x), point(2, 0, 0));
}

TEST(ActualNearest, EmptySetGivesAnInvalidPoint) {
    const actual empty(5);
    EXPECT_TRUE(empty.nearest(point(1, 2, 3)).invalid());
    EXPECT_TRUE(empty.nearest(spanto::line(point(0, 0, 0), point(1, 0, 0))).invalid());
}

TEST(ActualGaussDistance, PlaneSumsSquaresAndSpreadOfSignedDistances) {
    const actual set = make_set({{0, 0, -1}, {5, 5, 0.5}, {-3, 1, 2}});
    const spanto::plane xy(point(0, 0, 0), vector(0, 0, 1));
    double spread = 0;
    EXPECT_EQ(set.gaussdistance(xy, spread), 5.25);
    EXPECT_EQ(spread, 3.0);
    EXPECT_EQ(set.gaussdistance(xy), 5.25);
}

TEST(ActualGaussDistance, LineSpreadIsTheLargestDistance) {
    const actual set = make_set({{1, 0, 7}, {0, -3, 2}});
    const spanto::line z_axis(point(0, 0, 0), vector(0, 0, 1));
    double spread = -1;
    EXPECT_EQ(set.gaussdistance(z_axis, spread), 10.0);
    EXPECT_EQ(spread, 3.0);
    EXPECT_EQ(set.gaussdistance(z_axis), 10.0);
    EXPECT_EQ(actual(3).gaussdistance(z_axis, spread), 0.0);
    EXPECT_EQ(spread, 0.0);
}

TEST(ActualGaussDistance, CircleCylinderSphereUseSignedDistances) {
    double spread = 0;
    // 2 outside and 0.5 inside radius 1: signed distances 1 and -0.5 in each case.
    const actual circle_set = make_set({{2, 0, 0}, {0, 0.5, 0}});
    const spanto::circle c(point(0, 0, 0), vector(0, 0, 1), 1.0);
    EXPECT_EQ(circle_set.gaussdistance(c, spread), 1.25);
    EXPECT_EQ(spread, 1.5);
    EXPECT_EQ(circle_set.gaussdistance(c), 1.25);

    const actual cylinder_set = make_set({{0, 2, 9}, {0.5, 0, -4}});
    const spanto::cylinder z(point(0, 0, 0), vector(0, 0, 1), 1.0);
    EXPECT_EQ(cylinder_set.gaussdistance(z, spread), 1.25);
    EXPECT_EQ(spread, 1.5);
    EXPECT_EQ(cylinder_set.gaussdistance(z), 1.25);

    const actual sphere_set = make_set({{0, 0, 2}, {0, -0.5, 0}});
    const spanto::sphere s(point(0, 0, 0), 1.0);
    EXPECT_EQ(sphere_set.gaussdistance(s, spread), 1.25);
    EXPECT_EQ(spread, 1.5);
    EXPECT_EQ(sphere_set.gaussdistance(s), 1.25);
}

TEST(ActualGaussDistance, SignedSpreadStartsFromPlusMinusOneBillion) {
    const spanto::sphere unit(point(0, 0, 0), 1.0);
    double spread = 0;
    EXPECT_EQ(actual(2).gaussdistance(unit, spread), 0.0);
    EXPECT_EQ(spread, -2e9);
    EXPECT_EQ(make_set({{3, 0, 0}}).gaussdistance(unit, spread), 4.0);
    EXPECT_EQ(spread, 0.0);
    // Both distances lie above +1e9, so the smallest stays at its starting value.
    const spanto::plane xy(point(0, 0, 0), vector(0, 0, 1));
    make_set({{0, 0, 2e9}, {0, 0, 3e9}}).gaussdistance(xy, spread);
    EXPECT_EQ(spread, 2e9);
}

TEST(ActualBBox, FreshBoxAndEmptySet) {
    point lo(9, 9, 9), hi(-9, -9, -9);
    EXPECT_TRUE(make_set({{1, 2, 3}}).bbox(lo, hi, false));
    expect_same(lo, point(1, 2, 3));
    expect_same(hi, point(1, 2, 3));
    EXPECT_FALSE(actual(4).bbox(lo, hi, false));
    EXPECT_TRUE(actual(4).bbox(lo, hi, true));
    expect_same(lo, point(1, 2, 3));
    expect_same(hi, point(1, 2, 3));

    const actual set = make_set({{1, 5, 0}, {-2, nan, 4}, {3, 1, -1}, {0, 2, inf}});
    EXPECT_TRUE(set.bbox(lo, hi, false));
    expect_same(lo, point(-2, 1, -1));
    expect_same(hi, point(3, 5, inf));
}

TEST(ActualBBox, ExtendGrowsTheGivenBoxOnly) {
    const actual set = make_set({{1, 1, 1}, {2, -1, 0.5}});
    point lo(0, -5, 0), hi(3, 3, 3);
    EXPECT_TRUE(set.bbox(lo, hi, true));
    expect_same(lo, point(0, -5, 0));
    expect_same(hi, point(3, 3, 3));
    lo = point(1.5, 0, 0.75);
    hi = point(1.5, 0, 0.75);
    EXPECT_TRUE(set.bbox(lo, hi, true));
    expect_same(lo, point(1, -1, 0.5));
    expect_same(hi, point(2, 1, 1));
}

TEST(ActualBBox, NaNNeverReplacesACornerEvenAtTheStart) {
    const actual set = make_set({{nan, 0, 0}, {1, 2, 3}});
    point lo, hi;
    EXPECT_TRUE(set.bbox(lo, hi, false));
    EXPECT_TRUE(std::isnan(lo.x));
    EXPECT_TRUE(std::isnan(hi.x));
    expect_same(point(0, lo.y, lo.z), point(0, 0, 0));
    expect_same(point(0, hi.y, hi.z), point(0, 2, 3));
}

// The plain fold the box must reproduce: each coordinate strictly beyond a corner replaces it.
void fold_one_by_one(const std::vector<point>& pts, bool extend, point& lo, point& hi) {
    std::size_t i = 0;
    if (!extend) {
        lo = hi = pts[0];
        i = 1;
    }
    for (; i < pts.size(); ++i) {
        const point& p = pts[i];
        if (p.x < lo.x) lo.x = p.x;
        if (p.y < lo.y) lo.y = p.y;
        if (p.z < lo.z) lo.z = p.z;
        if (p.x > hi.x) hi.x = p.x;
        if (p.y > hi.y) hi.y = p.y;
        if (p.z > hi.z) hi.z = p.z;
    }
}

bool same_bits(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}

// The box walks the points in several runs side by side; it must keep the same one of +0 and
// -0, and treat NaN the same, as a walk one point at a time.
TEST(ActualBBox, EqualsTheOnePointAtATimeFoldBitForBit) {
    const double pool[] = {-1.0, -0.0, 0.0, 1.0, 2.5, nan, inf, -inf};
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, 7);
    for (int trial = 0; trial < 600; ++trial) {
        std::vector<point> pts(1 + trial % 23);
        for (point& p : pts) p = point(pool[pick(random)], pool[pick(random)], pool[pick(random)]);
        const bool extend = trial % 2 == 1;
        point lo(0.0, -0.0, 1.0), hi(-0.0, 0.0, 1.0);
        point expected_lo = lo, expected_hi = hi;
        fold_one_by_one(pts, extend, expected_lo, expected_hi);
        ASSERT_TRUE(make_set(pts).bbox(lo, hi, extend));
        const double got[] = {lo.x, lo.y, lo.z, hi.x, hi.y, hi.z};
        const double want[] = {expected_lo.x, expected_lo.y, expected_lo.z,
                               expected_hi.x, expected_hi.y, expected_hi.z};
        for (int k = 0; k < 6; ++k) {
            ASSERT_TRUE(same_bits(got[k], want[k])) << "trial " << trial << " coordinate " << k;
        }
    }
}

}  // namespace
}  // namespace vantor
