// SPDX-License-Identifier: Apache-2.0
// The datum of one feature: a plane touching a face from outside its material, the axis or
// centre of the inscribed (hole) or circumscribed (shaft) element.
#include "fit/datum_result.h"
#include "vantor/datum.h"

namespace vantor {

namespace {

criterion criterion_of(feature_side side) {
    return side == feature_side::hole ? criterion::inscribed : criterion::circumscribed;
}

// Takes the fit's report, status and error; false when the fit failed.
template <class Element, class Fitted>
bool take_fit(datum_result<Element>& r, const fit_result<Fitted>& f) {
    r.fit = f;
    r.status = f.status;  // ok or not_proved when the fit succeeded
    r.error = f.error;
    return f.valid();
}

}  // namespace

datum_result<spanto::plane> datum_plane(const actual& points, const spanto::vector& outward,
                                        const fit_options& options) {
    datum_result<spanto::plane> r;
    const spanto::vector u = detail::outward_unit(outward);
    if (u.invalid())
        return detail::datum_failure(r, status::refused, detail::outward_not_a_direction);
    const fit_result<spanto::plane> zone = fit_plane(points, criterion::zone, options);
    if (!take_fit(r, zone)) return r;
    // The outer side of the zone along the normal turned outward.
    spanto::vector n = zone.element.normal;
    double outer = zone.maximum;
    if (dot(n, u) < 0.0) {
        n = -n;
        outer = -zone.minimum;
    }
    const std::string refusal = detail::outward_refusal(dot(n, u));
    if (!refusal.empty()) return detail::datum_failure(r, status::refused, refusal);
    r.element = spanto::plane(zone.element.origin + outer * n, n);
    return r;
}

datum_result<spanto::line> datum_axis(const actual& points, feature_side side,
                                      const fit_options& options) {
    datum_result<spanto::line> r;
    const fit_result<spanto::cylinder> f = fit_cylinder(points, criterion_of(side), options);
    if (take_fit(r, f)) r.element = spanto::line(f.element.origin, f.element.direction);
    return r;
}

datum_result<spanto::line> datum_circle_axis(const actual& points, feature_side side,
                                             const fit_options& options) {
    datum_result<spanto::line> r;
    const fit_result<spanto::circle> f = fit_circle(points, criterion_of(side), options);
    if (take_fit(r, f)) r.element = spanto::line(f.element.centre, f.element.normal);
    return r;
}

datum_result<spanto::line> datum_circle_axis(const actual& points, const spanto::vector& direction,
                                             feature_side side, const fit_options& options) {
    datum_result<spanto::line> r;
    const fit_result<spanto::circle> f = fit_circle(points, direction, criterion_of(side), options);
    if (take_fit(r, f)) r.element = spanto::line(f.element.centre, f.element.normal);
    return r;
}

datum_result<spanto::point> datum_centre(const actual& points, feature_side side,
                                         const fit_options& options) {
    datum_result<spanto::point> r;
    const fit_result<spanto::sphere> f = fit_sphere(points, criterion_of(side), options);
    if (take_fit(r, f)) r.element = f.element.centre;
    return r;
}

}  // namespace vantor
