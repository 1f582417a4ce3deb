// SPDX-License-Identifier: Apache-2.0
// Minimum circumscribed circle in the plane.
//
// Welzl's algorithm, written as three nested loops instead of recursion (the point count may be in
// the millions): a point outside the current circle must lie on the boundary of the smallest
// circle of the points seen so far, so the circle is rebuilt through it (and, in the inner loops,
// through one or two further boundary points). The points are shuffled with a fixed seed, which
// makes the expected time linear and the result reproducible, and every point that forced a
// rebuild is moved to the front, where it is met early next time. The problem is convex, so the
// result is the global optimum. Optimality: either two contact points are diametral, or three
// contact points do not all lie in one half of the circle.
#ifndef VANTOR_NUMERIC_CIRCUMSCRIBED_CIRCLE_H
#define VANTOR_NUMERIC_CIRCUMSCRIBED_CIRCLE_H

#include <vector>

#include "numeric/planar.h"

namespace vantor {
namespace detail {

// The smallest circle containing all points. Its radius is the largest distance of a point from
// the returned centre (as computed by `distance`), so no point lies outside it. An empty set gives
// the zero circle at the origin; a single point (or coincident points) a circle of radius 0 about
// it.
circle2 minimum_circumscribed_circle(const std::vector<point2>& points);

// The same circle, computed in the storage of the points given, which are left shifted and
// reordered; the radius is then the largest distance from the centre of the shifted points.
circle2 minimum_circumscribed_circle(std::vector<point2>&& points);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_CIRCUMSCRIBED_CIRCLE_H
