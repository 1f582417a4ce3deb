// SPDX-License-Identifier: Apache-2.0
// Orientation of a cylinder's derived median line: its section centres in a cylindrical zone
// along a datum direction, or between two planes parallel to a datum plane.
#include <string>
#include <utility>
#include <vector>

#include "form/median_line.h"
#include "form/orientation_frame.h"
#include "numeric/circumscribed_circle.h"
#include "vantor/orientation.h"

namespace vantor {

namespace {

using detail::failed;

// The derived median line as an orientation result: its centres and points, or its failure.
orientation_result median_line(const actual& points, const section_request& request) {
    detail::median_line line = detail::median_line_of(points, request);
    if (!line.valid()) return failed<orientation_result>(line.status, std::move(line.error));
    orientation_result r;
    r.points = line.points;
    r.centres = std::move(line.centres);
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
