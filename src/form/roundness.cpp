// Roundness against a given circle or axis line. The evaluations that first fit their circle
// live with the circle fitting.
#include "form/evaluation.h"

namespace vantor {

namespace {

constexpr const char* operation = "roundness::compute";

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
    const int n = points.numpoints();
    const int k = points.FirstValidPoint();
    detail::trace_points(operation, points);
    VANTOR_TRACE(4, " roundness::compute: circle=%s\n", spanto::toa(reference).c_str());
    if (k < 0) return detail::reject_no_valid_points(*this, operation, k);

    // Radial deviation: radius minus distance from the axis, positive inside.
    const spanto::line axis = reference.axisline();
    const double radius = reference.radius;
    const detail::extremes e = detail::scan_extremes(
        points.data(), k, n,
        [axis, radius](const spanto::point& p) { return radius - axis.distance(p); });
    value(e.high - e.low);
    datum_ = reference;
    VANTOR_TRACE(2, "-roundness::compute: result = %.3f (%.3f..%.3f)\n", value(), e.high, e.low);
    return true;
}

bool roundness::compute(const actual& points, const spanto::line& line) {
    detail::trace_entry(operation);
    const int n = points.numpoints();
    const int k = points.FirstValidPoint();
    detail::trace_points(operation, points);
    VANTOR_TRACE(4,
                 " roundness::compute: &=%p, line( point(%.3f,%.3f,%.3f), "
                 "vector(%.3f,%.3f,%.3f) )\n",
                 static_cast<const void*>(&line), line.origin.x, line.origin.y, line.origin.z,
                 line.direction.x, line.direction.y, line.direction.z);
    if (k < 0) return detail::reject_no_valid_points(*this, operation, k);

    const spanto::line axis = line;
    const detail::extremes e = detail::scan_extremes(
        points.data(), k, n, [axis](const spanto::point& p) { return axis.distance(p); });
    minimum_ = e.low;
    maximum_ = e.high;
    value(maximum_ - minimum_);
    VANTOR_TRACE(2, "-roundness::compute: result = %.3f (%.3f..%.3f)\n", value(), minimum_,
                 maximum_);
    return true;
}

}  // namespace vantor
