// SPDX-License-Identifier: Apache-2.0
// Location of a centre, an axis, a plane surface or a median surface about a true position or
// datum: position, coaxiality, concentricity, symmetry.
#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "form/median_line.h"
#include "form/orientation_frame.h"
#include "vantor/location.h"

namespace vantor {

namespace {

constexpr double pi = 3.14159265358979323846;

using detail::failed;

// The largest of the distances offered and the point where it is taken; not finite when a
// distance is not (coordinates too large to compute with).
struct farthest {
    double distance = -1.0;
    spanto::point where;
    bool finite = true;

    void offer(double d, const spanto::point& p) {
        if (!std::isfinite(d)) finite = false;
        if (d > distance) distance = d, where = p;
    }
};

// The zone about the true position of a feature whose largest distance from it is `f`.
location_result zone(int points, const farthest& f) {
    if (!f.finite || f.distance < 0.0) {
        return failed<location_result>(status::invalid_points,
                                       "a distance is not finite (coordinates too large?)");
    }
    location_result r;
    r.points = points;
    r.deviation = f.distance;
    r.value = 2.0 * f.distance;
    r.actual = f.where;
    return r;
}

double from_axis(const detail::datum_frame& f, const spanto::point& p) {
    return ((p - f.origin) ^ f.d).length();
}

location_result circle_about(const actual& points, const spanto::line& axis, const char* what) {
    detail::datum_frame f;
    const std::string why = detail::frame_of(axis.origin, axis.direction, what, f);
    if (!why.empty()) return failed<location_result>(status::refused, why);
    const detail::valid_set s = detail::valid_rows_of(points, 3, "a circle");
    if (!s.error.empty()) return failed<location_result>(s.status, s.error);
    const fit_result<spanto::circle> circle = fit_circle(points, f.d);
    if (!circle.valid())
        return failed<location_result>(circle.status, "the circle: " + circle.error);
    farthest d;
    d.offer(from_axis(f, circle.element.centre), circle.element.centre);
    return zone(circle.points, d);
}

location_result axis_about(const actual& points, const spanto::line& axis, const char* what,
                           const section_request& request) {
    detail::datum_frame f;
    const std::string why = detail::frame_of(axis.origin, axis.direction, what, f);
    if (!why.empty()) return failed<location_result>(status::refused, why);
    detail::median_line line = detail::median_line_of(points, request);
    if (!line.valid()) return failed<location_result>(line.status, std::move(line.error));
    farthest d;
    for (const spanto::point& c : line.centres) d.offer(from_axis(f, c), c);
    location_result r = zone(line.points, d);
    if (r.valid()) r.centres = std::move(line.centres);
    return r;
}

// The least-squares plane of one face of a symmetry, or why it has none across the datum.
struct face_plane {
    spanto::plane plane;
    vantor::status status = vantor::status::ok;
    std::string error;
};

face_plane plane_of(const actual& face, const char* which, const detail::datum_frame& f) {
    face_plane r;
    const detail::valid_set s = detail::valid_rows_of(face, 3, which);
    if (!s.error.empty()) return failed<face_plane>(s.status, s.error);
    const fit_result<spanto::plane> fit = fit_plane(face);
    if (!fit.valid()) return failed<face_plane>(fit.status, std::string(which) + ": " + fit.error);
    const double cosine = std::abs(dot(fit.element.normal, f.d));
    if (!(std::acos(std::min(cosine, 1.0)) * 180.0 / pi <= symmetry_max_face_angle)) {
        std::ostringstream why;
        why << which << " lies more than " << symmetry_max_face_angle
            << " degrees from the datum plane: it has no median surface";
        return failed<face_plane>(status::degenerate, why.str());
    }
    r.plane = fit.element;
    return r;
}

// Offers the median points of a face's points paired with the other face's plane q, along the
// datum normal, with their distances from the datum plane; returns their number.
int median_points(const actual& face, const spanto::plane& q, const detail::datum_frame& f,
                  farthest& median) {
    const double across = dot(f.d, q.normal);  // not near 0: the face angle was checked
    int n = 0;
    for (const spanto::point& p : face) {
        if (!p.valid()) continue;
        const double t = -dot(p - q.origin, q.normal) / across;  // p + t d lies on q
        const spanto::point m = p + (0.5 * t) * f.d;
        median.offer(std::abs(dot(m - f.origin, f.d)), m);
        ++n;
    }
    return n;
}

}  // namespace

location_result point_position(const actual& points, const spanto::point& true_position) {
    const spanto::point& t = true_position;
    if (!(std::isfinite(t.x) && std::isfinite(t.y) && std::isfinite(t.z))) {
        return failed<location_result>(status::refused, "the true position is not finite");
    }
    const detail::valid_set s = detail::valid_rows_of(points, 4, "a sphere");
    if (!s.error.empty()) return failed<location_result>(s.status, s.error);
    const fit_result<spanto::sphere> sphere = fit_sphere(points);
    if (!sphere.valid())
        return failed<location_result>(sphere.status, "the sphere: " + sphere.error);
    farthest d;
    d.offer((sphere.element.centre - t).length(), sphere.element.centre);
    return zone(sphere.points, d);
}

location_result circle_position(const actual& points, const spanto::line& true_axis) {
    return circle_about(points, true_axis, "true axis");
}

location_result concentricity(const actual& points, const spanto::line& datum) {
    return circle_about(points, datum, "datum axis");
}

location_result axis_position(const actual& points, const spanto::line& true_axis,
                              const section_request& request) {
    return axis_about(points, true_axis, "true axis", request);
}

location_result coaxiality(const actual& points, const spanto::line& datum,
                           const section_request& request) {
    return axis_about(points, datum, "datum axis", request);
}

location_result plane_position(const actual& points, const spanto::plane& true_plane) {
    detail::datum_frame f;
    const std::string why = detail::frame_of(true_plane.origin, true_plane.normal, "true plane", f);
    if (!why.empty()) return failed<location_result>(status::refused, why);
    const detail::valid_set s = detail::valid_rows_of(points, 3, "a plane surface");
    if (!s.error.empty()) return failed<location_result>(s.status, s.error);
    farthest d;
    for (const int i : s.rows) d.offer(std::abs(dot(points[i] - f.origin, f.d)), points[i]);
    return zone(static_cast<int>(s.rows.size()), d);
}

location_result symmetry(const actual& first, const actual& second, const spanto::plane& datum) {
    detail::datum_frame f;
    const std::string why = detail::frame_of(datum.origin, datum.normal, "datum plane", f);
    if (!why.empty()) return failed<location_result>(status::refused, why);
    const face_plane a = plane_of(first, "the first face", f);
    if (!a.error.empty()) return failed<location_result>(a.status, a.error);
    const face_plane b = plane_of(second, "the second face", f);
    if (!b.error.empty()) return failed<location_result>(b.status, b.error);
    farthest d;
    const int n = median_points(first, b.plane, f, d) + median_points(second, a.plane, f, d);
    return zone(n, d);
}

}  // namespace vantor
