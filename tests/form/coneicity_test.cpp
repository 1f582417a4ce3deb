// SPDX-License-Identifier: Apache-2.0
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "form/formatted.h"
#include "support/capture.h"
#include "vantor/feature.h"

namespace vantor {
namespace {

using testing::formatted;
using testing::printed;

// Radius 1 at every height: signed distances are plain radial gaps.
const spanto::cone straight(spanto::point(0, 0, 0), 1.0, spanto::point(0, 0, 1), 1.0);

// Points at the given distances from the z axis, turning about it and rising.
actual radii(const std::vector<double>& r) {
    actual points(static_cast<int>(r.size()));
    for (std::size_t i = 0; i < r.size(); ++i) {
        points.append(r[i] * std::cos(i * 1.3), r[i] * std::sin(i * 1.3), 0.5 * i);
    }
    return points;
}

TEST(Coneicity, OneSidedRuleAgainstACone) {
    struct {
        std::vector<double> r;
        double value;
    } const cases[] = {
        {{1.02, 1.05}, 0.05}, {{0.95, 0.98}, 0.05}, {{0.99, 1.03}, 0.04},
        {{1.0, 1.03}, 0.03},  {{0.97, 1.0}, 0.03},  {{1.04, 1.04, 1.04}, 0.04},
    };
    for (const auto& c : cases) {
        const coneicity f(radii(c.r), straight);
        EXPECT_NEAR(f.value(), c.value, 1e-12) << c.r.front() << " " << c.r.back();
    }
    const coneicity f(radii({0.99, 1.03}), straight);
    EXPECT_NEAR(f.minvalue(), -0.01, 1e-12);
    EXPECT_NEAR(f.maxvalue(), 0.03, 1e-12);
}

TEST(Coneicity, DistancesArePerpendicularToTheSurface) {
    // Radius 1 at z = 0 growing to 2 at z = 1: half angle 45 degrees.
    const spanto::cone widening(spanto::point(0, 0, 0), 1.0, spanto::point(0, 0, 1), 2.0);
    const spanto::point outside[] = {{3, 0, 1}};
    EXPECT_NEAR(coneicity(actual(outside, 1, 1), widening).value(), std::sqrt(0.5), 1e-12);
}

TEST(Coneicity, TraceAgainstACone) {
    const actual points = radii({1.02, 1.05});
    coneicity f;
    const std::string out = printed(4, [&] { EXPECT_TRUE(f.compute(points, straight)); });
    EXPECT_EQ(out, "+coneicity::compute\n" +
                       formatted(" coneicity::compute: actual=%p, #=2\n",
                                 static_cast<const void*>(&points)) +
                       formatted(" coneicity::compute: &=%p, cone(point(0.000,0.000,0.000),"
                                 "1.000,point(0.000,0.000,1.000),1.000)\n",
                                 static_cast<const void*>(&straight)) +
                       "-coneicity::compute: result = 0.050\n");
}

TEST(Coneicity, NoPointsAgainstACone) {
    coneicity f(radii({1.02, 1.05}), straight);
    const std::string out = printed(1, [&] { EXPECT_FALSE(f.compute(actual(2), straight)); });
    EXPECT_EQ(out, "*coneicity::compute: no valid points (k=-1)\n");
    EXPECT_TRUE(f.invalid());
    EXPECT_EQ(f.datum().radius0(), 1.0);
    EXPECT_NEAR(f.maxvalue(), 0.05, 1e-12);
}

// Points whose distance from the z axis is 1 + 0.5 t + noise[i] at heights t = 0, 1, 2, 3.
actual profile(const double (&noise)[4]) {
    actual points(4);
    for (int i = 0; i < 4; ++i) {
        const double r = 1.0 + 0.5 * i + noise[i];
        points.append(r * std::cos(2.0 * i), r * std::sin(2.0 * i), i);
    }
    return points;
}

const spanto::axis zaxis(spanto::point(0, 0, 0), spanto::vector(0, 0, 1));

TEST(Coneicity, AxisFormFitsTheConeThroughTheRadialProfile) {
    coneicity exact;
    const std::string out = printed(5, [&] {
        EXPECT_TRUE(exact.compute(profile({0, 0, 0, 0}), zaxis));
    });
    EXPECT_EQ(out, "");
    EXPECT_NEAR(exact.value(), 0.0, 1e-12);
    EXPECT_NEAR(exact.minvalue(), 0.0, 1e-12);
    EXPECT_NEAR(exact.maxvalue(), 0.0, 1e-12);
    EXPECT_EQ(exact.datum().point0().z, 0.0);
    EXPECT_NEAR(exact.datum().radius0(), 1.0, 1e-12);
    EXPECT_EQ(exact.datum().point1().z, 1.0);
    EXPECT_NEAR(exact.datum().radius1(), 1.5, 1e-12);

    // Noise orthogonal to 1 and t leaves the fitted line and shows as residuals.
    const coneicity noisy(profile({0.1, -0.1, -0.1, 0.1}), zaxis);
    EXPECT_NEAR(noisy.value(), 0.2, 1e-12);
    EXPECT_NEAR(noisy.minvalue(), -0.1, 1e-12);
    EXPECT_NEAR(noisy.maxvalue(), 0.1, 1e-12);
    EXPECT_NEAR(noisy.datum().radius1(), 1.5, 1e-12);
}

TEST(Coneicity, AxisFormRejectsAnUndefinedProfile) {
    // At 0.7 the divisor comes out slightly above zero through rounding.
    const spanto::point level[] = {{1, 0, 0.7}, {0, 3, 0.7}, {-2, 0, 0.7}};
    const spanto::point one[] = {{1, 0, 2}};
    const actual cases[] = {actual(0), actual(one, 1, 1), actual(level, 3, 3)};
    for (const actual& points : cases) {
        coneicity f(0.5);
        EXPECT_FALSE(f.compute(points, zaxis)) << points.numpoints();
        EXPECT_TRUE(f.invalid()) << points.numpoints();
    }
    coneicity f(0.5);
    EXPECT_FALSE(f.compute(profile({0, 0, 0, 0}), spanto::axis()));
    EXPECT_TRUE(f.invalid());
}

TEST(Coneicity, DirectionFormFailsWithoutASubstituteCone) {
    const actual points = radii({1.02, 1.05});
    coneicity f(points, straight);
    std::string out = printed(5, [&] { EXPECT_FALSE(f.compute(points, spanto::vector(0, 0, 1))); });
    EXPECT_EQ(out, "+coneicity::compute\n" +
                       formatted(" coneicity::compute: actual=%p, #=2\n",
                                 static_cast<const void*>(&points)) +
                       " coneicity::compute: vector=vector(0.000,0.000,1.000)\n");
    EXPECT_TRUE(f.invalid());
    EXPECT_TRUE(f.datum().invalid());

    out = printed(1, [&] { EXPECT_FALSE(f.compute(actual(1), spanto::vector(0, 0, 1))); });
    EXPECT_EQ(out, "*coneicity::compute: no valid points (k=-1)\n");
}

TEST(Coneicity, WithoutDatumTheConeCannotBeFitted) {
    const actual points = radii({1.02, 1.05});
    coneicity f(points, straight);
    const std::string out = printed(5, [&] { EXPECT_FALSE(f.compute(points)); });
    EXPECT_EQ(out, "");
    EXPECT_TRUE(f.invalid());
    EXPECT_TRUE(f.datum().invalid());
}

TEST(Coneicity, PointerFormsMatchTheReferenceForms) {
    const actual points = profile({0.1, -0.1, -0.1, 0.1});
    const coneicity by_cone(&points, straight);
    EXPECT_EQ(by_cone.value(), coneicity(points, straight).value());
    const coneicity by_axis(&points, zaxis);
    EXPECT_EQ(by_axis.value(), coneicity(points, zaxis).value());
    EXPECT_TRUE(coneicity(&points).invalid());
    EXPECT_TRUE(coneicity(&points, spanto::vector(0, 0, 1)).invalid());

    coneicity f;
    EXPECT_TRUE(f.compute(&points, zaxis));
    EXPECT_EQ(f.value(), by_axis.value());
    EXPECT_TRUE(f.compute(&points, straight));
    EXPECT_EQ(f.value(), by_cone.value());
    EXPECT_FALSE(f.compute(&points, spanto::vector(0, 0, 1)));
    EXPECT_FALSE(f.compute(&points));
}

TEST(Coneicity, NullPointSetIsAFailedEvaluation) {
    const actual* none = nullptr;
    coneicity c(0.25);
    EXPECT_FALSE(c.compute(none));
    EXPECT_TRUE(c.invalid());
    c.value(0.25);
    EXPECT_FALSE(
        c.compute(none, spanto::cone(spanto::point(0, 0, 0), 1, spanto::point(0, 0, 1), 2)));
    EXPECT_TRUE(c.invalid());
    c.value(0.25);
    EXPECT_FALSE(c.compute(none, spanto::axis(spanto::point(0, 0, 0), spanto::vector(0, 0, 1))));
    EXPECT_TRUE(c.invalid());
    c.value(0.25);
    EXPECT_FALSE(c.compute(none, spanto::vector(0, 0, 1)));
    EXPECT_TRUE(c.invalid());
    EXPECT_TRUE(coneicity(none, spanto::vector(0, 0, 1)).invalid());
}

TEST(Coneicity, AxisPointBeyondTheApexStillGivesTheFittedCone) {
    // A cone with its apex at the origin, radius 0.5 z, measured between z = 5 and z = 10;
    // the axis point at z = -10 lies beyond the apex, where the fitted radius is negative.
    actual points(60);
    const double pi = std::acos(-1.0);
    for (int i = 0; i < 60; ++i) {
        const double z = 5 + (i % 6);
        const double a = 2 * pi * i / 60;
        points.append(0.5 * z * std::cos(a), 0.5 * z * std::sin(a), z);
    }
    coneicity c;
    ASSERT_TRUE(c.compute(points, spanto::axis(spanto::point(0, 0, -10), spanto::vector(0, 0, 1))));
    EXPECT_NEAR(c.value(), 0, 1e-9);
    ASSERT_TRUE(c.datum().valid());
    EXPECT_NEAR(c.datum().sdistance(spanto::point(3, 0, 6)), 0, 1e-9);
    EXPECT_GT(c.datum().sdistance(spanto::point(4, 0, 6)), 0);
}

}  // namespace
}  // namespace vantor
