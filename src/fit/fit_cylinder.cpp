// The least-squares cylinder of the fitting interface.
#include "fit/fit_points.h"
#include "fit/fit_report.h"
#include "numeric/cylinder_fit.h"

namespace vantor {

fit_result<spanto::cylinder> fit_cylinder(const actual& points, criterion c) {
    fit_result<spanto::cylinder> result;
    result.method = c;
    switch (c) {
        case criterion::gauss:
            break;
        case criterion::zone:
        case criterion::inscribed:
        case criterion::circumscribed:
            return detail::fail(result, detail::not_available(c, "a cylinder"));
        default:
            return detail::fail(result, detail::unknown_criterion(c));
    }
    detail::scatter3 s;
    std::string reason;
    if (!detail::scatter_for_fit(points, "a cylinder", 5, result, s, reason))
        return detail::fail(result, reason);
    const detail::principal_axes axes = detail::principal_axes_of(s);
    if (detail::negligible_spread(s, axes, 1))
        return detail::fail(result, "the points lie on one line: they determine no cylinder");
    if (detail::negligible_spread(s, axes, 0))
        return detail::fail(result, "the points lie in one plane: they determine no cylinder");

    const detail::cylinder_solution fit =
        detail::least_squares_cylinder(detail::offsets_of(points, s.centroid), axes);
    result.iterations = fit.iterations;
    result.converged = fit.converged;
    if (fit.status != detail::fit_status::ok)
        return detail::fail(result, detail::status_reason(fit.status, "a cylinder"));

    const spanto::cylinder cylinder(detail::as_point(fit.state.origin + s.centroid),
                                    detail::oriented(detail::as_vector(fit.state.frame.z)),
                                    fit.state.radius);
    if (cylinder.invalid()) return detail::fail(result, "the fitted cylinder is not valid");
    result.element = cylinder;
    detail::add_parameter(result, "origin", cylinder.origin, fit.unit_uncertainty);
    detail::add_parameter(result, "direction", cylinder.direction, fit.unit_uncertainty + 3);
    detail::add_parameter(result, "radius", cylinder.radius, fit.unit_uncertainty[6]);
    const double sum = detail::measure(
        points, [&cylinder](const spanto::point& p) { return cylinder.sdistance(p); }, false,
        result);
    detail::scale_uncertainties(result, sum, result.points, 5);
    return detail::checked(result);
}

}  // namespace vantor
