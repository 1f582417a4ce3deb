// SPDX-License-Identifier: Apache-2.0
// The narrowest slab whose normal turns on a cone about the z axis.
//
// For points (x_i, y_i, h_i) and a normal m(t) = (s cos t, s sin t, c) (c = cos of the cone's
// half angle, s its sine), each point's position along m is the sinusoid
// f_i(t) = c h_i + s (x_i cos t + y_i sin t), and the slab's width is w(t) = max f_i - min f_i.
// Branch and bound over t finds its global minimum: on an interval of half width r about t0,
// f_i differs from f_i(t0) by at most r s |(x_i, y_i)|, which bounds w from below and tells
// which points can still be the largest or smallest anywhere in it; an interval whose bound
// exceeds the best width found (less the tolerance) is dropped, the others are halved. Once at
// most 32 candidates remain on each side, w on the interval is minimised exactly: between the
// angles where two candidates of one side cross, the extremes are fixed and w is one sinusoid.
// Points tied at every t (equal points; at c = 0 points apart only in h) are searched once.
#ifndef VANTOR_NUMERIC_TURNING_WIDTH_H
#define VANTOR_NUMERIC_TURNING_WIDTH_H

#include <cstddef>
#include <vector>

#include "numeric/spatial.h"

namespace vantor {
namespace detail {

struct turning_width {
    bool converged = false;        // false: the search ran out of its interval budget
    double turn = 0.0;             // t of the narrowest slab, radians in [0, 2 pi)
    double width = 0.0;            // w(turn), evaluated on every point
    double bound = 0.0;            // a proved lower bound of the minimum of w, >= width - tolerance
    double low = 0.0, high = 0.0;  // min and max of f_i(turn)
    std::size_t lowest = 0, highest = 0;
};

// The minimum of w over t for c, s (c^2 + s^2 = 1, s >= 0), to within `tolerance` (> 0).
// Needs at least one point.
turning_width minimum_turning_width(const std::vector<point3>& points, double c, double s,
                                    double tolerance);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_TURNING_WIDTH_H
