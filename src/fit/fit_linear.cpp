// SPDX-License-Identifier: Apache-2.0
// The line and plane of the fitting interface: least squares in closed form; the minimum-zone
// line (the axis of the thinnest cylinder holding the points) and plane (the middle of the
// narrowest slab) by the minimax solver from the least-squares element.
#include <algorithm>
#include <cmath>
#include <limits>

#include "fit/fit_minimax.h"
#include "fit/fit_points.h"
#include "fit/fit_report.h"
#include "fit/outliers.h"
#include "numeric/linear_fit.h"
#include "numeric/minimax_models.h"
#include "numeric/planar.h"

namespace vantor {

fit_result<spanto::line> fit_line(const actual& points, criterion c, const fit_options& options) {
    fit_result<spanto::line> result;
    result.criterion = c;
    std::string reason = detail::criterion_refusal(c, element_kind::line);
    if (reason.empty()) reason = fit_options_refusal(options);
    if (!reason.empty()) return detail::fail(result, vantor::status::refused, reason);
    if (options.reject_beyond > 0.0)
        return detail::fit_rejecting<spanto::line>(points, c, options, fit_line);
    detail::scatter3 s;
    const detail::failure why = detail::scatter_for_fit(points, element_kind::line, result, s);
    if (!why.empty()) return detail::fail(result, why);
    const detail::principal_axes axes = detail::principal_axes_of(s);
    if (detail::negligible_spread(s, axes, 2))
        return detail::fail(result, vantor::status::degenerate,
                            "the points coincide: they determine no line");

    const detail::linear_fit fit = detail::least_squares_line(s, axes);
    const bool given = options.axis.length() > 0.0;
    const detail::axis_domain domain = detail::domain_of(options, fit.direction, true);
    if (given) {
        // The least-squares line is unique: the domain admits it or nothing.
        reason = detail::outside_domain(domain, fit.direction, "the least-squares line", true);
        if (!reason.empty()) return detail::fail(result, vantor::status::refused, reason);
    }
    if (c == criterion::gauss) {
        const spanto::line line(detail::as_point(fit.origin),
                                detail::oriented(detail::as_vector(fit.direction)));
        result.element = line;
        detail::add_parameter(result, "origin", line.origin, fit.origin_uncertainty);
        detail::add_parameter(result, "direction", line.direction, fit.direction_uncertainty);
        const double sum = detail::measure(
            points, [&line](const spanto::point& p) { return line.distance(p); }, true, result);
        detail::scale_uncertainties(result, sum, fit.residuals, fit.parameters);
        result.converged = true;
        return detail::checked(result);
    }

    // The thinnest cylinder about a line: the least distance bound from the axis.
    const detail::axis_distance_model model(detail::extent_of(axes, s.count));
    const detail::cylinder_state start{detail::frame_about(fit.direction), {0.0, 0.0, 0.0}, 0.0};
    double tilt = 0.0;
    const std::vector<detail::cylinder_state> charts =
        detail::axis_charts(detail::frame_about(domain.axis), domain.max_tilt, start.origin, tilt);
    const double half[4] = {1.0, 1.0, tilt, tilt};
    double lower = 0.0;
    const detail::valid_rows rows(points, s.count);
    const detail::centred_points centred(rows, {s.centroid});
    const auto zone = detail::solve_and_prove(
        model, centred, start, detail::minimax_sides::outer, charts, half, options, lower,
        detail::axial_domain<detail::cylinder_state>(domain, charts.size() == 1, start.origin,
                                                     std::numeric_limits<double>::infinity(),
                                                     model.unit));
    detail::take_progress(result, zone);
    if (zone.status != detail::minimax_status::ok)
        return detail::fail(result, detail::minimax_failure(zone.status, c, "line", "the line"));
    reason = detail::outside_domain(domain, zone.state.frame.z, "the zone line", given);
    if (!reason.empty()) return detail::fail(result, vantor::status::refused, reason);
    detail::take_proof(result, c, zone.high, lower, model.unit, true);
    const spanto::line line(detail::as_point(zone.state.origin + s.centroid),
                            detail::oriented(detail::as_vector(zone.state.frame.z)));
    result.element = line;
    const double none[3] = {0.0, 0.0, 0.0};
    detail::add_parameter(result, "origin", line.origin, none);
    detail::add_parameter(result, "direction", line.direction, none);
    detail::measure(
        points, [&line](const spanto::point& p) { return line.distance(p); }, true, result,
        {zone.high}, detail::contact_tolerance(s, zone));
    // Spikes move the zone line to the middle of the tube they span, where every distance is
    // alike: a line's outliers are those about the least-squares line.
    const spanto::line gauss(detail::as_point(fit.origin), detail::as_vector(fit.direction));
    result.outliers = outliers_about(points, gauss);
    return detail::checked(result);
}

fit_result<spanto::plane> fit_plane(const actual& points, criterion c, const fit_options& options) {
    fit_result<spanto::plane> result;
    result.criterion = c;
    std::string reason = detail::criterion_refusal(c, element_kind::plane);
    if (reason.empty()) reason = fit_options_refusal(options);
    if (!reason.empty()) return detail::fail(result, vantor::status::refused, reason);
    if (options.reject_beyond > 0.0)
        return detail::fit_rejecting<spanto::plane>(points, c, options, fit_plane);
    detail::scatter3 s;
    const detail::failure why = detail::scatter_for_fit(points, element_kind::plane, result, s);
    if (!why.empty()) return detail::fail(result, why);
    const detail::principal_axes axes = detail::principal_axes_of(s);
    if (detail::negligible_spread(s, axes, 1))
        return detail::fail(result, vantor::status::degenerate,
                            "the points lie on one line: they determine no plane");

    const detail::linear_fit fit = detail::least_squares_plane(s, axes);
    if (c == criterion::gauss) {
        const spanto::plane plane(detail::as_point(fit.origin),
                                  detail::oriented(detail::as_vector(fit.direction)));
        result.element = plane;
        detail::add_parameter(result, "origin", plane.origin, fit.origin_uncertainty);
        detail::add_parameter(result, "normal", plane.normal, fit.direction_uncertainty);
        const double sum = detail::measure(
            points, [&plane](const spanto::point& p) { return plane.sdistance(p); }, false, result);
        detail::scale_uncertainties(result, sum, fit.residuals, fit.parameters);
        result.converged = true;
        return detail::checked(result);
    }

    // The narrowest slab over every normal (three charts about the least-squares normal's
    // frame): its middle plane, through the centroid's projection.
    const detail::plane_height_model model(detail::extent_of(axes, s.count));
    const detail::frame3 start = detail::frame_about(fit.direction);
    double tilt = 0.0;
    const std::vector<detail::frame3> charts = detail::direction_charts(start, detail::pi, tilt);
    const double half[2] = {tilt, tilt};
    double lower = 0.0;
    const detail::valid_rows rows(points, s.count);
    const detail::centred_points centred(rows, {s.centroid});
    const auto zone = detail::solve_and_prove(model, centred, start, detail::minimax_sides::both,
                                              charts, half, options, lower);
    detail::take_progress(result, zone);
    if (zone.status != detail::minimax_status::ok)
        return detail::fail(result, detail::minimax_failure(zone.status, c, "plane", "the plane"));
    detail::take_proof(result, c, zone.high - zone.low, lower, model.unit);
    const detail::point3 middle = 0.5 * (zone.low + zone.high) * zone.state.z;
    const spanto::plane plane(detail::as_point(s.centroid + middle),
                              detail::oriented(detail::as_vector(zone.state.z)));
    result.element = plane;
    const double none[3] = {0.0, 0.0, 0.0};
    detail::add_parameter(result, "origin", plane.origin, none);
    detail::add_parameter(result, "normal", plane.normal, none);
    detail::measure(
        points, [&plane](const spanto::point& p) { return plane.sdistance(p); }, false, result,
        detail::contact_distances(c, zone), detail::contact_tolerance(s, zone));
    return detail::checked(result);
}

}  // namespace vantor
