// SPDX-License-Identifier: Apache-2.0
// The refined circle fits are the optimum of their criterion: checked by perturbing the fitted
// centre in many directions (no move may improve the criterion) and by the containment the
// criterion implies. A circle that is merely close to the optimum fails these checks.
#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "fit/circle_fit.h"
#include "vantor/substitute.h"

namespace vantor {
namespace {

using spanto::point;
using spanto::vector;

const double pi = std::acos(-1.0);

// A lobed, noisy profile in the plane z = cz over the angles [0, sweep).
actual profile(point centre, double radius, int n, double sweep, double noise, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> jitter(-noise, noise);
    actual set(n);
    for (int k = 0; k < n; ++k) {
        const double a = sweep * k / n;
        const double r =
            radius * (1 + 0.004 * std::cos(3 * a) + 0.002 * std::sin(7 * a)) + radius * jitter(rng);
        set.append(centre.x + r * std::cos(a), centre.y + r * std::sin(a), centre.z);
    }
    return set;
}

// Smallest and largest distance of the points from the axis through c along z.
std::pair<double, double> radial_range(const actual& set, double cx, double cy) {
    double low = INFINITY, high = -INFINITY;
    for (const point& p : set) {
        const double d = std::hypot(p.x - cx, p.y - cy);
        low = std::min(low, d);
        high = std::max(high, d);
    }
    return {low, high};
}

double criterion_value(substitute::subtype s, const actual& set, double cx, double cy) {
    const auto [low, high] = radial_range(set, cx, cy);
    switch (s) {
        case substitute::zone:
            return high - low;
        case substitute::inscribed:
            return -low;
        default:
            return high;
    }
}

// No move of the centre by h in any of 72 directions improves the criterion by more than
// rounding.
void expect_locally_optimal(substitute::subtype s, const actual& set, const spanto::circle& c,
                            double h) {
    const double here = criterion_value(s, set, c.centre.x, c.centre.y);
    const double slack = 1e-12 * (std::fabs(here) + std::fabs(c.radius));
    for (int k = 0; k < 72; ++k) {
        const double a = 2 * pi * k / 72;
        const double moved =
            criterion_value(s, set, c.centre.x + h * std::cos(a), c.centre.y + h * std::sin(a));
        EXPECT_GE(moved, here - slack) << "criterion " << s << " improves in direction " << k;
    }
}

void expect_criterion_holds(substitute::subtype s, const actual& set, const spanto::circle& c,
                            double deviation) {
    const auto [low, high] = radial_range(set, c.centre.x, c.centre.y);
    const double tol = 1e-12 * c.radius + 1e-12;
    EXPECT_NEAR(deviation, high - low, tol);
    if (s == substitute::inscribed) {
        EXPECT_NEAR(c.radius, low, tol);
    } else if (s == substitute::circumscribed) {
        EXPECT_NEAR(c.radius, high, tol);
    } else if (s == substitute::zone) {
        EXPECT_NEAR(c.radius, (low + high) / 2, tol);
    }
}

struct closed_case {
    point centre;
    double radius;
    int n;
};

TEST(CircleOptimum, MinimaxFitsAreOptimalOnClosedProfiles) {
    const closed_case cases[] = {
        {point(0, 0, 0), 20, 360},          // an ordinary bore
        {point(1000, -998, 5), 12.5, 500},  // far from the origin
        {point(3, 4, 1), 0.4, 200},         // small radius
        {point(1001, 1002, 1003), 0.3, 90},
    };
    unsigned seed = 1;
    for (const auto& k : cases) {
        const actual set = profile(k.centre, k.radius, k.n, 2 * pi, 0.0005, seed++);
        for (const auto s : {substitute::zone, substitute::inscribed, substitute::circumscribed}) {
            substitute fit;
            const spanto::circle c = fit.circle(set, vector(0, 0, 1), s);
            ASSERT_TRUE(c.valid());
            EXPECT_TRUE(closed_profile(set, c.centre, c.normal));
            expect_criterion_holds(s, set, c, fit.deviation());
            for (const double h : {1e-3, 1e-5, 1e-7}) {
                expect_locally_optimal(s, set, c, h * k.radius);
            }
        }
    }
}

TEST(CircleOptimum, LeastSquaresHasAZeroGradientOnAPartialArc) {
    const actual set = profile(point(50, 60, 0), 30, 60, pi / 2, 0.001, 9);
    substitute fit;
    const spanto::circle c = fit.circle(set, vector(0, 0, 1), substitute::gauss);
    ASSERT_TRUE(c.valid());
    // Gradient of sum (d_i - r)^2 with respect to centre and radius.
    double gx = 0, gy = 0, gr = 0;
    for (const point& p : set) {
        const double d = std::hypot(p.x - c.centre.x, p.y - c.centre.y);
        const double e = d - c.radius;
        gx += -2 * e * (p.x - c.centre.x) / d;
        gy += -2 * e * (p.y - c.centre.y) / d;
        gr += -2 * e;
    }
    EXPECT_LT(std::fabs(gx), 1e-9);
    EXPECT_LT(std::fabs(gy), 1e-9);
    EXPECT_LT(std::fabs(gr), 1e-9);
}

TEST(CircleOptimum, ZoneIsOptimalOnAPartialArc) {
    const actual set = profile(point(-5, 7, 2), 8, 120, 2 * pi / 3, 0.0005, 4);
    substitute fit;
    const spanto::circle c = fit.circle(set, vector(0, 0, 1), substitute::zone);
    expect_criterion_holds(substitute::zone, set, c, fit.deviation());
    for (const double h : {1e-3, 1e-5}) expect_locally_optimal(substitute::zone, set, c, h * 8);
}

TEST(CircleOptimum, OpenProfilesKeepTheMinimisersInscribedAndCircumscribedCircles) {
    const actual set = profile(point(0, 0, 0), 10, 100, pi * 0.8, 0.001, 5);
    for (const auto s : {substitute::inscribed, substitute::circumscribed}) {
        substitute refined, coarse;
        const spanto::circle r = refined.circle(set, vector(0, 0, 1), s);
        detail::circle_refinement(false);
        const spanto::circle m = coarse.circle(set, vector(0, 0, 1), s);
        detail::circle_refinement(true);
        EXPECT_EQ(r.centre.x, m.centre.x);
        EXPECT_EQ(r.centre.y, m.centre.y);
        EXPECT_EQ(r.radius, m.radius);
        EXPECT_EQ(refined.deviation(), coarse.deviation());
        EXPECT_FALSE(closed_profile(set, r.centre, r.normal)) << s;
    }
}

TEST(CircleOptimum, OnAnOpenArcTheCircumscribedCircleIsNotTheSmallestEnclosingOne) {
    // 120 degrees of radius 80: the smallest circle that holds the points is the one over the
    // chord, of radius 80 sin 60 degrees. The fit stays near the arc's own circle and says so.
    actual arc(121);
    for (int k = 0; k <= 120; ++k) {
        const double a = pi / 180 * (30 + k);
        arc.append(80 * std::cos(a), 80 * std::sin(a), 0);
    }
    substitute fit;
    const spanto::circle c = fit.circle(arc, vector(0, 0, 1), substitute::circumscribed);
    ASSERT_TRUE(c.valid());
    EXPECT_GT(c.radius, 80 * std::sin(pi / 3) + 1);
    EXPECT_FALSE(closed_profile(arc, c.centre, c.normal));
    EXPECT_TRUE(closed_profile(arc, point(0, 60, 0), vector(0, 0, 1)));  // inside the chord
}

TEST(CircleOptimum, RefinementIsNeverWorseThanTheMinimiser) {
    for (unsigned seed = 20; seed < 26; ++seed) {
        const double sweep = (seed % 2 == 0 ? 2 * pi : pi * 0.6);
        const actual set = profile(point(seed, -2.0 * seed, 0), 5, 40, sweep, 0.01, seed);
        for (const auto s : {substitute::zone, substitute::inscribed, substitute::circumscribed}) {
            substitute refined, coarse;
            const spanto::circle r = refined.circle(set, vector(0, 0, 1), s);
            detail::circle_refinement(false);
            const spanto::circle m = coarse.circle(set, vector(0, 0, 1), s);
            detail::circle_refinement(true);
            const double vr = criterion_value(s, set, r.centre.x, r.centre.y);
            const double vm = criterion_value(s, set, m.centre.x, m.centre.y);
            EXPECT_LE(vr, vm + 1e-12 * std::fabs(vm)) << "seed " << seed << " criterion " << s;
        }
    }
}

TEST(CircleOptimum, ThreePointAndNearlyCollinearSetsStayValid) {
    actual triangle(3);
    triangle.append(0, 0, 0);
    triangle.append(4, 0, 0);
    triangle.append(1, 3, 0);
    for (const auto s :
         {substitute::gauss, substitute::zone, substitute::inscribed, substitute::circumscribed}) {
        substitute fit;
        const spanto::circle c = fit.circle(triangle, vector(0, 0, 1), s);
        ASSERT_TRUE(c.valid()) << s;
        // Three points lie on one circle: every criterion reaches deviation 0.
        EXPECT_NEAR(fit.deviation(), 0, 1e-12) << s;
        EXPECT_NEAR(c.centre.x, 2, 1e-12) << s;
        EXPECT_NEAR(c.centre.y, 1, 1e-12) << s;
    }

    actual flat(7);
    for (int i = 0; i < 7; ++i) flat.append(i, 1e-6 * (i - 3) * (i - 3), 0);
    for (const auto s :
         {substitute::gauss, substitute::zone, substitute::inscribed, substitute::circumscribed}) {
        substitute fit;
        const spanto::circle c = fit.circle(flat, vector(0, 0, 1), s);
        EXPECT_TRUE(std::isfinite(fit.deviation())) << s;
        if (c.valid()) {
            const auto [low, high] = radial_range(flat, c.centre.x, c.centre.y);
            EXPECT_NEAR(fit.deviation(), high - low, 1e-9 * c.radius) << s;
        }
    }
}

}  // namespace
}  // namespace vantor
