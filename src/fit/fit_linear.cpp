// The least-squares line and plane of the fitting interface.
#include "fit/fit_points.h"
#include "fit/fit_report.h"
#include "numeric/linear_fit.h"

namespace vantor {

fit_result<spanto::line> fit_line(const actual& points, criterion c) {
    fit_result<spanto::line> result;
    result.method = c;
    switch (c) {
        case criterion::gauss:
            break;
        case criterion::zone:
            return detail::fail(result, detail::not_available(c, "a line"));
        case criterion::inscribed:
        case criterion::circumscribed:
            return detail::fail(result, detail::not_defined(c, "a line"));
        default:
            return detail::fail(result, detail::unknown_criterion(c));
    }
    detail::scatter3 s;
    std::string reason;
    if (!detail::scatter_for_fit(points, "a line", 2, result, s, reason))
        return detail::fail(result, reason);
    const detail::principal_axes axes = detail::principal_axes_of(s);
    if (detail::negligible_spread(s, axes, 2))
        return detail::fail(result, "the points coincide: they determine no line");

    const detail::linear_fit fit = detail::least_squares_line(s, axes);
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

fit_result<spanto::plane> fit_plane(const actual& points, criterion c) {
    fit_result<spanto::plane> result;
    result.method = c;
    switch (c) {
        case criterion::gauss:
            break;
        case criterion::zone:
            return detail::fail(result, detail::not_available(c, "a plane"));
        case criterion::inscribed:
        case criterion::circumscribed:
            return detail::fail(result, detail::not_defined(c, "a plane"));
        default:
            return detail::fail(result, detail::unknown_criterion(c));
    }
    detail::scatter3 s;
    std::string reason;
    if (!detail::scatter_for_fit(points, "a plane", 3, result, s, reason))
        return detail::fail(result, reason);
    const detail::principal_axes axes = detail::principal_axes_of(s);
    if (detail::negligible_spread(s, axes, 1))
        return detail::fail(result, "the points lie on one line: they determine no plane");

    const detail::linear_fit fit = detail::least_squares_plane(s, axes);
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

}  // namespace vantor
