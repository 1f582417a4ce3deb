// SPDX-License-Identifier: Apache-2.0
// The cone of the fitting interface: least squares, and the minimum-zone cone by the minimax
// solver from the least-squares cone.
#include <algorithm>
#include <cmath>

#include "fit/fit_minimax.h"
#include "fit/fit_points.h"
#include "fit/fit_report.h"
#include "fit/outliers.h"
#include "numeric/cone_fit.h"
#include "numeric/minimax_models.h"
#include "numeric/planar.h"

namespace vantor {

namespace {

// The cone of `state` (about the centroid, turned towards increasing radius), its parameters
// and the distances of the points from it. `uncertainty` holds the unit uncertainties of a
// least-squares fit and is null for a minimax fit, whose contacts lie at the signed distances
// `contacts`.
fit_result<spanto::cone>& report_cone(const actual& points, const detail::scatter3& s,
                                      const detail::cone_state& state, const detail::point3& apex,
                                      const double* uncertainty, fit_result<spanto::cone>& result,
                                      const std::vector<double>& contacts = {},
                                      double tolerance = 0.0) {
    static constexpr double none[7] = {};
    const double* u = uncertainty != nullptr ? uncertainty : none;
    // The first point at the foot of the centroid, the second one unit further towards
    // increasing radius.
    const spanto::point first = detail::as_point(state.origin + s.centroid);
    const spanto::vector direction = detail::as_vector(state.frame.z);
    const spanto::cone cone(first, state.radius, first + direction,
                            state.radius + std::tan(state.angle));
    if (cone.invalid())
        return detail::fail(result, vantor::status::invalid_result, "the fitted cone is not valid");
    // A point behind the apex lies on the opposite nappe: such points (a plane's, a cone's
    // tip measured across) make no cone a part has.
    const spanto::point tip = detail::as_point(apex + s.centroid);
    const double behind = 1e-9 * s.magnitude;
    for (const spanto::point& p : points) {
        if (p.valid() && spanto::dot(p - tip, direction) < -behind) {
            return detail::fail(result, vantor::status::degenerate,
                                "points lie behind the fitted cone's apex, on both of its "
                                "nappes: they determine no cone");
        }
    }
    detail::count_pass();
    result.element = cone;
    constexpr double degrees = 180.0 / detail::pi;
    detail::add_parameter(result, "apex", detail::as_point(apex + s.centroid), u);
    detail::add_parameter(result, "direction", direction, u + 3);
    detail::add_parameter(result, "half_angle", degrees * state.angle, degrees * u[6]);
    const double sum = detail::measure(
        points, [&cone](const spanto::point& p) { return cone.sdistance(p); }, false, result,
        contacts, tolerance);
    if (uncertainty != nullptr) detail::scale_uncertainties(result, sum, result.points, 6);
    return detail::checked(result);
}

// The radius of the cone of `state` at the nearer end of the points along its axis, no less
// than a quarter of its radius at the centroid's foot: the axis of a steep cone may move only
// so far before it passes through the points at its narrow end (where a point's distance from
// the axis is not smooth and bounds nothing), which no cone of the part does.
double smallest_radius(const detail::centred_points& points, const detail::cone_state& state) {
    double low = 0.0, high = 0.0;
    note_pass(points);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double z = detail::dot(points[i] - state.origin, state.frame.z);
        low = std::min(low, z);
        high = std::max(high, z);
    }
    const double t = std::tan(state.angle);
    return std::max(0.25 * state.radius, std::min(state.radius + low * t, state.radius + high * t));
}

// The zone cone's half angle is searched within this many radians (about 14 degrees) of the
// least-squares one.
constexpr double cone_angle_reach = 0.25;

}  // namespace

fit_result<spanto::cone> fit_cone(const actual& points, criterion c, const fit_options& options) {
    fit_result<spanto::cone> result;
    result.criterion = c;
    std::string reason = detail::criterion_refusal(c, element_kind::cone);
    if (reason.empty()) reason = fit_options_refusal(options);
    if (!reason.empty()) return detail::fail(result, vantor::status::refused, reason);
    if (options.reject_beyond > 0.0)
        return detail::fit_rejecting<spanto::cone>(points, c, options, fit_cone);
    detail::scatter3 s;
    const detail::failure why = detail::scatter_for_fit(points, element_kind::cone, result, s);
    if (!why.empty()) return detail::fail(result, why);
    const detail::principal_axes axes = detail::principal_axes_of(s);
    if (detail::negligible_spread(s, axes, 1))
        return detail::fail(result, vantor::status::degenerate,
                            "the points lie on one line: they determine no cone");
    if (detail::negligible_spread(s, axes, 0))
        return detail::fail(result, vantor::status::degenerate,
                            "the points lie in one plane: they determine no cone");

    const detail::valid_rows rows(points, s.count);
    const detail::centred_points offsets(rows, {s.centroid});
    const detail::cone_solution fit = detail::least_squares_cone(
        offsets, axes, detail::domain_of(options, {0.0, 0.0, 1.0}, false));
    result.iterations = fit.iterations;
    result.converged = fit.converged;
    if (fit.status != detail::fit_status::ok)
        return detail::fail(result, detail::status_failure(fit.status, element_kind::cone));
    if (c == criterion::gauss)
        return report_cone(points, s, fit.state, fit.apex, fit.unit_uncertainty, result);

    // Proved over the axes within the largest tilt of the domain's axis that pass within
    // position_reach() of the least-squares axis (for its smallest radius), and the
    // half angles within cone_angle_reach of its.
    const bool given = options.axis.length() > 0.0;
    const detail::axis_domain domain = detail::domain_of(options, fit.state.frame.z, true);
    const detail::cone_surface_model model(detail::extent_of(axes, s.count));
    double tilt = 0.0;
    std::vector<detail::cone_state> charts;
    const detail::frame3 around = detail::facing(
        given ? detail::frame_about(domain.axis) : fit.state.frame, -1.0 * fit.state.origin);
    for (const detail::frame3& f : detail::direction_charts(around, domain.max_tilt, tilt))
        charts.push_back({f, fit.state.origin, fit.state.radius, fit.state.angle});
    const double reach = detail::position_reach(c, smallest_radius(offsets, fit.state), model.unit);
    const double half[5] = {reach, reach, tilt, tilt, cone_angle_reach};
    double lower = 0.0;
    const auto m = detail::solve_and_prove(
        model, offsets, fit.state, detail::minimax_sides::both, charts, half, options, lower,
        detail::axial_domain<detail::cone_state>(domain, charts.size() == 1, fit.state.origin,
                                                 reach * model.unit, model.unit));
    detail::take_progress(result, m);
    if (m.status != detail::minimax_status::ok)
        return detail::fail(result, detail::minimax_failure(m.status, c, "cone", "the axis"));
    reason = detail::outside_domain(domain, m.state.frame.z, "the zone cone's axis", given);
    if (!reason.empty()) return detail::fail(result, vantor::status::refused, reason);
    detail::take_proof(result, c, m.high - m.low, lower, model.unit);
    // The surface in the middle of the zone: a change dr of the radius moves every residual by
    // -dr cos(angle).
    detail::cone_state middle = m.state;
    middle.radius += detail::surface_level(c, m) / std::cos(middle.angle);
    const detail::fit_status shape = detail::cone_shape(middle);
    if (shape != detail::fit_status::ok)
        return detail::fail(result, detail::status_failure(shape, element_kind::cone));
    return report_cone(points, s, detail::widening(middle), detail::apex_of(middle), nullptr,
                       result, detail::contact_distances(c, m), detail::contact_tolerance(s, m));
}

}  // namespace vantor
