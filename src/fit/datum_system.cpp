// SPDX-License-Identifier: Apache-2.0
// Datum systems: a primary datum plane or axis, then datums constrained by it, to a coordinate
// frame.
#include <string>
#include <vector>

#include "fit/datum_result.h"
#include "fit/planar_frame.h"
#include "numeric/narrowest_strip.h"
#include "vantor/datum.h"

namespace vantor {

namespace {

using spanto::point;
using spanto::vector;

// A datum plane whose normal is constrained perpendicular to z: {p : dot(normal, p) = offset}.
struct constrained_plane {
    vector normal;
    double offset = 0.0;
    status code = status::ok;
    std::string error;
};

// The unit outward direction; invalid, with c refused, when `outward` is no direction.
vector outward_direction(constrained_plane& c, const vector& outward) {
    const vector u = detail::outward_unit(outward);
    if (u.invalid()) {
        c.code = status::refused;
        c.error = detail::outward_not_a_direction;
    }
    return u;
}

// Sets c.normal to the unit n turned to the side of the unit outward direction u; false, with c
// refused, when u lies too far from it (datum_max_outward_angle).
bool turn_outward(constrained_plane& c, const vector& n, const vector& u) {
    c.normal = dot(n, u) < 0.0 ? -n : n;
    c.error = detail::outward_refusal(dot(c.normal, u));
    if (c.error.empty()) return true;
    c.code = status::refused;
    return false;
}

// The datum plane of a face with its normal perpendicular to the unit vector z: the outer line of
// the narrowest strip holding the points seen along z (the constrained minimax plane, by the
// argument of datum_plane in two dimensions), its normal turned to `outward`.
constrained_plane plane_across(const actual& points, const vector& outward, const vector& z) {
    constrained_plane c;
    const vector u = outward_direction(c, outward);
    if (u.invalid()) return c;
    // Traces in the plane across z, relative to the first valid point, so that points far from the
    // origin keep their digits.
    point first;
    for (const point& p : points) {
        if (p.valid()) {
            first = p;
            break;
        }
    }
    const detail::planar_frame frame(first, z);
    const detail::strip2 s = detail::narrowest_strip(detail::traces_of(points, frame));
    if (!s.valid) {
        c.code = status::too_few_points;
        c.error =
            "too few points: a datum constrained by the primary plane needs at least 2 "
            "valid points apart across its normal";
        return c;
    }
    const vector n = s.normal.x * frame.a + s.normal.y * frame.b;
    if (!turn_outward(c, n, u)) return c;
    const double outer = dot(c.normal, n) > 0.0 ? s.high : -s.low;
    c.offset = outer + dot(c.normal, first - point(0.0, 0.0, 0.0));
    return c;
}

// The datum plane of a face with its normal fixed along the unit vector `along`, turned to
// `outward`: the outer tangent plane.
constrained_plane plane_along(const actual& points, const vector& outward, const vector& along) {
    constrained_plane c;
    const vector u = outward_direction(c, outward);
    if (u.invalid() || !turn_outward(c, along, u)) return c;
    bool any = false;
    for (const point& p : points) {
        if (p.invalid()) continue;
        const double h = dot(c.normal, p - point(0.0, 0.0, 0.0));
        if (!any || h > c.offset) c.offset = h;
        any = true;
    }
    if (!any) {
        c.code = status::too_few_points;
        c.error = "too few points: the face has no valid point";
    }
    return c;
}

datum_frame failed(status code, const char* letter, const std::string& why) {
    datum_frame f;
    f.status = code;
    f.error = std::string("datum ") + letter + ": " + why;
    return f;
}

// Where the axis of the circle datum `b` (constrained parallel to z) meets the plane
// {dot(z, p) = level}; its radius in `radius`. The frame's error names `letter` on failure.
datum_frame axis_through(const datum_feature& b, const char* letter, const vector& z, double level,
                         double& radius) {
    const datum_result<spanto::line> axis = datum_circle_axis(*b.points, z, b.side, b.options);
    if (!axis) return failed(axis.status, letter, axis.error);
    radius = axis.fit.objective;
    // Seen along z the points of a bore perpendicular to A lie on a circle; of one far from
    // perpendicular they fill an area.
    if (!(axis.fit.deviation <= 0.5 * radius))
        return failed(status::refused, letter,
                      "its points seen along the primary plane's normal are not round (roundness " +
                          std::to_string(axis.fit.deviation) + " about radius " +
                          std::to_string(radius) +
                          "): its axis is not perpendicular to the primary plane");
    datum_frame f;
    f.status = axis.status;
    const point o = axis.element.origin;
    f.origin = o - (dot(z, o - point(0.0, 0.0, 0.0)) - level) * z;
    return f;
}

bool has_points(const datum_feature& f) { return f.type != datum_feature::kind::none && f.points; }

status worse(status a, status b) { return a == status::ok ? b : a; }

datum_frame planes(const datum_feature& b, const datum_feature& c, const vector& z, double level,
                   status so_far) {
    const constrained_plane pb = plane_across(*b.points, b.outward, z);
    if (!pb.error.empty()) return failed(pb.code, "B", pb.error);
    if (c.type != datum_feature::kind::plane || !has_points(c))
        return failed(status::refused, "C",
                      "after planes A and B the tertiary datum must be a face");
    datum_frame f;
    f.z = z;
    f.x = pb.normal;
    f.y = z ^ pb.normal;
    // C's normal is fixed by A and B; C is the outer tangent plane along it.
    const constrained_plane pc = plane_along(*c.points, c.outward, f.y);
    if (!pc.error.empty()) return failed(pc.code, "C", pc.error);
    f.origin =
        point(0.0, 0.0, 0.0) + level * z + pb.offset * f.x + pc.offset * dot(pc.normal, f.y) * f.y;
    f.rotation_fixed = true;
    f.status = so_far;
    return f;
}

// Frame f, whose origin and z are set, turned about z as datum C fixes it: none leaves the
// rotation free; a face gives x as its normal constrained perpendicular to z; an axis (its
// circle seen along z) gives x towards it from the origin, which lies on an axis of `radius`.
datum_frame turned(datum_frame f, const datum_feature& c, double radius) {
    const vector z = f.z;
    if (c.type == datum_feature::kind::none) {
        f.x = z.orthogonal();
        f.rotation_fixed = false;
    } else if (!has_points(c)) {
        return failed(status::refused, "C", "the feature has no points");
    } else if (c.type == datum_feature::kind::plane) {
        const constrained_plane pc = plane_across(*c.points, c.outward, z);
        if (!pc.error.empty()) return failed(pc.code, "C", pc.error);
        f.x = pc.normal;
        f.rotation_fixed = true;
    } else {
        double radius_c = 0.0;
        const datum_frame at =
            axis_through(c, "C", z, dot(z, f.origin - point(0.0, 0.0, 0.0)), radius_c);
        if (!at) return at;
        f.status = worse(f.status, at.status);
        const vector towards = at.origin - f.origin;
        // Both lie in one plane across z, so `towards` is perpendicular to z up to rounding.
        const vector across = towards - dot(towards, z) * z;
        if (!(across.length() > 1e-9 * std::max(radius, radius_c)))
            return failed(status::refused, "C",
                          "its axis meets the axis through the origin: it fixes no rotation");
        f.x = across.unit();
        f.rotation_fixed = true;
    }
    f.y = z ^ f.x;
    return f;
}

datum_frame plane_and_axis(const datum_feature& b, const datum_feature& c, const vector& z,
                           double level, status so_far) {
    double radius = 0.0;
    datum_frame f = axis_through(b, "B", z, level, radius);
    if (!f) return f;
    f.status = worse(so_far, f.status);
    f.z = z;
    return turned(f, c, radius);
}

// A an axis, B a face constrained perpendicular to it: z is A's direction turned to B's outward
// side, B the outer tangent plane along z, the origin where A meets it.
datum_frame axis_and_plane(const datum_feature& a, const datum_feature& b, const datum_feature& c) {
    const datum_result<spanto::line> pa = datum_axis(*a.points, a.side, a.options);
    if (!pa) return failed(pa.status, "A", pa.error);
    if (b.type != datum_feature::kind::plane)
        return failed(status::refused, "B", "after an axis A the secondary datum must be a face");
    const constrained_plane pb = plane_along(*b.points, b.outward, pa.element.direction);
    if (!pb.error.empty()) return failed(pb.code, "B", pb.error);
    const vector z = pb.normal;
    datum_frame f;
    f.status = pa.status;
    f.z = z;
    const point o = pa.element.origin;
    f.origin = o + (pb.offset - dot(z, o - point(0.0, 0.0, 0.0))) * z;
    return turned(f, c, pa.fit.objective);
}

}  // namespace

datum_frame datum_system(const datum_feature& a, const datum_feature& b, const datum_feature& c) {
    if (!has_points(a)) return failed(status::refused, "A", "a datum system needs a primary datum");
    if (!has_points(b))
        return failed(status::refused, "B", "a datum system needs a secondary datum");
    if (a.type == datum_feature::kind::axis) return axis_and_plane(a, b, c);
    const datum_result<spanto::plane> pa = datum_plane(*a.points, a.outward, a.options);
    if (!pa) return failed(pa.status, "A", pa.error);
    const vector z = pa.element.normal;
    const double level = dot(z, pa.element.origin - point(0.0, 0.0, 0.0));
    if (b.type == datum_feature::kind::plane) return planes(b, c, z, level, pa.status);
    return plane_and_axis(b, c, z, level, pa.status);
}

}  // namespace vantor
