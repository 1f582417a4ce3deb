// The circles of the fitting interface: the points are projected along the circle's axis into
// a plane, where the exact planar solvers fit the circle of each criterion.
//
// One pass projects the points and sums the moments of the algebraic (Kasa) circle, which
// starts the least-squares circle; that converges in two or three passes. Minimum zone and
// maximum inscribed start from the least-squares centre; the minimum circumscribed circle is
// the exact smallest enclosing circle, found without a start.
#include <algorithm>
#include <cmath>

#include "fit/fit_points.h"
#include "fit/fit_report.h"
#include "numeric/circumscribed_circle.h"
#include "numeric/inscribed_circle.h"
#include "numeric/kasa_circle.h"
#include "numeric/least_squares_circle.h"
#include "numeric/planar.h"
#include "numeric/uncertainty.h"
#include "numeric/zone_circle.h"

namespace vantor {

namespace {

using detail::point2;

// The valid points seen along a unit normal: their traces in the plane through the first valid
// point spanned by a = normal.orthogonal() and b = normal ^ a, and their heights along it.
struct projection {
    spanto::point origin;
    spanto::vector normal, a, b;
    std::vector<point2> points;
    // The stored index of each trace, when the set holds invalid points; empty otherwise.
    std::vector<int> index;
    detail::circle_moments moments;
    double extent = 0.0;                 // the largest norm of a trace
    double height = 0.0;                 // the mean height
    double height_sum_of_squares = 0.0;  // of the heights about their mean
    bool finite = true;
};

projection project(const actual& points, const spanto::vector& normal) {
    projection pr;
    pr.normal = normal;
    pr.a = normal.orthogonal();
    pr.b = normal ^ pr.a;
    pr.points.reserve(static_cast<std::size_t>(points.numpoints()));
    double sum = 0.0, squares = 0.0, largest = 0.0;
    bool skipped = false;
    const int n = points.numpoints();
    for (int i = 0; i < n; ++i) {
        const spanto::point& p = points[i];
        if (!p.valid()) {
            if (!skipped) {
                // Until now every stored point was valid: its index is its position.
                for (int k = 0; k < static_cast<int>(pr.points.size()); ++k) pr.index.push_back(k);
                skipped = true;
            }
            continue;
        }
        if (pr.points.empty()) pr.origin = p;
        const spanto::vector d = p - pr.origin;
        const point2 trace{spanto::dot(d, pr.a), spanto::dot(d, pr.b)};
        const double h = spanto::dot(d, normal);
        pr.points.push_back(trace);
        if (skipped) pr.index.push_back(i);
        pr.moments.add(trace);
        largest = std::max(largest, trace.x * trace.x + trace.y * trace.y);
        sum += h;
        squares += h * h;
    }
    const double count = static_cast<double>(pr.points.size());
    pr.extent = std::sqrt(largest);
    if (count > 0) {
        // Heights from a point of the set are of the order of the flatness: no digits lost.
        pr.height = sum / count;
        pr.height_sum_of_squares = std::max(0.0, squares - count * pr.height * pr.height);
    }
    pr.finite = std::isfinite(pr.extent) && std::isfinite(sum) && std::isfinite(squares);
    return pr;
}

// The tilt of the least-squares plane that gave the normal (for a circle fitted without a
// direction): its other principal axes and their sums of squares.
struct plane_tilt {
    spanto::vector e1, e2;
    double s1, s2;
};

double component(const spanto::vector& v, int k) { return k == 0 ? v.x : k == 1 ? v.y : v.z; }

// Standard uncertainties of centre (3), normal (3) and radius of the least-squares circle: the
// in-plane fit (centre x, centre y, radius) and the position of the plane (the mean height; for
// a fitted plane also its tilt about the centroid, which moves a centre away from the centroid
// along the normal) are independent least-squares problems, whose variances add. False when
// either has no degrees of freedom or the in-plane problem is singular.
bool circle_uncertainties(const projection& pr, const detail::least_squares_circle_fit& fit,
                          const spanto::point& centre, const plane_tilt* tilt, double* u) {
    const double n = static_cast<double>(pr.points.size());
    if (n <= 3.0) return false;
    double g[7][3] = {};
    for (int k = 0; k < 3; ++k) {
        g[k][0] = component(pr.a, k);
        g[k][1] = component(pr.b, k);
    }
    g[6][2] = 1.0;
    if (!detail::unit_uncertainties(&fit.jtj[0][0], 3, &g[0][0], 7, u)) return false;
    const double in_plane = std::sqrt(fit.sum_of_squares / (n - 3.0));
    for (int k = 0; k < 7; ++k) u[k] *= in_plane;

    if (tilt == nullptr) {
        // The mean height: variance s^2 / n with s^2 the variance of the heights.
        const double s = std::sqrt(pr.height_sum_of_squares / (n - 1.0) / n);
        for (int k = 0; k < 3; ++k) u[k] = std::hypot(u[k], s * component(pr.normal, k));
        return true;
    }
    // The plane's shift along the normal and its tilts towards e1 and e2, with variances
    // s^2 / n, s^2 / s1, s^2 / s2 (s^2 the residual variance of the plane).
    const double variance = pr.height_sum_of_squares / (n - 3.0);
    const spanto::point centroid =
        pr.origin + (pr.moments.x / n * pr.a) + (pr.moments.y / n * pr.b) + (pr.height * pr.normal);
    const spanto::vector offset = centre - centroid;
    const double along1 = spanto::dot(offset, tilt->e1), along2 = spanto::dot(offset, tilt->e2);
    for (int k = 0; k < 3; ++k) {
        const double nk = component(pr.normal, k);
        const double centre_variance =
            variance * nk * nk *
            (1.0 / n + along1 * along1 / tilt->s1 + along2 * along2 / tilt->s2);
        u[k] = std::sqrt(u[k] * u[k] + centre_variance);
        const double e1 = component(tilt->e1, k), e2 = component(tilt->e2, k);
        u[3 + k] = std::sqrt(variance * (e1 * e1 / tilt->s1 + e2 * e2 / tilt->s2));
    }
    return true;
}

// The stored indices of the traces at `distance` from `centre`.
std::vector<int> contacts_at(const projection& pr, point2 centre, double distance) {
    std::vector<int> contacts;
    const double tolerance = 1e-12 * std::max(pr.extent, distance);
    for (std::size_t i : detail::points_at_distance(pr.points, centre, distance, tolerance))
        contacts.push_back(pr.index.empty() ? static_cast<int>(i) : pr.index[i]);
    return contacts;
}

fit_result<spanto::circle> circle_in_plane(const actual& points, const projection& pr, criterion c,
                                           const plane_tilt* tilt) {
    fit_result<spanto::circle> result;
    result.method = c;
    result.points = static_cast<int>(pr.points.size());
    const std::optional<detail::circle2> start = detail::kasa_circle(pr.moments);
    if (!start) {
        return detail::fail(result,
                            "the points seen along the axis lie on one line: they determine no "
                            "circle");
    }
    const detail::least_squares_circle_fit fit =
        detail::least_squares_circle_local(pr.points, pr.extent, *start);
    if (!fit.converged) return detail::fail(result, "the fit of a circle did not converge");

    detail::circle2 circle = fit.circle;
    result.iterations = fit.iterations;
    result.converged = true;
    switch (c) {
        case criterion::gauss:
            break;
        case criterion::zone: {
            detail::solver_outcome outcome;
            const detail::zone2 zone =
                detail::minimum_zone_circle(pr.points, fit.circle.centre, &outcome);
            circle = {zone.centre, 0.5 * (zone.inner + zone.outer)};
            result.contacts = contacts_at(pr, zone.centre, zone.inner);
            for (int i : contacts_at(pr, zone.centre, zone.outer)) result.contacts.push_back(i);
            std::sort(result.contacts.begin(), result.contacts.end());
            result.iterations = outcome.steps;
            result.converged = outcome.converged;
            break;
        }
        case criterion::inscribed: {
            if (!detail::surrounded(pr.points, fit.circle.centre)) {
                return detail::fail(result,
                                    "the points do not surround their centre: the maximum "
                                    "inscribed circle is not determined");
            }
            detail::solver_outcome outcome;
            circle = detail::maximum_inscribed_circle(pr.points, fit.circle.centre, &outcome);
            result.contacts = contacts_at(pr, circle.centre, circle.radius);
            result.iterations = outcome.steps;
            result.converged = outcome.converged;
            break;
        }
        case criterion::circumscribed:
            circle = detail::minimum_circumscribed_circle(pr.points);
            result.contacts = contacts_at(pr, circle.centre, circle.radius);
            result.iterations = 0;
            break;
    }
    if (!result.converged)
        return detail::fail(result,
                            std::string("the ") + criterion_name(c) + " circle did not converge");

    const spanto::point centre =
        pr.origin + (circle.centre.x * pr.a) + (circle.centre.y * pr.b) + (pr.height * pr.normal);
    const spanto::circle element(centre, pr.normal, circle.radius);
    if (element.invalid()) return detail::fail(result, "the fitted circle is not valid");
    result.element = element;

    double u[7] = {};
    result.has_uncertainty =
        c == criterion::gauss && circle_uncertainties(pr, fit, centre, tilt, u);
    detail::add_parameter(result, "centre", element.centre, u);
    detail::add_parameter(result, "normal", element.normal, u + 3);
    detail::add_parameter(result, "radius", element.radius, u[6]);
    // Radial distances from the axis, as roundness measures them.
    const spanto::line axis = element.axisline();
    const double radius = element.radius;
    detail::measure(
        points, [&axis, radius](const spanto::point& p) { return axis.distance(p) - radius; },
        false, result);
    return detail::checked(result);
}

// The reason why c is not a circle criterion; empty for the four criteria.
std::string circle_criterion_refusal(criterion c) {
    return criterion_name(c) == nullptr ? detail::unknown_criterion(c) : std::string();
}

}  // namespace

fit_result<spanto::circle> fit_circle(const actual& points, criterion c) {
    fit_result<spanto::circle> result;
    result.method = c;
    const std::string refusal = circle_criterion_refusal(c);
    if (!refusal.empty()) return detail::fail(result, refusal);
    detail::scatter3 s;
    std::string reason;
    if (!detail::scatter_for_fit(points, "a circle", 3, result, s, reason))
        return detail::fail(result, reason);
    const detail::principal_axes axes = detail::principal_axes_of(s);
    if (detail::negligible_spread(s, axes, 1))
        return detail::fail(result, "the points lie on one line: they determine no circle");
    const plane_tilt tilt{detail::as_vector(axes.axis[1]), detail::as_vector(axes.axis[2]),
                          axes.sum_of_squares[1], axes.sum_of_squares[2]};
    const spanto::vector normal = detail::oriented(detail::as_vector(axes.axis[0]));
    return circle_in_plane(points, project(points, normal), c, &tilt);
}

fit_result<spanto::circle> fit_circle(const actual& points, const spanto::vector& direction,
                                      criterion c) {
    fit_result<spanto::circle> result;
    result.method = c;
    const std::string refusal = circle_criterion_refusal(c);
    if (!refusal.empty()) return detail::fail(result, refusal);
    const spanto::vector normal = direction.unit();
    if (normal.invalid()) return detail::fail(result, "the direction is zero or not finite");
    const projection pr = project(points, normal);
    result.points = static_cast<int>(pr.points.size());
    if (pr.points.size() < 3)
        return detail::fail(result, detail::too_few_points("a circle", 3, pr.points.size()));
    if (!pr.finite) return detail::fail(result, "a point has an infinite coordinate");
    return circle_in_plane(points, pr, c, nullptr);
}

}  // namespace vantor
