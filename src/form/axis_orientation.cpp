// SPDX-License-Identifier: Apache-2.0
// Orientation of a cylinder's derived median line: its section centres in a cylindrical zone
// along a datum direction, or between two planes parallel to a datum plane.
#include <string>
#include <vector>

#include "form/orientation_frame.h"
#include "numeric/circumscribed_circle.h"
#include "vantor/orientation.h"

namespace vantor {

namespace {

using detail::failed;

// The centres of the least-squares circles of the sections about the axis of the points'
// least-squares cylinder; a failure when that fit, the split or a section's fit fails or there
// are fewer than two sections.
orientation_result median_line(const actual& points, const section_request& request) {
    const detail::valid_set s = detail::valid_rows_of(points, 6, "an axis");
    if (!s.error.empty()) return failed<orientation_result>(s.status, s.error);
    const fit_result<spanto::cylinder> own = fit_cylinder(points);
    if (!own.valid()) {
        return failed<orientation_result>(own.status, "the axis's cylinder: " + own.error);
    }
    const spanto::line axis(own.element.origin, own.element.direction);
    const section_split split = split_sections(points, axis, request);
    if (!split.valid()) {
        return failed<orientation_result>(split.status, "the sections: " + split.error);
    }
    const std::size_t n = split.sections.size();
    if (n < 2) {
        return failed<orientation_result>(status::too_few_points,
                                          "an axis needs at least 2 sections, the points make 1");
    }
    orientation_result r;
    for (std::size_t k = 0; k < n; ++k) {
        const std::vector<int>& rows = split.sections[k].rows;
        actual part(static_cast<int>(rows.size()));
        for (const int i : rows) part.append(points[i]);
        const fit_result<spanto::circle> circle = fit_circle(part, axis.direction);
        if (!circle.valid()) {
            return failed<orientation_result>(circle.status, "section " + std::to_string(k + 1) +
                                                                 " of " + std::to_string(n) + ": " +
                                                                 circle.error);
        }
        r.centres.push_back(circle.element.centre);
        r.points += static_cast<int>(rows.size());
    }
    return r;
}

// The smallest cylinder along the frame's direction that holds the centres.
orientation_result cylindrical_zone(orientation_result line, const detail::datum_frame& f) {
    const spanto::point c0 = line.centres[0];
    std::vector<detail::point2> seen;
    for (const spanto::point& c : line.centres) {
        seen.push_back({dot(c - c0, f.u), dot(c - c0, f.v)});
    }
    const detail::circle2 circle = detail::minimum_circumscribed_circle(seen);
    line.value = 2.0 * circle.radius;
    line.direction = f.d;
    line.centre = c0 + circle.centre.x * f.u + circle.centre.y * f.v;
    return line;
}

orientation_result cylindrical_zone_about(const actual& points, const spanto::point& origin,
                                          const spanto::vector& direction, const char* what,
                                          const section_request& request) {
    detail::datum_frame f;
    const std::string why = detail::frame_of(origin, direction, what, f);
    if (!why.empty()) return failed<orientation_result>(status::refused, why);
    orientation_result line = median_line(points, request);
    if (!line.valid()) return line;
    return cylindrical_zone(std::move(line), f);
}

}  // namespace

orientation_result axis_parallelism(const actual& points, const spanto::line& datum,
                                    const section_request& request) {
    return cylindrical_zone_about(points, datum.origin, datum.direction, "datum axis", request);
}

orientation_result axis_perpendicularity(const actual& points, const spanto::plane& datum,
                                         const section_request& request) {
    return cylindrical_zone_about(points, datum.origin, datum.normal, "datum plane", request);
}

orientation_result axis_parallelism(const actual& points, const spanto::plane& datum,
                                    const section_request& request) {
    detail::datum_frame f;
    const std::string why = detail::frame_of(datum.origin, datum.normal, "datum plane", f);
    if (!why.empty()) return failed<orientation_result>(status::refused, why);
    const orientation_result line = median_line(points, request);
    if (!line.valid()) return line;
    const std::vector<spanto::point>& c = line.centres;
    orientation_result r = parallelism(actual(c.data(), static_cast<int>(c.size()), 0), datum);
    r.points = line.points;
    r.centres = line.centres;
    return r;
}

}  // namespace vantor
