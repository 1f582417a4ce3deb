// The least-squares sphere of the fitting interface.
#include "fit/fit_points.h"
#include "fit/fit_report.h"
#include "numeric/sphere_fit.h"

namespace vantor {

fit_result<spanto::sphere> fit_sphere(const actual& points, criterion c) {
    fit_result<spanto::sphere> result;
    result.method = c;
    switch (c) {
        case criterion::gauss:
            break;
        case criterion::zone:
        case criterion::inscribed:
        case criterion::circumscribed:
            return detail::fail(result, detail::not_available(c, "a sphere"));
        default:
            return detail::fail(result, detail::unknown_criterion(c));
    }
    detail::scatter3 s;
    std::string reason;
    if (!detail::scatter_for_fit(points, "a sphere", 4, result, s, reason))
        return detail::fail(result, reason);
    const detail::principal_axes axes = detail::principal_axes_of(s);
    if (detail::negligible_spread(s, axes, 0))
        return detail::fail(result, "the points lie in one plane: they determine no sphere");

    const detail::sphere_solution fit =
        detail::least_squares_sphere(detail::offsets_of(points, s.centroid), axes);
    result.iterations = fit.iterations;
    result.converged = fit.converged;
    if (fit.status != detail::fit_status::ok)
        return detail::fail(result, detail::status_reason(fit.status, "a sphere"));

    const spanto::sphere sphere(detail::as_point(fit.state.centre + s.centroid), fit.state.radius);
    if (sphere.invalid()) return detail::fail(result, "the fitted sphere is not valid");
    result.element = sphere;
    detail::add_parameter(result, "centre", sphere.centre, fit.unit_uncertainty);
    detail::add_parameter(result, "radius", sphere.radius, fit.unit_uncertainty[3]);
    const double sum = detail::measure(
        points, [&sphere](const spanto::point& p) { return sphere.sdistance(p); }, false, result);
    detail::scale_uncertainties(result, sum, result.points, 4);
    return detail::checked(result);
}

}  // namespace vantor
