// The circles of the fitting interface: the points are projected along the circle's axis into
// a plane, where the exact planar solvers fit the circle of each criterion.
//
// One pass projects the points; the algebraic (Kasa) circle of a sample of them starts the
// least-squares circle (numeric/circle_fit.h), which on a closed profile takes two passes, and
// one more measures the points' distances. Minimum zone and maximum inscribed
// start from the least-squares centre; the minimum circumscribed circle is the exact smallest
// enclosing circle, found without a start.
#include <algorithm>
#include <cmath>

#include "fit/fit_points.h"
#include "fit/fit_report.h"
#include "numeric/circle_fit.h"
#include "numeric/circumscribed_circle.h"
#include "numeric/inscribed_circle.h"
#include "numeric/kasa_circle.h"
#include "numeric/planar.h"
#include "numeric/sample.h"
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
    point2 trace_sum{0.0, 0.0};
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
    const spanto::point* p = points.data();
    const int n = points.numpoints();
    int first = 0;
    while (first < n && !p[first].valid()) ++first;
    if (first == n) return pr;
    pr.origin = p[first];
    pr.points.resize(static_cast<std::size_t>(n - first));
    point2* traces = pr.points.data();
    const spanto::point o = pr.origin;
    const spanto::vector a = pr.a, b = pr.b;
    double sum = 0.0, squares = 0.0, largest = 0.0, sx = 0.0, sy = 0.0;
    std::size_t count = 0;
    for (int i = first; i < n; ++i) {
        const spanto::vector d = p[i] - o;
        const point2 trace{spanto::dot(d, a), spanto::dot(d, b)};
        const double h = spanto::dot(d, normal);
        // A NaN coordinate makes every product NaN.
        if (h != h) {
            if (pr.index.empty()) {
                // Until now every stored point from `first` on was valid.
                for (int k = first; k < i; ++k) pr.index.push_back(k);
            }
            continue;
        }
        traces[count++] = trace;
        if (!pr.index.empty()) pr.index.push_back(i);
        sx += trace.x;
        sy += trace.y;
        largest = std::max(largest, trace.x * trace.x + trace.y * trace.y);
        sum += h;
        squares += h * h;
    }
    pr.points.resize(count);
    // Without invalid points before the first valid one, indices are positions plus `first`.
    if (pr.index.empty() && first > 0) {
        for (std::size_t k = 0; k < count; ++k) pr.index.push_back(first + static_cast<int>(k));
    }
    pr.trace_sum = {sx, sy};
    pr.extent = std::sqrt(largest);
    // Heights from a point of the set are of the order of the flatness: no digits lost.
    const double c = static_cast<double>(count);
    pr.height = sum / c;
    pr.height_sum_of_squares = std::max(0.0, squares - c * pr.height * pr.height);
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
bool circle_uncertainties(const projection& pr, const double (&jtj)[3][3], double sum_of_squares,
                          const spanto::point& centre, const plane_tilt* tilt, double* u) {
    const double n = static_cast<double>(pr.points.size());
    if (n <= 3.0) return false;
    double g[7][3] = {};
    for (int k = 0; k < 3; ++k) {
        g[k][0] = component(pr.a, k);
        g[k][1] = component(pr.b, k);
    }
    g[6][2] = 1.0;
    if (!detail::unit_uncertainties(&jtj[0][0], 3, &g[0][0], 7, u)) return false;
    const double in_plane = std::sqrt(sum_of_squares / (n - 3.0));
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
    const spanto::point centroid = pr.origin + (pr.trace_sum.x / n * pr.a) +
                                   (pr.trace_sum.y / n * pr.b) + (pr.height * pr.normal);
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
    // The Kasa circle of at most 4096 of the traces: as good a start as that of all of them, the
    // least-squares circle of a sample lying as close to the optimum as the Kasa circle's bias.
    detail::circle_moments moments;
    for (const point2& p : detail::strided_sample(pr.points, 4096)) moments.add(p);
    const std::optional<detail::circle2> start = detail::kasa_circle(moments);
    if (!start) {
        return detail::fail(result,
                            "the points seen along the axis lie on one line: they determine no "
                            "circle");
    }
    const detail::least_squares_result<detail::circle_model> fit =
        detail::least_squares_circle_fit(pr.points, pr.extent, *start);
    if (!fit.converged) return detail::fail(result, "the fit of a circle did not converge");

    detail::circle2 circle = fit.state;
    result.iterations = fit.iterations;
    result.converged = true;
    switch (c) {
        case criterion::gauss:
            break;
        case criterion::zone: {
            detail::solver_outcome outcome;
            const detail::zone2 zone =
                detail::minimum_zone_circle(pr.points, fit.state.centre, &outcome);
            circle = {zone.centre, 0.5 * (zone.inner + zone.outer)};
            result.contacts = contacts_at(pr, zone.centre, zone.inner);
            for (int i : contacts_at(pr, zone.centre, zone.outer)) result.contacts.push_back(i);
            std::sort(result.contacts.begin(), result.contacts.end());
            result.iterations = outcome.steps;
            result.converged = outcome.converged;
            break;
        }
        case criterion::inscribed: {
            if (!detail::surrounded(pr.points, fit.state.centre)) {
                return detail::fail(result,
                                    "the points do not surround their centre: the maximum "
                                    "inscribed circle is not determined");
            }
            detail::solver_outcome outcome;
            circle = detail::maximum_inscribed_circle(pr.points, fit.state.centre, &outcome);
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

    // Radial distances from the axis, as roundness measures them.
    const spanto::line axis = element.axisline();
    const double radius = element.radius;
    const double sum = detail::measure(
        points, [&axis, radius](const spanto::point& p) { return axis.distance(p) - radius; },
        false, result);
    double u[7] = {};
    result.has_uncertainty = c == criterion::gauss &&
                             circle_uncertainties(pr, fit.at_solution.jtj, sum, centre, tilt, u);
    detail::add_parameter(result, "centre", element.centre, u);
    detail::add_parameter(result, "normal", element.normal, u + 3);
    detail::add_parameter(result, "radius", element.radius, u[6]);
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
