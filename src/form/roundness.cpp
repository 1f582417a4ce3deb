// SPDX-License-Identifier: Apache-2.0
// Roundness against a given circle or axis line. The measurement itself, which the circle fit
// shares, is in actual/axis_range.h; the evaluations that first fit their circle are in
// roundness_fitted.cpp.
#include "actual/axis_range.h"
#include "form/evaluation.h"

namespace vantor {

namespace {

constexpr const char* operation = detail::roundness_operation;

}  // namespace

roundness::roundness() : formfeature(fea_roundness) {}

roundness::roundness(const double& value) : roundness() { this->value(value); }

roundness::roundness(const actual& points, const spanto::circle& circle) : roundness() {
    compute(points, circle);
}

roundness::roundness(const actual& points, const spanto::line& line) : roundness() {
    compute(points, line);
}

bool roundness::compute(const actual& points, const spanto::circle& circle) {
    detail::trace_entry(operation);
    // Copied before the datum is marked invalid: `circle` may be this feature's own datum.
    const spanto::circle reference = circle;
    datum_.setinvalid();
    return against_circle(points, reference);
}

bool roundness::against_circle(const actual& points, const spanto::circle& reference) {
    detail::extremes e;
    if (!detail::radial_deviation_range(points, reference, e)) {
        setinvalid();
        return false;
    }
    value(e.high - e.low);
    datum_ = reference;
    return true;
}

bool roundness::compute(const actual& points, const spanto::line& line) {
    detail::trace_entry(operation);
    detail::extremes e;
    if (!detail::axis_distance_range(points, line, e)) {
        setinvalid();
        return false;
    }
    minimum_ = e.low;
    maximum_ = e.high;
    value(maximum_ - minimum_);
    return true;
}

}  // namespace vantor
