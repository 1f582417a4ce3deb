// SPDX-License-Identifier: Apache-2.0
// The cylinder of the fitting interface: least squares; minimum zone, minimum circumscribed and
// maximum inscribed cylinder by the minimax solver from the least-squares cylinder.
#include "fit/fit_minimax.h"
#include "fit/fit_points.h"
#include "fit/fit_report.h"
#include "fit/outliers.h"
#include "numeric/cylinder_fit.h"
#include "numeric/minimax_models.h"

namespace vantor {

namespace {

// The cylinder about the axis of `state` (about the centroid) with the radius given, its
// parameters and the distances of the points from it; `uncertainty` holds the unit
// uncertainties of a least-squares fit, and is null for a minimax fit, whose contacts lie at
// the signed distances `contacts`.
fit_result<spanto::cylinder>& report_cylinder(const actual& points, const detail::scatter3& s,
                                              const detail::cylinder_state& state, double radius,
                                              const double* uncertainty,
                                              fit_result<spanto::cylinder>& result,
                                              const std::vector<double>& contacts = {},
                                              double tolerance = 0.0) {
    static constexpr double none[7] = {};
    const double* u = uncertainty != nullptr ? uncertainty : none;
    const spanto::cylinder cylinder(detail::as_point(state.origin + s.centroid),
                                    detail::oriented(detail::as_vector(state.frame.z)), radius);
    if (cylinder.invalid())
        return detail::fail(result, vantor::status::invalid_result,
                            "the fitted cylinder is not valid");
    result.element = cylinder;
    detail::add_parameter(result, "origin", cylinder.origin, u);
    detail::add_parameter(result, "direction", cylinder.direction, u + 3);
    detail::add_parameter(result, "radius", cylinder.radius, u[6]);
    const double sum = detail::measure(
        points, [&cylinder](const spanto::point& p) { return cylinder.sdistance(p); }, false,
        result, contacts, tolerance);
    if (uncertainty != nullptr) detail::scale_uncertainties(result, sum, result.points, 5);
    return detail::checked(result);
}

}  // namespace

fit_result<spanto::cylinder> fit_cylinder(const actual& points, criterion c,
                                          const fit_options& options) {
    fit_result<spanto::cylinder> result;
    result.criterion = c;
    std::string reason = detail::criterion_refusal(c, element_kind::cylinder);
    if (reason.empty()) reason = fit_options_refusal(options);
    if (!reason.empty()) return detail::fail(result, vantor::status::refused, reason);
    if (options.reject_beyond > 0.0)
        return detail::fit_rejecting<spanto::cylinder>(points, c, options, fit_cylinder);
    detail::scatter3 s;
    const detail::failure why = detail::scatter_for_fit(points, element_kind::cylinder, result, s);
    if (!why.empty()) return detail::fail(result, why);
    const detail::principal_axes axes = detail::principal_axes_of(s);
    if (detail::negligible_spread(s, axes, 1))
        return detail::fail(result, vantor::status::degenerate,
                            "the points lie on one line: they determine no cylinder");
    if (detail::negligible_spread(s, axes, 0))
        return detail::fail(result, vantor::status::degenerate,
                            "the points lie in one plane: they determine no cylinder");

    const detail::valid_rows rows(points, s.count);
    const detail::centred_points offsets(rows, {s.centroid});
    const detail::cylinder_solution fit = detail::least_squares_cylinder(
        offsets, axes, detail::domain_of(options, {0.0, 0.0, 1.0}, false));
    result.iterations = fit.iterations;
    result.converged = fit.converged;
    if (fit.status != detail::fit_status::ok)
        return detail::fail(result, detail::status_failure(fit.status, element_kind::cylinder));
    if (c == criterion::gauss) {
        return report_cylinder(points, s, fit.state, fit.state.radius, fit.unit_uncertainty,
                               result);
    }

    // Proved over the axes within the largest tilt of the domain's axis that pass within
    // position_reach() of the least-squares axis (shifts along the least-squares frame).
    const bool given = options.axis.length() > 0.0;
    const detail::axis_domain domain = detail::domain_of(options, fit.state.frame.z, true);
    const detail::axis_distance_model model(detail::extent_of(axes, s.count));
    double tilt = 0.0;
    const std::vector<detail::cylinder_state> charts = detail::axis_charts(
        detail::facing(given ? detail::frame_about(domain.axis) : fit.state.frame,
                       -1.0 * fit.state.origin),
        domain.max_tilt, fit.state.origin, tilt);
    const double reach = detail::position_reach(c, fit.state.radius, model.unit);
    const double half[4] = {reach, reach, tilt, tilt};
    double lower = 0.0;
    const auto m = detail::solve_and_prove(
        model, offsets, fit.state, detail::sides_of(c), charts, half, options, lower,
        detail::axial_domain<detail::cylinder_state>(domain, charts.size() == 1, fit.state.origin,
                                                     reach * model.unit, model.unit));
    detail::take_progress(result, m);
    if (m.status != detail::minimax_status::ok)
        return detail::fail(result, detail::minimax_failure(m.status, c, "cylinder", "the axis"));
    reason =
        detail::outside_domain(domain, m.state.frame.z,
                               std::string("the ") + criterion_name(c) + " cylinder's axis", given);
    if (!reason.empty()) return detail::fail(result, vantor::status::refused, reason);
    detail::take_proof(result, c, detail::minimax_objective(detail::sides_of(c), m.low, m.high),
                       lower, model.unit);
    return report_cylinder(points, s, m.state, detail::surface_level(c, m), nullptr, result,
                           detail::contact_distances(c, m), detail::contact_tolerance(s, m));
}

}  // namespace vantor
