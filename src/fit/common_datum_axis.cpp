// SPDX-License-Identifier: Apache-2.0
// The common datum axis of two coaxial features: the line through the middles of their datum
// axes.
#include <algorithm>
#include <string>

#include "fit/datum_result.h"
#include "vantor/datum.h"

namespace vantor {

namespace {

// A feature's datum axis and its middle: the point of the axis halfway between the extremes of
// the valid points' positions along it.
struct seat {
    datum_result<spanto::line> axis;
    spanto::point middle;
};

seat seat_of(const actual& points, feature_side side, const fit_options& options) {
    seat s;
    s.axis = datum_axis(points, side, options);
    if (!s.axis.valid()) return s;
    const spanto::line& a = s.axis.element;
    double low = 0.0, high = 0.0;
    bool first = true;
    for (const spanto::point& p : points) {
        if (!p.valid()) continue;
        const double h = dot(p - a.origin, a.direction);
        low = first ? h : std::min(low, h);
        high = first ? h : std::max(high, h);
        first = false;
    }
    s.middle = a.origin + (0.5 * (low + high)) * a.direction;
    return s;
}

}  // namespace

datum_result<spanto::line> common_datum_axis(const actual& first, feature_side first_side,
                                             const actual& second, feature_side second_side,
                                             const fit_options& options) {
    datum_result<spanto::line> r;
    const seat a = seat_of(first, first_side, options);
    r.fit = a.axis.fit;
    if (!a.axis.valid()) return detail::datum_failure(r, a.axis.status, "datum A: " + a.axis.error);
    const seat b = seat_of(second, second_side, options);
    if (!b.axis.valid()) return detail::datum_failure(r, b.axis.status, "datum B: " + b.axis.error);
    const spanto::vector join = b.middle - a.middle;
    const double radius = std::max(a.axis.fit.objective, b.axis.fit.objective);
    if (!(join.length() > 1e-9 * radius)) {
        return detail::datum_failure(
            r, status::degenerate, "the two features' middles coincide: they give no common axis");
    }
    const spanto::vector d = join.unit();
    const double angle =
        std::max(detail::degrees_apart(std::abs(dot(d, a.axis.element.direction))),
                 detail::degrees_apart(std::abs(dot(d, b.axis.element.direction))));
    if (angle > common_datum_max_angle) {
        return detail::datum_failure(
            r, status::degenerate,
            "the line through the two features' middles lies " + std::to_string(angle) +
                " degrees from a feature's axis, more than " +
                std::to_string(common_datum_max_angle) + ": the features are not coaxial");
    }
    r.status = a.axis.status == status::not_proved ? a.axis.status : b.axis.status;
    r.element = spanto::line(a.middle, d);
    return r;
}

}  // namespace vantor
