// SPDX-License-Identifier: Apache-2.0
// Least-squares (geometric) circle in the plane.
//
// Minimises S(c, r) = sum_i (|p_i - c| - r)^2 by Levenberg-Marquardt (Marquardt's diagonal
// scaling) from a start circle, in coordinates centred on the centroid so that points far from
// the origin lose no digits. A trial step is kept only when it lowers S, or raises it by no more
// than the rounding noise of S (near the minimum the residuals cancel digits and S stops telling
// better from worse while the Gauss-Newton step stays accurate); so the result is never worse
// than the start beyond rounding. Optimality: at the minimum the gradient J^T e vanishes, i.e.
// the residuals sum to zero and are orthogonal to the point directions; the iteration stops when
// a step no longer changes the data's digits (a few units in the last place of its size), when
// no step is kept, or when steps that no longer lower S also stop shrinking (the gradient has
// reached its rounding floor).
#ifndef VANTOR_NUMERIC_LEAST_SQUARES_CIRCLE_H
#define VANTOR_NUMERIC_LEAST_SQUARES_CIRCLE_H

#include <vector>

#include "numeric/planar.h"

namespace vantor {
namespace detail {

// The circle minimising the sum of squared radial deviations, found from `start` (the local
// minimum whose basin contains it). Returns `start` unchanged for an empty point set. With all
// points collinear the problem has no minimum (S falls as r grows); the solver then stops after
// its iteration cap with the best circle reached, which is no worse than `start`.
circle2 least_squares_circle(const std::vector<point2>& points, const circle2& start);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_LEAST_SQUARES_CIRCLE_H
