// SPDX-License-Identifier: Apache-2.0
#include "actual/axis_range.h"

#include <spanto/text.h>

#include "actual/evaluation_trace.h"

namespace vantor::detail {

bool axis_distance_range(const actual& points, const spanto::line& axis, extremes& range) {
    const int n = points.numpoints();
    const int k = points.FirstValidPoint();
    trace_points(roundness_operation, points);
    VANTOR_TRACE(4,
                 " roundness::compute: &=%p, line( point(%.3f,%.3f,%.3f), "
                 "vector(%.3f,%.3f,%.3f) )\n",
                 static_cast<const void*>(&axis), axis.origin.x, axis.origin.y, axis.origin.z,
                 axis.direction.x, axis.direction.y, axis.direction.z);
    if (k < 0) {
        trace_no_valid_points(roundness_operation, k);
        return false;
    }
    const spanto::line l = axis;
    range =
        scan_extremes(points.data(), k, n, [l](const spanto::point& p) { return l.distance(p); });
    VANTOR_TRACE(2, "-roundness::compute: result = %.3f (%.3f..%.3f)\n", range.high - range.low,
                 range.low, range.high);
    return true;
}

bool radial_deviation_range(const actual& points, const spanto::circle& circle, extremes& range) {
    const int n = points.numpoints();
    const int k = points.FirstValidPoint();
    trace_points(roundness_operation, points);
    VANTOR_TRACE(4, " roundness::compute: circle=%s\n", spanto::toa(circle).c_str());
    if (k < 0) {
        trace_no_valid_points(roundness_operation, k);
        return false;
    }
    const spanto::line axis = circle.axisline();
    const double radius = circle.radius;
    range = scan_extremes(points.data(), k, n, [axis, radius](const spanto::point& p) {
        return radius - axis.distance(p);
    });
    VANTOR_TRACE(2, "-roundness::compute: result = %.3f (%.3f..%.3f)\n", range.high - range.low,
                 range.high, range.low);
    return true;
}

}  // namespace vantor::detail
