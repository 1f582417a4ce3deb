// SPDX-License-Identifier: Apache-2.0
// Maximum inscribed circle of a closed profile in the plane.
//
// Maximises f(c) = min_i |p_i - c| by walking uphill along the nearest-point Voronoi diagram
// from the start centre. With one nearest point the centre moves straight away from it; with
// several, whose directions lie in one half plane, it moves along the perpendicular bisector of
// the two outermost of them (the others then recede faster). Each move stops where another point
// becomes as near (a ray shot against all points), so every step reaches a Voronoi edge or vertex
// with a larger f. Optimality (a strict local maximum): the nearest points, at least three, do
// not all lie in one closed half of the circle, i.e. their largest angular gap is below pi; then
// every move brings one of them closer.
#ifndef VANTOR_NUMERIC_INSCRIBED_CIRCLE_H
#define VANTOR_NUMERIC_INSCRIBED_CIRCLE_H

#include <vector>

#include "numeric/planar.h"

namespace vantor {
namespace detail {

// The largest circle about a centre near `start` that has no point inside: the local maximum of
// the smallest point distance reached uphill from `start`. The radius is the smallest distance of
// a point from the returned centre, so no point lies inside it. The points must surround the
// start; if they do not, the walk may reach a direction in which f grows without bound, and the
// solver returns the last circle reached before it (never worse than the start circle, whose
// radius is the smallest distance from `start`). It also stops, returning the best circle so
// far, when a step no longer increases f (a degenerate, cocircular configuration at rounding
// level) or after 10,000 steps. An empty set returns `start` with radius 0; a start that
// coincides with a point returns radius 0 there. When `outcome` is given it receives the steps
// taken and whether the walk stopped at a strict local maximum (or where f no longer grew).
circle2 maximum_inscribed_circle(const std::vector<point2>& points, point2 start,
                                 solver_outcome* outcome = nullptr);

// The same for long smooth profiles (a filtered profile of many points), across whose valleys
// the walk advances nearly point by point, at a pass over all points a step: it walks first on
// every m-th point (at most 4096 of them), then on all points from where that walk stopped. The
// result is a local maximum for all points, as above; the coarse walk only brings the start
// near it.
circle2 maximum_inscribed_circle_coarse_first(const std::vector<point2>& points, point2 start);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_INSCRIBED_CIRCLE_H
