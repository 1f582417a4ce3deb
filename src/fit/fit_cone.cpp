// The least-squares cone of the fitting interface.
#include <cmath>

#include "fit/fit_points.h"
#include "fit/fit_report.h"
#include "numeric/cone_fit.h"
#include "numeric/planar.h"

namespace vantor {

fit_result<spanto::cone> fit_cone(const actual& points, criterion c) {
    fit_result<spanto::cone> result;
    result.method = c;
    switch (c) {
        case criterion::gauss:
            break;
        case criterion::zone:
            return detail::fail(result, detail::not_available(c, "a cone"));
        case criterion::inscribed:
        case criterion::circumscribed:
            return detail::fail(result, detail::not_defined(c, "a cone"));
        default:
            return detail::fail(result, detail::unknown_criterion(c));
    }
    detail::scatter3 s;
    std::string reason;
    if (!detail::scatter_for_fit(points, "a cone", 6, result, s, reason))
        return detail::fail(result, reason);
    const detail::principal_axes axes = detail::principal_axes_of(s);
    if (detail::negligible_spread(s, axes, 1))
        return detail::fail(result, "the points lie on one line: they determine no cone");
    if (detail::negligible_spread(s, axes, 0))
        return detail::fail(result, "the points lie in one plane: they determine no cone");

    const detail::cone_solution fit =
        detail::least_squares_cone(detail::offsets_of(points, s.centroid), axes);
    result.iterations = fit.iterations;
    result.converged = fit.converged;
    if (fit.status != detail::fit_status::ok)
        return detail::fail(result, detail::status_reason(fit.status, "a cone"));

    // The first point at the foot of the centroid, the second one unit further towards
    // increasing radius.
    const spanto::point first = detail::as_point(fit.state.origin + s.centroid);
    const spanto::vector direction = detail::as_vector(fit.state.frame.z);
    const spanto::cone cone(first, fit.state.radius, first + direction,
                            fit.state.radius + std::tan(fit.state.angle));
    if (cone.invalid()) return detail::fail(result, "the fitted cone is not valid");
    result.element = cone;
    constexpr double degrees = 180.0 / detail::pi;
    detail::add_parameter(result, "apex", detail::as_point(fit.apex + s.centroid),
                          fit.unit_uncertainty);
    detail::add_parameter(result, "direction", direction, fit.unit_uncertainty + 3);
    detail::add_parameter(result, "half_angle", degrees * fit.state.angle,
                          degrees * fit.unit_uncertainty[6]);
    const double sum = detail::measure(
        points, [&cone](const spanto::point& p) { return cone.sdistance(p); }, false, result);
    detail::scale_uncertainties(result, sum, result.points, 6);
    return detail::checked(result);
}

}  // namespace vantor
