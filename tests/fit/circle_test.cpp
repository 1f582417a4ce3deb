// SPDX-License-Identifier: Apache-2.0
#include <cmath>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "support/capture.h"
#include "vantor/feature.h"
#include "vantor/substitute.h"

namespace vantor {
namespace {

using spanto::point;
using spanto::vector;
using testing::printed;

const double pi = std::acos(-1.0);

// Points on a circle about (cx, cy, z) in a plane z = const, with an optional radial form
// error r(a) = radius + amplitude * cos(lobes * a) and seeded uniform noise.
actual profile(double cx, double cy, double z, double radius, int n, double amplitude = 0.0,
               int lobes = 3, double noise = 0.0, double sweep = 2 * pi, unsigned seed = 7) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> jitter(-noise, noise);
    actual set(n);
    for (int k = 0; k < n; ++k) {
        const double a = sweep * k / (sweep < 2 * pi ? n - 1 : n);
        const double r = radius + amplitude * std::cos(lobes * a) + (noise > 0 ? jitter(rng) : 0);
        set.append(cx + r * std::cos(a), cy + r * std::sin(a), z);
    }
    return set;
}

double axis_distance(const spanto::circle& c, const point& p) {
    return spanto::line(c.centre, c.normal).distance(p);
}

const substitute::subtype criteria[] = {substitute::gauss, substitute::zone, substitute::inscribed,
                                        substitute::circumscribed};

TEST(CircleFit, PointsExactlyOnACircleGiveTheStartCircleForEveryCriterion) {
    const actual set = profile(3, -2, 1, 5, 36);
    for (const auto s : criteria) {
        substitute fit;
        const spanto::circle c = fit.circle(set, vector(0, 0, 1), s);
        ASSERT_TRUE(c.valid()) << s;
        EXPECT_NEAR(c.centre.x, 3, 1e-12) << s;
        EXPECT_NEAR(c.centre.y, -2, 1e-12) << s;
        EXPECT_NEAR(c.centre.z, 1, 1e-12) << s;
        EXPECT_NEAR(c.radius, 5, 1e-12) << s;
        EXPECT_NEAR(std::fabs(c.normal.z), 1, 1e-15) << s;
        EXPECT_NEAR(fit.deviation(), 0, 1e-12) << s;
        EXPECT_EQ(fit.criterion(), s);
    }
}

TEST(CircleFit, UnspecifiedCriterionFitsAsZoneAndRecordsTheZoneWidth) {
    const actual set = profile(0, 0, 0, 10, 90, 0.01, 3, 0.002);
    substitute fit;
    const spanto::circle c = fit.circle(set, vector(0, 0, 1), substitute::unspecified);
    ASSERT_TRUE(c.valid());
    EXPECT_EQ(fit.criterion(), substitute::zone);
    const roundness about_axis(set, spanto::line(c.centre, c.normal));
    EXPECT_DOUBLE_EQ(fit.deviation(), about_axis.value());
}

TEST(CircleFit, CriteriaKeepTheirDefiningPropertiesOnNoisyProfiles) {
    const actual set = profile(100, 200, 5, 12.5, 240, 0.02, 5, 0.004);
    substitute least, zone, inscribed, circumscribed;
    const vector z(0, 0, 1);
    const spanto::circle g = least.circle(set, z, substitute::gauss);
    const spanto::circle mz = zone.circle(set, z, substitute::zone);
    const spanto::circle mi = inscribed.circle(set, z, substitute::inscribed);
    const spanto::circle mc = circumscribed.circle(set, z, substitute::circumscribed);
    for (const point& p : set) {
        EXPECT_LE(mi.radius, axis_distance(mi, p) + 1e-12);
        EXPECT_GE(mc.radius, axis_distance(mc, p) - 1e-12);
    }
    EXPECT_LE(zone.deviation(), least.deviation() + 1e-12);
    EXPECT_LE(mi.radius, g.radius);
    EXPECT_GE(mc.radius, g.radius);
    // The form error dominates the noise: every centre is close to the true one.
    for (const auto& c : {g, mz, mi, mc}) {
        EXPECT_NEAR(c.centre.x, 100, 0.01);
        EXPECT_NEAR(c.centre.y, 200, 0.01);
    }
}

TEST(CircleFit, NormalIsTheStartCirclesEvenForAnotherDirection) {
    const actual set = profile(0, 0, 0, 4, 24);
    substitute fit;
    const spanto::circle c = fit.circle(set, vector(0.1, 0, 1), substitute::gauss);
    ASSERT_TRUE(c.valid());
    EXPECT_NEAR(std::fabs(c.normal.z), 1, 1e-15);
    EXPECT_NEAR(c.normal.x, 0, 1e-15);
}

TEST(CircleFit, InvalidCriterionIsStoredAndGivesADefaultCircleWithALevelZeroLine) {
    const actual set = profile(0, 0, 0, 4, 24);
    substitute fit;
    spanto::circle c;
    const std::string out = printed(
        0, [&] { c = fit.circle(set, vector(0, 0, 1), static_cast<substitute::subtype>(5)); });
    EXPECT_TRUE(c.invalid());
    EXPECT_EQ(out, "*compute::circle: invalid subtype\n");
    EXPECT_EQ(fit.criterion(), 5);
    EXPECT_EQ(fit.deviation(), 0.0);
}

TEST(CircleFit, TooFewPointsReportsTheExtremumFailureAndKeepsTheObject) {
    actual set(2);
    set.append(point(0, 0, 0));
    set.append(point(1, 0, 0));
    substitute fit;
    spanto::circle c;
    EXPECT_EQ(printed(0, [&] { c = fit.circle(set, vector(0, 0, 1), substitute::gauss); }), "");
    const std::string out =
        printed(1, [&] { c = fit.circle(set, vector(0, 0, 1), substitute::gauss); });
    EXPECT_EQ(out, "*compute::circle: failed to compute extremum points\n");
    EXPECT_TRUE(c.invalid());
    EXPECT_EQ(fit.criterion(), substitute::unspecified);
}

TEST(CircleFit, CollinearExtremumPointsEndTheFitWithoutTouchingTheObject) {
    actual set(5);
    for (int i = 0; i < 5; ++i) set.append(point(i, 2.0 * i, 0));
    substitute fit;
    spanto::circle c;
    const std::string out =
        printed(1, [&] { c = fit.circle(set, vector(0, 0, 1), substitute::zone); });
    EXPECT_EQ(out, "*compute::circle: invalid start circle\n");
    EXPECT_TRUE(c.invalid());
    EXPECT_EQ(fit.criterion(), substitute::unspecified);
    EXPECT_EQ(fit.deviation(), 0.0);
}

TEST(CircleFit, ZeroDirectionIsAFailure) {
    const actual set = profile(0, 0, 0, 4, 24);
    substitute fit;
    const spanto::circle c = fit.circle(set, vector(0, 0, 0), substitute::gauss);
    EXPECT_TRUE(c.invalid());
    EXPECT_EQ(fit.deviation(), 0.0);
}

TEST(CircleFit, TracesStartAndResultAtLevelFive) {
    const actual set = profile(0, 0, 0, 2, 12);
    substitute fit;
    spanto::circle c;
    const std::string out =
        printed(5, [&] { c = fit.circle(set, vector(0, 0, 1), substitute::gauss); });
    // The start circle comes from extremum points; check the form of the line, not its digits.
    EXPECT_EQ(out.rfind(" compute::circle: start=circle(", 0), 0u) << out.substr(0, 200);
    EXPECT_NE(out.find(" compute::circle: start dev=0.000\n"), std::string::npos);
    const std::string last = "-compute::circle: " + spanto::toa(c) + "\n";
    ASSERT_GE(out.size(), last.size());
    EXPECT_EQ(out.substr(out.size() - last.size()), last);
}

TEST(CircleFit, FormWithoutDirectionFailsOnTheBasePlane) {
    const actual set = profile(0, 0, 0, 2, 12);
    for (const auto s : criteria) {
        substitute fit;
        spanto::circle c;
        const std::string out = printed(0, [&] { c = fit.circle(set, s); });
        EXPECT_TRUE(c.invalid());
        EXPECT_EQ(out, "*compute::circle: base plane computation failed\n");
        EXPECT_TRUE(fit.arc(set, s).invalid());
    }
    substitute fit;
    const std::string entry = printed(4, [&] { fit.circle(&set, substitute::unspecified); });
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(&set));
    EXPECT_EQ(entry, std::string("+compute::circle\n compute::circle: actual=") + address +
                         ", #=12\n compute::circle: subtype: zone\n"
                         "*compute::circle: base plane computation failed\n");
    EXPECT_EQ(printed(0, [&] { fit.circle(set, static_cast<substitute::subtype>(9)); }),
              "*compute::circle: invalid subtype\n");
}

