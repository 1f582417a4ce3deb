// SPDX-License-Identifier: Apache-2.0
// Orientation of a surface to a datum plane or axis: parallelism, perpendicularity, angularity.
#include <cmath>
#include <vector>

#include "form/orientation_frame.h"
#include "numeric/narrowest_strip.h"
#include "numeric/turning_width.h"
#include "vantor/orientation.h"

namespace vantor {

namespace {

constexpr double pi = 3.14159265358979323846;

using detail::failed;

// The positions of the rows across the datum plane, relative to the first: in-plane x, y and
// the height h along the normal.
std::vector<detail::point3> local(const actual& points, const std::vector<int>& rows,
                                  const detail::datum_frame& f) {
    std::vector<detail::point3> local;
    local.reserve(rows.size());
    const spanto::point p0 = points[rows[0]];
    for (const int i : rows) {
        const spanto::vector q = points[i] - p0;
        local.push_back({dot(q, f.u), dot(q, f.v), dot(q, f.d)});
    }
    return local;
}

// The zone planes with unit normal m through the extremes low, high of positions measured from
// the first row, placed relative to the datum origin.
orientation_result zone(const actual& points, const std::vector<int>& rows,
                        const detail::datum_frame& f, const spanto::vector& m, double low,
                        double high, std::size_t lowest, std::size_t highest) {
    orientation_result r;
    const double shift = dot(points[rows[0]] - f.origin, m);
    r.points = static_cast<int>(rows.size());
    r.direction = m;
    r.minimum = low + shift;
    r.maximum = high + shift;
    r.value = high - low;
    r.lowest = rows[lowest];
    r.highest = rows[highest];
    r.centre = points[rows[0]] + (0.5 * (low + high)) * m;
    return r;
}

// The zone planes across the datum direction that hold the points.
orientation_result slab_of(const actual& points, const char* what, const detail::datum_frame& f) {
    const detail::valid_set s = detail::valid_rows_of(points, 2, what);
    if (!s.error.empty()) return failed<orientation_result>(s.status, s.error);
    const spanto::point p0 = points[s.rows[0]];
    double low = 0.0, high = 0.0;
    std::size_t lowest = 0, highest = 0;
    for (std::size_t k = 1; k < s.rows.size(); ++k) {
        const double h = dot(points[s.rows[k]] - p0, f.d);
        if (h < low) low = h, lowest = k;
        if (h > high) high = h, highest = k;
    }
    return zone(points, s.rows, f, f.d, low, high, lowest, highest);
}

}  // namespace

orientation_result parallelism(const actual& points, const spanto::plane& datum) {
    detail::datum_frame f;
    std::string why = detail::frame_of(datum.origin, datum.normal, "datum plane", f);
    if (!why.empty()) return failed<orientation_result>(status::refused, why);
    return slab_of(points, "parallelism", f);
}

orientation_result perpendicularity(const actual& points, const spanto::line& datum) {
    detail::datum_frame f;
    std::string why = detail::frame_of(datum.origin, datum.direction, "datum axis", f);
    if (!why.empty()) return failed<orientation_result>(status::refused, why);
    return slab_of(points, "perpendicularity to an axis", f);
}

orientation_result perpendicularity(const actual& points, const spanto::plane& datum) {
    detail::datum_frame f;
    std::string why = detail::frame_of(datum.origin, datum.normal, "datum plane", f);
    if (!why.empty()) return failed<orientation_result>(status::refused, why);
    const detail::valid_set s = detail::valid_rows_of(points, 3, "perpendicularity");
    if (!s.error.empty()) return failed<orientation_result>(s.status, s.error);
    std::vector<detail::point2> flat;
    flat.reserve(s.rows.size());
    for (const detail::point3& p : local(points, s.rows, f)) flat.push_back({p.x, p.y});
    const detail::strip2 strip = detail::narrowest_strip(flat);
    if (!strip.valid) {
        return failed<orientation_result>(status::degenerate,
                                          "the points lie on one line along the datum normal: they "
                                          "determine no surface across the datum plane");
    }
    // The rows on the strip's two sides.
    std::size_t lowest = 0, highest = 0;
    const auto along = [&](std::size_t k) {
        return strip.normal.x * flat[k].x + strip.normal.y * flat[k].y;
    };
    for (std::size_t k = 1; k < flat.size(); ++k) {
        if (along(k) < along(lowest)) lowest = k;
        if (along(k) > along(highest)) highest = k;
    }
    const spanto::vector m = strip.normal.x * f.u + strip.normal.y * f.v;
    return zone(points, s.rows, f, m, along(lowest), along(highest), lowest, highest);
}

orientation_result angularity(const actual& points, const spanto::plane& datum, double angle) {
    if (!(angle >= 0.0 && angle <= 90.0)) {
        return failed<orientation_result>(status::refused, "the angle must lie in [0, 90] degrees");
    }
    detail::datum_frame f;
    std::string why = detail::frame_of(datum.origin, datum.normal, "datum plane", f);
    if (!why.empty()) return failed<orientation_result>(status::refused, why);
    const detail::valid_set s = detail::valid_rows_of(points, 3, "angularity");
    if (!s.error.empty()) return failed<orientation_result>(s.status, s.error);
    // The end points exactly, so that 0 and 90 degrees are parallelism and perpendicularity.
    const double c = angle == 90.0 ? 0.0 : std::cos(angle * pi / 180.0);
    const double sn = angle == 0.0 ? 0.0 : std::sin(angle * pi / 180.0);
    const std::vector<detail::point3> q = local(points, s.rows, f);
    double extent = 0.0, across = 0.0;
    for (const detail::point3& p : q) {
        extent = std::max(extent, detail::norm(p));
        across = std::max(across, std::hypot(p.x, p.y));
    }
    if (angle > 0.0 && across == 0.0) {
        return failed<orientation_result>(status::degenerate,
                                          "the points lie on one line along the datum normal: the "
                                          "zone's turn about it is not determined");
    }
    const detail::turning_width w = detail::minimum_turning_width(q, c, sn, 1e-12 * extent);
    if (!w.converged) {
        return failed<orientation_result>(
            status::not_converged, "the search over the zone's turn did not close its bound");
    }
    const spanto::vector m = c * f.d + sn * (std::cos(w.turn) * f.u + std::sin(w.turn) * f.v);
    return zone(points, s.rows, f, m, w.low, w.high, w.lowest, w.highest);
}

}  // namespace vantor
