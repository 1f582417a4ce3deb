// SPDX-License-Identifier: Apache-2.0
#include <algorithm>
#include <vector>

#include "form/evaluation.h"
#include "vantor/substitute.h"

namespace vantor {

namespace {

constexpr const char* operation = "coneicity::compute";

// The radius r = a + b t of a cone profile at the axial position t.
struct profileline {
    double a;
    double b;
};

// The radial profile of a point set about an axis: point i becomes (t, r, 0), with t the signed
// axial position of its foot on the axis, measured from the axis point, and r its distance from
// the axis. Every stored point counts, whatever its validity.
std::vector<spanto::point> radialprofile(const actual& points, const spanto::axis& axis) {
    const spanto::point o = axis.origin;
    const spanto::vector u = axis.direction;
    std::vector<spanto::point> profile;
    profile.reserve(static_cast<std::size_t>(points.numpoints()));
    for (const spanto::point& p : points) {
        const spanto::point foot = axis.nearest(p);
        // Along the unit direction u, without a square root per point.
        profile.emplace_back(spanto::dot(foot - o, u), foot.distance(p), 0.0);
    }
    return profile;
}

// The least-squares line through the (x, y) of the profile points. False when it is undefined:
// fewer than two distinct x (an empty profile and a single point included), or a zero or NaN
// divisor.
bool profilefit(const std::vector<spanto::point>& profile, profileline& fit) {
    const spanto::point* p = profile.data();
    const int n = static_cast<int>(profile.size());
    double sx = 0.0, sxx = 0.0, sxy = 0.0, sy = 0.0;
    bool distinct = false;
    for (int i = 0; i < n; ++i) {
        const double x = p[i].x, y = p[i].y;
        sx += x;
        sxx += x * x;
        sxy += x * y;
        sy += y;
        if (x != p[0].x) distinct = true;
    }
    const double d = n * sxx - sx * sx;
    // With equal x the divisor is zero only up to rounding, hence the explicit test.
    if (!distinct || !(d > 0.0)) return false;
    fit.b = (n * sxy - sx * sy) / d;
    fit.a = (sy * sxx - sx * sxy) / d;
    return true;
}

// The smallest and largest residual y - (a + b x) of a non-empty profile about the line.
detail::extremes profilerange(const std::vector<spanto::point>& profile, const profileline& fit) {
    return detail::scan_extremes(
        profile.data(), 0, static_cast<int>(profile.size()),
        [fit](const spanto::point& p) { return p.y - (fit.b * p.x + fit.a); });
}

// The fitted cone: through the circles of the fitted radius at the axis point and one unit
// along the axis (the axis direction has unit length). When a fitted radius there is negative
// (the axis point lies beyond the apex), the same surface is described by its circles at the
// ends of the measured profile instead; it is invalid only when a fitted radius is negative
// within the measured part.
spanto::cone profilecone(const spanto::axis& axis, const profileline& fit,
                         const std::vector<spanto::point>& profile) {
    const spanto::point o = axis.origin;
    const spanto::vector u = axis.direction;
    if (fit.a >= 0.0 && fit.a + fit.b >= 0.0) {
        return spanto::cone(o + 0.0 * u, fit.a, o + 1.0 * u, fit.a + fit.b);
    }
    double low = profile.front().x;
    double high = low;
    for (const spanto::point& p : profile) {
        low = std::min(low, p.x);
        high = std::max(high, p.x);
    }
    return spanto::cone(o + low * u, fit.a + fit.b * low, o + high * u, fit.a + fit.b * high);
}

}  // namespace

coneicity::coneicity() : formfeature(fea_coneicity) { setinvalid(); }

coneicity::coneicity(const double& value) : coneicity() { this->value(value); }

coneicity::coneicity(const actual& points) : coneicity() { compute(points); }
coneicity::coneicity(const actual* points) : coneicity() { compute(points); }

coneicity::coneicity(const actual& points, const spanto::cone& cone) : coneicity() {
    compute(points, cone);
}
coneicity::coneicity(const actual* points, const spanto::cone& cone) : coneicity() {
    compute(points, cone);
}

coneicity::coneicity(const actual& points, const spanto::axis& axis) : coneicity() {
    compute(points, axis);
}
coneicity::coneicity(const actual* points, const spanto::axis& axis) : coneicity() {
    compute(points, axis);
}

coneicity::coneicity(const actual& points, const spanto::vector& direction) : coneicity() {
    compute(points, direction);
}
coneicity::coneicity(const actual* points, const spanto::vector& direction) : coneicity() {
    compute(points, direction);
}

bool coneicity::compute(const actual& points, const spanto::cone& cone) {
    detail::trace_entry(operation);
    const int n = points.numpoints();
    const int k = points.FirstValidPoint();
    detail::trace_points(operation, points);
    VANTOR_TRACE(4, " coneicity::compute: &=%p, %s\n", static_cast<const void*>(&cone),
                 spanto::toa(cone).c_str());
    if (k < 0) return detail::reject_no_valid_points(*this, operation, k);

    // A copy: `cone` may be this feature's own datum.
    const spanto::cone reference = cone;
    const detail::extremes e = detail::scan_extremes(
        points.data(), k, n,
        [&reference](const spanto::point& p) { return reference.sdistance(p); });
    minimum_ = e.low;
    maximum_ = e.high;
    value(detail::one_sided_width(e));
    datum_ = reference;
    VANTOR_TRACE(2, "-coneicity::compute: result = %.3f\n", value());
    return true;
}

bool coneicity::compute(const actual& points, const spanto::axis& axis) {
    if (axis.invalid()) {
        setinvalid();
        return false;
    }
    const std::vector<spanto::point> profile = radialprofile(points, axis);
    profileline fit;
    if (!profilefit(profile, fit)) {
        setinvalid();
        return false;
    }
    const spanto::cone fitted = profilecone(axis, fit, profile);
    if (fitted.invalid()) {
        setinvalid();
        return false;
    }
    datum_ = fitted;
    const detail::extremes e = profilerange(profile, fit);
    minimum_ = e.low;
    maximum_ = e.high;
    value(maximum_ - minimum_);
    return true;
}

bool coneicity::compute(const actual& points, const spanto::vector& direction) {
    detail::trace_entry(operation);
    datum_.setinvalid();
    const int k = points.FirstValidPoint();
    detail::trace_points(operation, points);
    VANTOR_TRACE(4, " coneicity::compute: vector=%s\n", spanto::toa(direction).c_str());
    if (k < 0) return detail::reject_no_valid_points(*this, operation, k);

    const substitute fit;
    const spanto::cone fitted = fit.cone(&points, direction, substitute::gauss);
    if (fitted.invalid()) {
        setinvalid();
        return false;
    }
    if (!compute(points, fitted.rotaxis())) return false;
    VANTOR_TRACE(2, "-coneicity::compute:\n");
    return true;
}

bool coneicity::compute(const actual& points) {
    const substitute fit;
    datum_ = fit.cone(&points, substitute::zone);
    if (datum_.invalid()) {
        setinvalid();
        return false;
    }
    return compute(points, datum_);
}

// A null point set is a failed evaluation, not a crash.
bool coneicity::compute(const actual* points, const spanto::cone& cone) {
    return points != nullptr ? compute(*points, cone) : detail::reject_missing_points(*this);
}
bool coneicity::compute(const actual* points, const spanto::axis& axis) {
    return points != nullptr ? compute(*points, axis) : detail::reject_missing_points(*this);
}
bool coneicity::compute(const actual* points, const spanto::vector& direction) {
    return points != nullptr ? compute(*points, direction) : detail::reject_missing_points(*this);
}
bool coneicity::compute(const actual* points) {
    return points != nullptr ? compute(*points) : detail::reject_missing_points(*this);
}

}  // namespace vantor