TEST(CircleArc, OpeningBetweenLastAndFirstPointSpansTheMeasuredArc) {
    const actual set = profile(0, 0, 0, 5, 10, 0, 3, 0, pi / 2);
    const spanto::circle c(point(0, 0, 0), vector(0, 0, 1), 5);
    const substitute fit;
    const spanto::arc a = fit.arc(set, c);
    ASSERT_TRUE(a.valid());
    EXPECT_NEAR(a.start().x, 5, 1e-12);
    EXPECT_NEAR(a.start().y, 0, 1e-12);
    EXPECT_NEAR(a.angle(), pi / 2, 1e-12);
    EXPECT_NEAR(a.radius(), 5, 1e-12);
}

TEST(CircleArc, LargestGapBetweenNeighboursStartsTheArc) {
    // Points at 0, 10, 200 and 210 degrees: the chord 10 -> 200 (170 degrees the short way)
    // is longer than the closing chord 210 -> 0 (150 degrees).
    actual set(4);
    for (const double deg : {0.0, 10.0, 200.0, 210.0}) {
        set.append(point(std::cos(deg * pi / 180), std::sin(deg * pi / 180), 0));
    }
    const spanto::circle c(point(0, 0, 0), vector(0, 0, 1), 1);
    const spanto::arc a = substitute().arc(&set, c);
    EXPECT_NEAR(a.start().x, std::cos(10 * pi / 180), 1e-12);
    EXPECT_NEAR(a.start().y, std::sin(10 * pi / 180), 1e-12);
    EXPECT_NEAR(a.angle(), 170 * pi / 180, 1e-12);
}

