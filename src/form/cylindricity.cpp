// SPDX-License-Identifier: Apache-2.0
#include "form/evaluation.h"
#include "vantor/substitute.h"

namespace vantor {

namespace {

constexpr const char* operation = "cylindricity::Compute";

}  // namespace

cylindricity::cylindricity() : formfeature(fea_cylindricity) { setinvalid(); }

cylindricity::cylindricity(const double& value) : cylindricity() { this->value(value); }

cylindricity::cylindricity(const actual& points) : cylindricity() { compute(points); }

cylindricity::cylindricity(const actual& points, const spanto::cylinder& cylinder)
    : cylindricity() {
    compute(points, cylinder);
}

bool cylindricity::compute(const actual& points, const spanto::cylinder& cylinder) {
    detail::trace_entry(operation);
    const int n = points.numpoints();
    const int k = points.FirstValidPoint();
    detail::trace_points(operation, points);
    // "plane" although the six numbers are the cylinder's axis point and direction.
    VANTOR_TRACE(4,
                 " cylindricity::Compute: &=%p, plane( point(%.3f,%.3f,%.3f), "
                 "vector(%.3f,%.3f,%.3f) )\n",
                 static_cast<const void*>(&cylinder), cylinder.origin.x, cylinder.origin.y,
                 cylinder.origin.z, cylinder.direction.x, cylinder.direction.y,
                 cylinder.direction.z);
    if (k < 0) return detail::reject_no_valid_points(*this, operation, k);

    // A copy: `cylinder` may be this feature's own datum.
    const spanto::cylinder reference = cylinder;
    // Only the largest distance counts; minimum and maximum are not evaluation results here.
    const double largest =
        detail::scan_extremes(points.data(), k, n, [reference](const spanto::point& p) {
            return reference.distance(p);
        }).high;
    value(largest);
    datum_ = reference;
    VANTOR_TRACE(2, "-cylindricity::Compute: result = %.3f\n", largest);
    return true;
}

bool cylindricity::compute(const actual& points) {
    const substitute fit;
    datum_ = fit.cylinder(&points, substitute::zone);
    if (datum_.invalid()) {
        setinvalid();
        return false;
    }
    return compute(points, datum_);
}

}  // namespace vantor
