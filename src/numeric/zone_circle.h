// SPDX-License-Identifier: Apache-2.0
// Minimum-zone circle in the plane: the narrowest annulus of two concentric circles containing
// the points.
//
// Minimises w(c) = max_i |p_i - c| - min_i |p_i - c| over the centre c, a problem with local
// minima, from a start centre. Sequential linear programming with a trust region: about the
// current centre each distance is replaced by its tangent d_i + g_i . s (g_i the unit vector from
// p_i to the centre), and the linear program min (r_out - r_in) subject to
// r_in <= d_i + g_i . s <= r_out, |s|_inf <= radius, is solved exactly by a small simplex on a
// working set of constraints that grows by the most violated one until no point violates the
// model. A step is kept only when it narrows the zone; the trust radius follows the ratio of
// actual to predicted narrowing. At a vertex solution the step is a Newton step, so convergence
// is quadratic. Optimality (first order): the model predicts no narrowing, i.e. the directions
// from the centre to the outer contacts and to the inner contacts have intersecting convex
// hulls; in the regular case two outer and two inner contacts alternate
// outer/inner/outer/inner in angle about the centre (degenerate cases have more contacts, or an
// outer and an inner contact on one ray from the centre).
#ifndef VANTOR_NUMERIC_ZONE_CIRCLE_H
#define VANTOR_NUMERIC_ZONE_CIRCLE_H

#include <vector>

#include "numeric/planar.h"

namespace vantor {
namespace detail {

// A centre with the radii of the inner and outer circle of the zone about it.
struct zone2 {
    point2 centre;
    double inner, outer;
};

// The minimum zone reached from `start` (the local minimum of the zone width whose basin holds
// the start). `inner` and `outer` are the smallest and largest distances of a point from the
// returned centre, so all points lie within the zone. The result is never wider than the zone
// about `start`. When the width has no local minimum near the start (nearly collinear points,
// whose zone narrows as the centre recedes) the solver stops after 500 steps with the narrowest
// zone reached. An empty set returns `start` with both radii 0. When `outcome` is given it
// receives the steps taken and whether the model predicted no further narrowing (or the trust
// region shrank to rounding, or the width is 0).
zone2 minimum_zone_circle(const std::vector<point2>& points, point2 start,
                          solver_outcome* outcome = nullptr);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_ZONE_CIRCLE_H
