// SPDX-License-Identifier: Apache-2.0
#include "form/evaluation.h"
#include "vantor/substitute.h"

namespace vantor {

namespace {

constexpr const char* operation = "straightness::compute";

}  // namespace

straightness::straightness() : formfeature(fea_straightness) {}

straightness::straightness(const double& value) : straightness() { this->value(value); }

straightness::straightness(const actual& points) : straightness() { compute(points); }

straightness::straightness(const actual& points, const spanto::line& line) : straightness() {
    compute(points, line);
}

// Nothing is evaluated, so nothing may look like a result.
straightness::straightness(const actual&, const spanto::plane&) : straightness() { setinvalid(); }

straightness::straightness(const actual& points, const spanto::vector& direction) : straightness() {
    compute(points, direction);
}

bool straightness::compute(const actual& points, const spanto::line& line) {
    setinvalid();
    detail::trace_entry(operation);
    const int n = points.numpoints();
    const int k = points.FirstValidPoint();
    detail::trace_points(operation, points);
    VANTOR_TRACE(4, " straightness::compute: &=%p=%s\n", static_cast<const void*>(&line),
                 spanto::toa(line).c_str());
    if (k < 0) return detail::reject_no_valid_points(*this, operation, k);

    const spanto::line axis = line;
    const detail::extremes e = detail::scan_extremes(
        points.data(), k, n, [axis](const spanto::point& p) { return axis.distance(p); });
    // Twice the distances: the diameters of the cylinders about the line.
    maximum_ = 2.0 * e.high;
    minimum_ = 2.0 * e.low;
    value(maximum_);
    datum_ = axis;
    VANTOR_TRACE(2, "-straightness::compute: result = %.3f (%.3f..%.3f)\n", value(), maximum_,
                 minimum_);
    return true;
}

bool straightness::compute(const actual& points) {
    detail::trace_entry(operation);
    setinvalid();
    const substitute fit;
    const spanto::line zoneline = fit.line(points, substitute::zone);
    if (zoneline.invalid()) {
        VANTOR_TRACE(1, "*straightness::compute: line(zone) failed\n");
        return false;
    }
    // The fit's zone width is the form value; no point is measured here.
    datum_ = zoneline;
    value(fit.deviation());
    minimum_ = 0.0;
    maximum_ = value();
    return true;
}

bool straightness::compute(const actual&, const spanto::plane&) { return false; }

bool straightness::compute(const actual&, const spanto::vector&) {
    setinvalid();
    return false;
}

}  // namespace vantor