TEST(CircleArc, SinglePointGivesAZeroAngle) {
    actual set(1);
    set.append(point(0, 3, 0));
    const spanto::circle c(point(0, 0, 0), vector(0, 0, 1), 2);
    const spanto::arc a = substitute().arc(set, c);
    EXPECT_NEAR(a.start().y, 2, 1e-12);
    EXPECT_EQ(a.angle(), 0.0);
}

TEST(CircleArc, EmptySetReadsOutOfRangeAndGivesAnInvalidArc) {
    const actual set(0);
    const spanto::circle c(point(0, 0, 0), vector(0, 0, 1), 2);
    spanto::arc a;
    const std::string out = printed(0, [&] { a = substitute().arc(set, c); });
    EXPECT_TRUE(a.invalid());
    EXPECT_NE(out.find("idx under/overflow\n"), std::string::npos);
}

TEST(CircleArc, FittedArcLeavesTheObjectUnchanged) {
    const actual set = profile(1, 1, 0, 3, 20, 0, 3, 0, pi);
    const substitute fit;
    const spanto::arc a = fit.arc(set, vector(0, 0, 1), substitute::gauss);
    ASSERT_TRUE(a.valid());
    EXPECT_NEAR(a.radius(), 3, 1e-9);
    EXPECT_NEAR(a.angle(), pi, 1e-9);
    EXPECT_EQ(fit.criterion(), substitute::unspecified);
    EXPECT_EQ(fit.deviation(), 0.0);
    EXPECT_TRUE(fit.arc(&set, vector(0, 0, 0), substitute::gauss).invalid());
}

