// SPDX-License-Identifier: Apache-2.0
#include "form/median_line.h"

#include "form/orientation_frame.h"

namespace vantor::detail {

median_line median_line_of(const actual& points, const section_request& request) {
    const valid_set s = valid_rows_of(points, 6, "an axis");
    if (!s.error.empty()) return failed<median_line>(s.status, s.error);
    const fit_result<spanto::cylinder> own = fit_cylinder(points);
    if (!own.valid()) return failed<median_line>(own.status, "the axis's cylinder: " + own.error);
    const spanto::line axis(own.element.origin, own.element.direction);
    const section_split split = split_sections(points, axis, request);
    if (!split.valid()) return failed<median_line>(split.status, "the sections: " + split.error);
    const std::size_t n = split.sections.size();
    if (n < 2) {
        return failed<median_line>(status::too_few_points,
                                   "an axis needs at least 2 sections, the points make 1");
    }
    median_line line;
    for (std::size_t k = 0; k < n; ++k) {
        const std::vector<int>& rows = split.sections[k].rows;
        actual part(static_cast<int>(rows.size()));
        for (const int i : rows) part.append(points[i]);
        const fit_result<spanto::circle> circle = fit_circle(part, axis.direction);
        if (!circle.valid()) {
            return failed<median_line>(circle.status, "section " + std::to_string(k + 1) + " of " +
                                                          std::to_string(n) + ": " + circle.error);
        }
        line.centres.push_back(circle.element.centre);
        line.points += static_cast<int>(rows.size());
    }
    return line;
}

}  // namespace vantor::detail
