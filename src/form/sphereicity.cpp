// SPDX-License-Identifier: Apache-2.0
#include "form/evaluation.h"
#include "vantor/substitute.h"

namespace vantor {

namespace {

constexpr const char* operation = "sphereicity::compute";

}  // namespace

sphereicity::sphereicity() : formfeature(fea_sphereicity) {}

sphereicity::sphereicity(const double& value) : sphereicity() { this->value(value); }

sphereicity::sphereicity(const actual& points) : sphereicity() { compute(points); }

sphereicity::sphereicity(const actual& points, const spanto::point& centre) : sphereicity() {
    compute(points, centre);
}

sphereicity::sphereicity(const actual& points, const spanto::sphere& sphere) : sphereicity() {
    compute(points, sphere);
}

bool sphereicity::compute(const actual& points, const spanto::point& centre) {
    detail::trace_entry(operation);
    const int n = points.numpoints();
    const int k = points.FirstValidPoint();
    detail::trace_points(operation, points);
    VANTOR_TRACE(4, " sphereicity::compute:& =%p, %s\n", static_cast<const void*>(&centre),
                 spanto::toa(centre).c_str());
    if (k < 0) return detail::reject_no_valid_points(*this, operation, k);

    const spanto::point c = centre;
    const detail::extremes e = detail::scan_extremes(
        points.data(), k, n, [c](const spanto::point& p) { return c.distance(p); });
    minimum_ = e.low;
    maximum_ = e.high;
    value(maximum_ - minimum_);
    VANTOR_TRACE(2, "-sphereicity::compute: result = %.3f (%.3f..%.3f)\n", value(), minimum_,
                 maximum_);
    return true;
}

bool sphereicity::compute(const actual& points, const spanto::sphere& sphere) {
    detail::trace_entry(operation);
    // Copied before the datum is marked invalid: `sphere` may be this feature's own datum.
    const spanto::sphere reference = sphere;
    datum_.setinvalid();
    const int n = points.numpoints();
    const int k = points.FirstValidPoint();
    detail::trace_points(operation, points);
    VANTOR_TRACE(4, " sphereicity::compute: datum=%s\n", spanto::toa(reference).c_str());
    if (k < 0) return detail::reject_no_valid_points(*this, operation, k);

    // Radial deviation: radius minus distance from the centre, positive inside.
    const spanto::point c = reference.centre;
    const double radius = reference.radius;
    const detail::extremes e = detail::scan_extremes(
        points.data(), k, n,
        [c, radius](const spanto::point& p) { return radius - c.distance(p); });
    value(e.high - e.low);
    datum_ = reference;
    VANTOR_TRACE(2, "-sphereicity::compute: result = %.3f (%.3f..%.3f)\n", value(), e.high, e.low);
    return true;
}

bool sphereicity::compute(const actual& points) {
    detail::trace_entry(operation);
    datum_.setinvalid();
    const substitute fit;
    const spanto::sphere fitted = fit.sphere(&points, substitute::gauss);
    if (fitted.invalid()) {
        setinvalid();
        return false;
    }
    detail::trace_points(operation, points);
    // "circle=" although the text is the sphere's.
    VANTOR_TRACE(4, " sphereicity::compute: circle=%s\n", spanto::toa(fitted).c_str());
    datum_ = fitted;
    return compute(points, datum_);
}

}  // namespace vantor
