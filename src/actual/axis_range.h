// SPDX-License-Identifier: Apache-2.0
// The distances of a point set from an axis: the measurement behind roundness. The roundness
// feature reports it and the circle fit minimises it; both measure and trace through these two
// functions, so a fit's objective evaluations print the same lines as roundness evaluations.
#ifndef VANTOR_ACTUAL_AXIS_RANGE_H
#define VANTOR_ACTUAL_AXIS_RANGE_H

#include <spanto/circle.h>
#include <spanto/line.h>

#include "actual/extremes.h"
#include "vantor/actual.h"

namespace vantor::detail {

// The operation these measurements trace as, whoever runs them. Neither function traces the
// entry line ("+roundness::compute", trace_entry()): that is the caller's.
inline constexpr const char* roundness_operation = "roundness::compute";

// The smallest (low) and largest (high) distance of the points from `axis`, scanned from the
// first valid point as scan_extremes() does. Traces at level 4 the point set and the axis with
// its address, at level 2 "result = <high - low> (<low>..<high>)". False, with `range`
// unchanged and "no valid points" traced at level 1, for a set without points.
bool axis_distance_range(const actual& points, const spanto::line& axis, extremes& range);

// The radial deviations radius - distance from the circle's axis (positive inside), scanned
// the same way. Traces at level 4 the point set and the circle, at level 2
// "result = <high - low> (<high>..<low>)". False as above.
bool radial_deviation_range(const actual& points, const spanto::circle& circle, extremes& range);

}  // namespace vantor::detail

#endif  // VANTOR_ACTUAL_AXIS_RANGE_H
