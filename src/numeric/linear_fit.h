// SPDX-License-Identifier: Apache-2.0
// The least-squares line and plane of a point set, in closed form from its centred scatter
// matrix: both pass through the centroid; the line runs along the principal axis of largest
// spread, the plane's normal along the axis of smallest spread. The sums of squared distances
// are then the smallest possible: the two smaller eigenvalues for the line, the smallest for
// the plane.
//
// Uncertainties, for a residual variance of 1 (the caller scales them by s): the line's
// residuals are the two components of each point's offset from it (2n residuals, 4
// parameters: a shift and a tilt across the line in two directions); the plane's the signed
// distances (n residuals, 3 parameters: a shift along the normal and two tilts). About the
// centroid and the principal axes J^T J is diagonal, with entries n for a shift and the sum of
// squares along the axis for a tilt, so the variances are 1/n and 1/eigenvalue.
#ifndef VANTOR_NUMERIC_LINEAR_FIT_H
#define VANTOR_NUMERIC_LINEAR_FIT_H

#include "numeric/scatter.h"

namespace vantor {
namespace detail {

struct linear_fit {
    point3 origin;     // the centroid
    point3 direction;  // the line's direction or the plane's normal (unit)
    // Standard uncertainties of the coordinates of origin and direction for s = 1, where the
    // origin moves only across the line or along the plane's normal.
    double origin_uncertainty[3];
    double direction_uncertainty[3];
    int residuals;   // number of residuals
    int parameters;  // number of free parameters
};

// The scatter must hold at least 2 points and the largest spread must not be negligible.
linear_fit least_squares_line(const scatter3& s, const principal_axes& axes);

// The scatter must hold at least 3 points and the middle spread must not be negligible.
linear_fit least_squares_plane(const scatter3& s, const principal_axes& axes);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_LINEAR_FIT_H
