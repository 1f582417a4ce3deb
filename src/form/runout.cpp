// SPDX-License-Identifier: Apache-2.0
// Radial and axial runout about a datum axis, circular (per section or band) and total.
#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "form/orientation_frame.h"
#include "vantor/orientation.h"

namespace vantor {

namespace {

using detail::failed;

constexpr int fewest = 3;  // points of a runout, a section or a band

// The datum's frame and the valid rows, or the failure.
runout_result prepare(const actual& points, const spanto::line& datum, detail::datum_frame& f,
                      std::vector<int>& rows) {
    const std::string why = detail::frame_of(datum.origin, datum.direction, "datum axis", f);
    if (!why.empty()) return failed<runout_result>(status::refused, why);
    detail::valid_set s = detail::valid_rows_of(points, fewest, "a runout");
    if (!s.error.empty()) return failed<runout_result>(s.status, s.error);
    rows = std::move(s.rows);
    return runout_result();
}

double radial(const detail::datum_frame& f, const spanto::point& p) {
    return ((p - f.origin) ^ f.d).length();
}

double axial(const detail::datum_frame& f, const spanto::point& p) {
    return dot(p - f.origin, f.d);
}

// The circle of the values (distances or positions) given.
runout_circle circle_of(double position, const std::vector<double>& values) {
    runout_circle c;
    c.position = position;
    c.points = static_cast<int>(values.size());
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    c.minimum = *low;
    c.maximum = *high;
    c.value = c.maximum - c.minimum;
    return c;
}

// The largest of the circles.
runout_result worst_of(std::vector<runout_circle> circles) {
    runout_result r;
    for (std::size_t k = 0; k < circles.size(); ++k) {
        r.points += circles[k].points;
        if (r.worst < 0 || circles[k].value > circles[r.worst].value) r.worst = static_cast<int>(k);
    }
    r.value = circles[r.worst].value;
    r.minimum = circles[r.worst].minimum;
    r.maximum = circles[r.worst].maximum;
    r.circles = std::move(circles);
    return r;
}

template <class Measure>
runout_result total(const actual& points, const spanto::line& datum, Measure measure) {
    detail::datum_frame f;
    std::vector<int> rows;
    runout_result r = prepare(points, datum, f, rows);
    if (!r.valid()) return r;
    std::vector<double> values;
    values.reserve(rows.size());
    for (const int i : rows) values.push_back(measure(f, points[i]));
    const runout_circle all = circle_of(0.0, values);
    r.points = all.points;
    r.minimum = all.minimum;
    r.maximum = all.maximum;
    r.value = all.value;
    return r;
}

// A radius for a message: "12.5".
std::string number(double x) {
    std::ostringstream out;
    out << x;
    return out.str();
}

std::string of_circle(std::size_t k, std::size_t n) {
    return std::to_string(k + 1) + " of " + std::to_string(n);
}

}  // namespace

runout_result total_radial_runout(const actual& points, const spanto::line& datum) {
    return total(points, datum, radial);
}

runout_result total_axial_runout(const actual& points, const spanto::line& datum) {
    return total(points, datum, axial);
}

runout_result circular_radial_runout(const actual& points, const spanto::line& datum,
                                     const section_request& request) {
    detail::datum_frame f;
    std::vector<int> rows;
    const runout_result ready = prepare(points, datum, f, rows);
    if (!ready.valid()) return ready;
    const section_split split = split_sections(points, spanto::line(f.origin, f.d), request);
    if (!split.valid()) return failed<runout_result>(split.status, "the sections: " + split.error);
    std::vector<runout_circle> circles;
    const std::size_t n = split.sections.size();
    for (std::size_t k = 0; k < n; ++k) {
        const section& s = split.sections[k];
        if (s.rows.size() < static_cast<std::size_t>(fewest)) {
            return failed<runout_result>(status::too_few_points, "too few points: section " +
                                                                     of_circle(k, n) + " has " +
                                                                     std::to_string(s.rows.size()) +
                                                                     ", a circle needs at least 3");
        }
        std::vector<double> distances;
        distances.reserve(s.rows.size());
        for (const int i : s.rows) distances.push_back(radial(f, points[i]));
        circles.push_back(circle_of(s.height, distances));
    }
    return worst_of(std::move(circles));
}

runout_result circular_axial_runout(const actual& points, const spanto::line& datum,
                                    const std::vector<double>& radii, double half_width) {
    if (radii.empty()) return failed<runout_result>(status::refused, "no radii given");
    for (const double r : radii) {
        if (!(std::isfinite(r) && r >= 0.0)) {
            return failed<runout_result>(status::refused,
                                         "a radius must be finite and not negative");
        }
    }
    if (!(std::isfinite(half_width) && half_width > 0.0)) {
        return failed<runout_result>(status::refused,
                                     "the band's half width must be finite and positive");
    }
    detail::datum_frame f;
    std::vector<int> rows;
    const runout_result ready = prepare(points, datum, f, rows);
    if (!ready.valid()) return ready;
    std::vector<std::vector<double>> bands(radii.size());
    for (const int i : rows) {
        const double r = radial(f, points[i]), a = axial(f, points[i]);
        for (std::size_t k = 0; k < radii.size(); ++k) {
            if (std::abs(r - radii[k]) <= half_width) bands[k].push_back(a);
        }
    }
    std::vector<runout_circle> circles;
    for (std::size_t k = 0; k < radii.size(); ++k) {
        if (bands[k].size() < static_cast<std::size_t>(fewest)) {
            return failed<runout_result>(
                status::too_few_points,
                "too few points: the band about radius " + number(radii[k]) + " holds " +
                    std::to_string(bands[k].size()) + ", a circle needs at least 3");
        }
        circles.push_back(circle_of(radii[k], bands[k]));
    }
    return worst_of(std::move(circles));
}

}  // namespace vantor