TEST(CircleFit, NullPointSetGivesInvalidResults) {
    const actual* none = nullptr;
    substitute fit;
    const spanto::vector z(0, 0, 1);
    EXPECT_TRUE(fit.circle(none, z, substitute::gauss).invalid());
    EXPECT_TRUE(fit.circle(none, substitute::gauss).invalid());
    EXPECT_TRUE(fit.arc(none, z, substitute::gauss).invalid());
    EXPECT_TRUE(fit.arc(none, substitute::gauss).invalid());
    EXPECT_TRUE(fit.arc(none, spanto::circle(spanto::point(0, 0, 0), z, 1)).invalid());
    EXPECT_EQ(fit.deviation(), 0.0);
}

TEST(CircleFit, InvalidPointsDoNotSpoilTheRefinedFit) {
    actual set(102);
    const double pi = std::acos(-1.0);
    for (int k = 0; k < 100; ++k) {
        const double a = 2 * pi * k / 100;
        const double r = 10 + 0.01 * std::cos(3 * a);
        set.append(r * std::cos(a), r * std::sin(a), 0);
    }
    set[101] = spanto::point(10, 0.5, 0);  // entry 100 becomes an invalid filler
    for (const auto s :
         {substitute::gauss, substitute::zone, substitute::inscribed, substitute::circumscribed}) {
        substitute fit;
        const spanto::circle c = fit.circle(set, spanto::vector(0, 0, 1), s);
        ASSERT_TRUE(c.valid()) << s;
        EXPECT_NEAR(c.centre.x, 0, 0.01) << s;
        EXPECT_NEAR(c.centre.y, 0, 0.01) << s;
        EXPECT_TRUE(std::isfinite(fit.deviation())) << s;
    }
}

TEST(ClosedProfile, PointsMustSurroundTheCentreAsSeenAlongTheNormal) {
    // Points at the given angles (degrees) on the unit circle about the origin in z = 0, and a
    // point on the z axis, which has no direction.
    const auto at = [](std::initializer_list<double> degrees) {
        actual set(static_cast<int>(degrees.size()) + 2);
        for (const double d : degrees)
            set.append(std::cos(d * pi / 180), std::sin(d * pi / 180), 0);
        set.append(0, 0, 3);
        set.append(spanto::point());
        return set;
    };
    const point origin(0, 0, 0);
    const vector z(0, 0, 1);
    const struct {
        const char* what;
        actual points;
        point centre;
        vector normal;
        bool closed;
    } cases[] = {
        {"three directions 120 degrees apart", at({0, 120, 240}), origin, z, true},
        {"largest gap 160 degrees", at({0, 90, 200}), origin, z, true},
        {"largest gap 190 degrees", at({0, 90, 170}), origin, z, false},
        {"seen along -z", at({0, 90, 200}), origin, vector(0, 0, -2), true},
        {"centre outside", at({0, 120, 240}), point(5, 0, 0), z, false},
        {"only the axis point", at({}), origin, z, false},
        {"zero normal", at({0, 120, 240}), origin, vector(0, 0, 0), false},
        {"invalid centre", at({0, 120, 240}), point(), z, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(closed_profile(c.points, c.centre, c.normal), c.closed) << c.what;
    }
}

TEST(CircleFit, InvalidFirstPointEndsTheFitWithoutChangingTheDeviation) {
    actual set(40);
    set[0] = spanto::point();
    for (int k = 1; k < 40; ++k) set.append(std::cos(k * 0.15), std::sin(k * 0.15), 0);
    substitute fit;
    spanto::circle c;
    const std::string out = testing::printed(
        1, [&] { c = fit.circle(set, spanto::vector(0, 0, 1), substitute::zone); });
    EXPECT_EQ(out, "*compute::circle: invalid start deviation\n");
    EXPECT_TRUE(c.invalid());
    EXPECT_EQ(fit.deviation(), 0.0);
    EXPECT_EQ(fit.criterion(), substitute::unspecified);
}

}  // namespace
}  // namespace vantor
