// SPDX-License-Identifier: Apache-2.0
// Roundness about a circle the evaluation fits itself (least squares) with the circle fitting of
// the layer below.
#include "actual/axis_range.h"
#include "form/evaluation.h"
#include "vantor/substitute.h"

namespace vantor {

namespace {

constexpr const char* operation = detail::roundness_operation;

}  // namespace

roundness::roundness(const actual& points) : roundness() { compute(points); }

roundness::roundness(const actual& points, const spanto::vector& direction) : roundness() {
    compute(points, direction);
}

bool roundness::compute(const actual& points) {
    detail::trace_entry(operation);
    datum_.setinvalid();
    const spanto::circle fitted = substitute().circle(points, substitute::gauss);
    if (fitted.invalid()) {
        setinvalid();
        return false;
    }
    return against_circle(points, fitted);
}

bool roundness::compute(const actual& points, const spanto::vector& direction) {
    detail::trace_entry(operation);
    datum_.setinvalid();
    const int k = points.FirstValidPoint();
    detail::trace_points(operation, points);
    VANTOR_TRACE(4, " roundness::compute: vector=%s\n", spanto::toa(direction).c_str());
    value(0.0);
    if (k < 0) return detail::reject_no_valid_points(*this, operation, k);

    datum_ = substitute().circle(points, direction, substitute::gauss);
    if (datum_.invalid()) {
        // No circle to measure about: a failure, not a result.
        setinvalid();
        return false;
    }
    compute(points, datum_.axisline());
    VANTOR_TRACE(2, "-roundness::compute:\n");
    return true;
}

}  // namespace vantor
