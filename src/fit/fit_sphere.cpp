// SPDX-License-Identifier: Apache-2.0
// The sphere of the fitting interface: least squares; minimum zone and maximum inscribed sphere
// by the minimax solver from the least-squares centre; the minimum circumscribed sphere by
// Welzl's algorithm (on every point of a small set, else on the points farthest from the
// centroid).
#include <algorithm>
#include <cmath>
#include <limits>

#include "fit/fit_minimax.h"
#include "fit/fit_points.h"
#include "fit/fit_report.h"
#include "fit/outliers.h"
#include "numeric/enclosing_sphere.h"
#include "numeric/minimax_models.h"
#include "numeric/sphere_fit.h"

namespace vantor {

namespace {

// The centres within `reach` extents of `start`, a ball; a cell of the box (shifts in extents
// about start) lies outside it when its nearest point does.
detail::search_domain<detail::point3> sphere_domain(const detail::point3& start, double reach,
                                                    double extent) {
    detail::search_domain<detail::point3> d;
    d.outside = [reach](const double* centre, const double* half) {
        double nearest = 0.0;
        for (int k = 0; k < 3; ++k) {
            const double gap = std::max(0.0, std::abs(centre[k]) - half[k]);
            nearest += gap * gap;
        }
        return std::sqrt(nearest) > reach;
    };
    d.admits = [start, reach, extent](const detail::point3& centre) {
        return detail::norm(centre - start) <= reach * extent;
    };
    return d;
}

// The minimax sphere of criterion c (not gauss) of the points' `offsets` from their centroid,
// from the least-squares centre `start`. The circumscribed sphere is exact (Welzl's algorithm):
// its bound is its radius. The zone and inscribed spheres are fitted and proved over the centres
// within position_reach() of the least-squares centre.
fit_result<spanto::sphere>& minimax_sphere(const actual& points, criterion c,
                                           const detail::scatter3& s,
                                           const detail::centred_points& offsets, double extent,
                                           const detail::point3& start, double radius,
                                           const fit_options& options,
                                           fit_result<spanto::sphere>& result) {
    const detail::sphere_distance_model model(extent);
    const double reach = detail::position_reach(c, radius, extent);
    const double half[3] = {reach, reach, reach};
    double lower = 0.0;
    const detail::minimax_solution<detail::point3> m =
        c == criterion::circumscribed
            ? detail::circumscribed_sphere(offsets, start, extent)
            : detail::solve_and_prove(model, offsets, start, detail::sides_of(c), {start}, half,
                                      options, lower, sphere_domain(start, reach, extent));
    detail::take_progress(result, m);
    if (m.status != detail::minimax_status::ok)
        return detail::fail(result, detail::minimax_failure(m.status, c, "sphere", "the centre"));
    const double objective = detail::minimax_objective(detail::sides_of(c), m.low, m.high);
    detail::take_proof(result, c, objective, c == criterion::circumscribed ? objective : lower,
                       extent);
    const spanto::sphere sphere(detail::as_point(m.state + s.centroid),
                                detail::surface_level(c, m));
    if (sphere.invalid())
        return detail::fail(result, vantor::status::invalid_result,
                            "the fitted sphere is not valid");
    result.element = sphere;
    const double none[3] = {0.0, 0.0, 0.0};
    detail::add_parameter(result, "centre", sphere.centre, none);
    detail::add_parameter(result, "radius", sphere.radius, 0.0);
    detail::measure(
        points, [&sphere](const spanto::point& p) { return sphere.sdistance(p); }, false, result,
        detail::contact_distances(c, m), detail::contact_tolerance(s, m));
    return detail::checked(result);
}

}  // namespace

fit_result<spanto::sphere> fit_sphere(const actual& points, criterion c,
                                      const fit_options& options) {
    fit_result<spanto::sphere> result;
    result.criterion = c;
    std::string reason = detail::criterion_refusal(c, element_kind::sphere);
    if (reason.empty()) reason = fit_options_refusal(options);
    if (!reason.empty()) return detail::fail(result, vantor::status::refused, reason);
    if (options.reject_beyond > 0.0)
        return detail::fit_rejecting<spanto::sphere>(points, c, options, fit_sphere);
    detail::scatter3 s;
    const detail::failure why = detail::scatter_for_fit(points, element_kind::sphere, result, s);
    if (!why.empty()) return detail::fail(result, why);
    const detail::principal_axes axes = detail::principal_axes_of(s);
    if (detail::negligible_spread(s, axes, 0))
        return detail::fail(result, vantor::status::degenerate,
                            "the points lie in one plane: they determine no sphere");

    const detail::valid_rows rows(points, s.count);
    const detail::centred_points offsets(rows, {s.centroid});
    // The circumscribed sphere is exact from any start: no least-squares sphere before it.
    if (c == criterion::circumscribed) {
        return minimax_sphere(points, c, s, offsets, detail::extent_of(axes, s.count),
                              {0.0, 0.0, 0.0}, 0.0, options, result);
    }
    const detail::sphere_solution fit = detail::least_squares_sphere(offsets, axes);
    result.iterations = fit.iterations;
    result.converged = fit.converged;
    if (fit.status != detail::fit_status::ok)
        return detail::fail(result, detail::status_failure(fit.status, element_kind::sphere));
    if (c != criterion::gauss)
        return minimax_sphere(points, c, s, offsets, detail::extent_of(axes, s.count),
                              fit.state.centre, fit.state.radius, options, result);

    const spanto::sphere sphere(detail::as_point(fit.state.centre + s.centroid), fit.state.radius);
    if (sphere.invalid())
        return detail::fail(result, vantor::status::invalid_result,
                            "the fitted sphere is not valid");
    result.element = sphere;
    detail::add_parameter(result, "centre", sphere.centre, fit.unit_uncertainty);
    detail::add_parameter(result, "radius", sphere.radius, fit.unit_uncertainty[3]);
    const double sum = detail::measure(
        points, [&sphere](const spanto::point& p) { return sphere.sdistance(p); }, false, result);
    detail::scale_uncertainties(result, sum, result.points, 4);
    return detail::checked(result);
}

}  // namespace vantor
