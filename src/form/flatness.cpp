// SPDX-License-Identifier: Apache-2.0
#include "form/evaluation.h"
#include "vantor/substitute.h"

namespace vantor {

namespace {

constexpr const char* operation = "flatness::Compute";

}  // namespace

flatness::flatness() : formfeature(fea_flatness) {}

flatness::flatness(const double& value) : flatness() { this->value(value); }

flatness::flatness(const actual& points) : flatness() { compute(points); }

flatness::flatness(const actual& points, const spanto::plane& plane) : flatness() {
    compute(points, plane);
}

flatness::flatness(const actual& points, const spanto::vector& direction) : flatness() {
    compute(points, direction);
}

bool flatness::compute(const actual& points, const spanto::plane& plane) {
    detail::trace_entry(operation);
    const int n = points.numpoints();
    const int k = points.FirstValidPoint();
    detail::trace_points(operation, points);
    VANTOR_TRACE(4,
                 " flatness::Compute: &=%p, plane( point(%.3f,%.3f,%.3f), "
                 "vector(%.3f,%.3f,%.3f) )\n",
                 static_cast<const void*>(&plane), plane.origin.x, plane.origin.y, plane.origin.z,
                 plane.normal.x, plane.normal.y, plane.normal.z);
    if (k < 0) return detail::reject_no_valid_points(*this, operation, k);

    // A copy: `plane` may be this feature's own datum.
    const spanto::plane reference = plane;
    const detail::extremes e = detail::scan_extremes(
        points.data(), k, n,
        [reference](const spanto::point& p) { return reference.sdistance(p); });
    minimum_ = e.low;
    maximum_ = e.high;
    value(detail::one_sided_width(e));
    datum_ = reference;
    VANTOR_TRACE(2, "-flatness::Compute: result = %.3f (%.3f..%.3f)\n", value(), maximum_,
                 minimum_);
    return true;
}

bool flatness::compute(const actual& points, const spanto::vector& direction) {
    detail::trace_entry(operation);
    const int n = points.numpoints();
    const int k = points.FirstValidPoint();
    detail::trace_points(operation, points);
    VANTOR_TRACE(4, " flatness::Compute: %s\n", spanto::toa(direction).c_str());
    if (k < 0) return detail::reject_no_valid_points(*this, operation, k);

    // The plane through the first valid point: that point lies in the zone, deviation 0.
    spanto::plane through(points[k], direction);
    if (through.invalid()) {
        // A zero or non-finite direction, or an invalid first point: no plane to measure from.
        setinvalid();
        return false;
    }
    detail::extremes e{0.0, 0.0};
    detail::fold_extremes(
        points.data() + k + 1, points.data() + n,
        [through](const spanto::point& p) { return through.sdistance(p); }, e);
    value(e.high - e.low);
    // Centre the zone on its middle plane; the unit normal moves it by true lengths whatever
    // the length of `direction`.
    const double mid = (e.high + e.low) * 0.5;
    maximum_ = e.high - mid;
    minimum_ = e.low - mid;
    through.origin += mid * through.normal;
    datum_ = through;
    VANTOR_TRACE(2, "-flatness::Compute: result = %.3f (%.3f..%.3f)\n", value(), maximum_,
                 minimum_);
    return true;
}

bool flatness::compute(const actual& points) {
    const substitute fit;
    datum_ = fit.plane(points, substitute::zone);
    if (datum_.invalid()) {
        setinvalid();
        return false;
    }
    return compute(points, datum_);
}

}  // namespace vantor
