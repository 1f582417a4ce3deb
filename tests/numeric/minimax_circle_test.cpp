// SPDX-License-Identifier: Apache-2.0
#include "numeric/minimax_circle.h"

#include <gtest/gtest.h>

#include <vector>

#include "numeric/circumscribed_circle.h"
#include "numeric/inscribed_circle.h"
#include "numeric/zone_circle.h"
#include "planar_profiles.h"

namespace vantor {
namespace detail {
namespace {

// The solvers on the candidates give what they give on all points: for dense lobed profiles
// and an arc, from a start near the optimum and from one so far off (50 um, beyond the first
// band of candidates) that the check must add the decisive points.
TEST(MinimaxCircle, CandidatesGiveTheCircleOfAllPoints) {
    struct profile_case {
        std::vector<point2> points;
        bool closed;
    };
    const point2 c{-300.0, 120.0};
    const profile_case cases[] = {
        {profiles::lobed(1, c, 25.0, 20000, 3, 0.01, 0.002), true},
        {profiles::lobed(2, c, 40.0, 30000, 7, 0.004, 0.004), true},
        {profiles::lobed(3, c, 10.0, 20000, 2, 0.02, 0.001, 0.3, 2.2), false},
    };
    for (const profile_case& k : cases) {
        for (const point2 start :
             {point2{c.x + 0.001, c.y - 0.002}, point2{c.x + 0.04, c.y + 0.03}}) {
            const minimax_circle mc = solve_minimax_circle(k.points, start, minimax_sides::outer);
            const circle2 all = minimum_circumscribed_circle(k.points);
            EXPECT_LT(distance(mc.centre, all.centre), 1e-9);
            EXPECT_NEAR(mc.outer, all.radius, 1e-9);
            EXPECT_LT(mc.candidates, k.points.size() / 4);

            const minimax_circle mz = solve_minimax_circle(k.points, start, minimax_sides::both);
            const zone2 zone = minimum_zone_circle(k.points, mz.centre);
            EXPECT_TRUE(mz.outcome.converged);
            EXPECT_NEAR(mz.outer - mz.inner, zone.outer - zone.inner, 1e-12);
            EXPECT_NEAR(profiles::zone_width(k.points, mz.centre), mz.outer - mz.inner, 1e-12);

            const minimax_circle mi = solve_minimax_circle(k.points, start, minimax_sides::inner);
            EXPECT_EQ(mi.surrounded, k.closed);
            if (!k.closed) continue;
            EXPECT_NEAR(profiles::smallest_distance(k.points, mi.centre), mi.inner, 1e-12);
            const circle2 walked = maximum_inscribed_circle(k.points, mi.centre);
            EXPECT_LT(distance(walked.centre, mi.centre), 1e-9);
        }
    }
}

}  // namespace
}  // namespace detail
}  // namespace vantor
