// SPDX-License-Identifier: Apache-2.0
// The circles of the fitting interface: the points are seen along the circle's axis, in a
// plane where the exact planar solvers fit the circle of each criterion.
//
// One pass projects the points: the sums of their traces and heights; the fits then read the
// traces through a view that computes them from the points, without a copy of them. The
// algebraic (Kasa) circle of a sample of at most 4096 of them
// starts the least-squares circle, which then takes two passes; minimum zone and maximum
// inscribed circle start from the least-squares circle of at most 256 of them, which lies deep
// in the optimum's basin, and come from solve_minimax_circle (which solves on the points near
// the extremes and checks all), as does the minimum circumscribed circle. One last pass
// measures the points' distances from the circle (and finds the contacts of a minimax circle).
#include <algorithm>
#include <cmath>
#include <optional>

#include "fit/fit_minimax.h"
#include "fit/fit_points.h"
#include "fit/fit_report.h"
#include "fit/outliers.h"
#include "fit/planar_frame.h"
#include "numeric/circle_fit.h"
#include "numeric/kasa_circle.h"
#include "numeric/minimax_bound.h"
#include "numeric/minimax_circle.h"
#include "numeric/minimax_models.h"
#include "numeric/planar.h"
#include "numeric/sample.h"
#include "numeric/uncertainty.h"

namespace vantor {

namespace {

using detail::point2;

// The valid points seen along the normal, in a plane through the first of them: the sums of
// their traces and heights.
struct projection {
    explicit projection(const detail::planar_frame& plane) : plane(plane) {}

    detail::planar_frame plane;
    std::size_t count = 0;  // of valid points
    point2 trace_sum{0.0, 0.0};
    double extent = 0.0;                 // the largest norm of a trace
    double height = 0.0;                 // the mean height
    double height_sum_of_squares = 0.0;  // of the heights about their mean
    bool finite = true;
};

// The plane perpendicular to `normal` (unit) through the first valid point of a set; empty when
// the set has no valid point.
std::optional<detail::planar_frame> view_along(const actual& points, const spanto::vector& normal) {
    for (const spanto::point& p : points) {
        if (p.valid()) return detail::planar_frame(p, normal);
    }
    return std::nullopt;
}

// A point's trace in the plane, and the same as a point of space in the plane z = 0 (as the
// proof of a circle, which shares the 3-D fits' search, sees it).
struct tracing {
    detail::planar_frame plane;
    point2 operator()(const spanto::point& p) const { return plane.trace(p); }
};
struct flat_tracing {
    tracing trace;
    detail::point3 operator()(const spanto::point& p) const {
        const point2 t = trace(p);
        return {t.x, t.y, 0.0};
    }
};
using trace_view = detail::mapped_rows<tracing>;

// The Kasa circle of at most 4096 of the traces and, with `refined`, the least-squares circle of
// at most 256 of those, started from it; empty when the traces lie on one line or the
// refinement does not converge.
std::optional<detail::circle2> sample_circle(const trace_view& traces, bool refined) {
    const std::vector<point2> sample = detail::strided_sample(traces, 4096);
    detail::circle_moments moments;
    for (const point2& t : sample) moments.add(t);
    const std::optional<detail::circle2> kasa = detail::kasa_circle(moments);
    if (!kasa || !refined) return kasa;
    const std::vector<point2> thinner = detail::strided_sample(sample, 256);
    const auto fit = detail::least_squares_circle_fit(thinner, kasa->radius, *kasa);
    if (!fit.converged) return std::nullopt;
    return fit.state;
}

// One pass over the points: the sums of their traces and heights.
projection project(const actual& points, const detail::planar_frame& v) {
    projection pr(v);
    const spanto::point* p = points.data();
    const int n = points.numpoints();
    const spanto::point o = v.origin;
    const spanto::vector a = v.a, b = v.b, normal = v.normal;
    double sum = 0.0, squares = 0.0, largest = 0.0, sx = 0.0, sy = 0.0;
    std::size_t count = 0;
    bool infinite = false;
    for (int i = 0; i < n; ++i) {
        const spanto::vector d = p[i] - o;
        const point2 trace{spanto::dot(d, a), spanto::dot(d, b)};
        const double h = spanto::dot(d, normal);
        // A NaN coordinate makes every product NaN; so may an infinite one.
        if (h != h) {
            infinite = infinite || p[i].valid();
            continue;
        }
        ++count;
        sx += trace.x;
        sy += trace.y;
        largest = std::max(largest, trace.x * trace.x + trace.y * trace.y);
        sum += h;
        squares += h * h;
    }
    pr.count = count;
    pr.trace_sum = {sx, sy};
    pr.extent = std::sqrt(largest);
    // Heights from a point of the set are of the order of the flatness: no digits lost.
    const double c = static_cast<double>(count);
    pr.height = sum / c;
    pr.height_sum_of_squares = std::max(0.0, squares - c * pr.height * pr.height);
    pr.finite =
        !infinite && std::isfinite(pr.extent) && std::isfinite(sum) && std::isfinite(squares);
    detail::count_pass();
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
    const double n = static_cast<double>(pr.count);
    if (n <= 3.0) return false;
    double g[7][3] = {};
    for (int k = 0; k < 3; ++k) {
        g[k][0] = component(pr.plane.a, k);
        g[k][1] = component(pr.plane.b, k);
    }
    g[6][2] = 1.0;
    if (!detail::unit_uncertainties(&jtj[0][0], 3, &g[0][0], 7, u)) return false;
    const double in_plane = std::sqrt(sum_of_squares / (n - 3.0));
    for (int k = 0; k < 7; ++k) u[k] *= in_plane;

    if (tilt == nullptr) {
        // The mean height: variance s^2 / n with s^2 the variance of the heights.
        const double s = std::sqrt(pr.height_sum_of_squares / (n - 1.0) / n);
        for (int k = 0; k < 3; ++k) u[k] = std::hypot(u[k], s * component(pr.plane.normal, k));
        return true;
    }
    // The plane's shift along the normal and its tilts towards e1 and e2, with variances
    // s^2 / n, s^2 / s1, s^2 / s2 (s^2 the residual variance of the plane).
    const double variance = pr.height_sum_of_squares / (n - 3.0);
    const spanto::point centroid = pr.plane.origin + (pr.trace_sum.x / n * pr.plane.a) +
                                   (pr.trace_sum.y / n * pr.plane.b) +
                                   (pr.height * pr.plane.normal);
    const spanto::vector offset = centre - centroid;
    const double along1 = spanto::dot(offset, tilt->e1), along2 = spanto::dot(offset, tilt->e2);
    for (int k = 0; k < 3; ++k) {
        const double nk = component(pr.plane.normal, k);
        const double centre_variance =
            variance * nk * nk *
            (1.0 / n + along1 * along1 / tilt->s1 + along2 * along2 / tilt->s2);
        u[k] = std::sqrt(u[k] * u[k] + centre_variance);
        const double e1 = component(tilt->e1, k), e2 = component(tilt->e2, k);
        u[3 + k] = std::sqrt(variance * (e1 * e1 / tilt->s1 + e2 * e2 / tilt->s2));
    }
    return true;
}

// The proof of a minimax circle: the circumscribed circle is exact (Welzl's algorithm); the zone
// circle is proved over the centres within one extent of the traces (their largest distance
// from the plane's origin) of `reference`, the start's centre, the inscribed circle within half
// the start's `radius`. When the search finds a better
// centre, the solver runs again from it and the better circle is kept.
void prove_circle(const projection& pr, const detail::valid_rows& rows, const trace_view& traces,
                  point2 reference, double radius, detail::minimax_sides kind, criterion c,
                  const fit_options& options, detail::minimax_circle& m, fit_report& result) {
    const detail::minimax_sides sides = detail::sides_of(c);
    const auto objective_of = [sides](const detail::minimax_circle& x) {
        return detail::minimax_objective(sides, x.inner, x.outer);
    };
    const double extent = std::max(pr.extent, 1e-300);
    if (kind == detail::minimax_sides::outer) {
        detail::take_proof(result, c, objective_of(m), objective_of(m), extent);
        return;
    }
    const detail::mapped_rows<flat_tracing> flat(rows, {{pr.plane}});
    const detail::circle_distance_model model(extent);
    detail::bound_limits limits = detail::proof_limits(options);
    const double reach = detail::position_reach(c, radius, extent);
    const double half[2] = {reach, reach};
    const auto restart = [&](const detail::point3& from, double objective,
                             detail::minimax_circle& kept) {
        const detail::minimax_circle again =
            detail::solve_minimax_circle(traces, {from.x, from.y}, kind);
        if (!again.surrounded || !again.outcome.converged || !(objective_of(again) < objective))
            return false;
        kept = again;
        return true;
    };
    const double lower = detail::prove_restarting(
        model, flat, m,
        [](const detail::minimax_circle& x) {
            return detail::point3{x.centre.x, x.centre.y, 0.0};
        },
        restart, {detail::point3{reference.x, reference.y, 0.0}}, half, sides, limits);
    detail::take_proof(result, c, objective_of(m), lower, extent);
}

fit_result<spanto::circle> circle_along(const actual& points, const spanto::vector& normal,
                                        criterion c, const plane_tilt* tilt,
                                        const fit_options& options) {
    fit_result<spanto::circle> result;
    result.criterion = c;
    const std::optional<detail::planar_frame> v = view_along(points, normal);
    if (!v)
        return detail::fail(result, vantor::status::too_few_points,
                            detail::too_few_points(element_kind::circle, 0));
    const projection pr = project(points, *v);
    result.points = static_cast<int>(pr.count);
    if (pr.count < static_cast<std::size_t>(info_of(element_kind::circle).fewest_points))
        return detail::fail(result, vantor::status::too_few_points,
                            detail::too_few_points(element_kind::circle, pr.count));
    if (!pr.finite)
        return detail::fail(result, vantor::status::invalid_points,
                            detail::not_finite_reason(points));
    const detail::valid_rows rows(points, pr.count);
    const trace_view traces(rows, {pr.plane});
    // Zone and inscribed circle start from a least-squares circle, the others from the Kasa
    // circle.
    const bool minimax = c != criterion::gauss;
    const std::optional<detail::circle2> start =
        sample_circle(traces, c == criterion::zone || c == criterion::inscribed);
    if (!start) {
        return detail::fail(result, vantor::status::degenerate,
                            "the points seen along the axis lie on one line: they determine no "
                            "circle");
    }

    detail::circle2 circle{};
    double jtj[3][3] = {};
    // The distances of a minimax circle's boundary from it: the contacts lie there.
    double inner = 0.0, outer = 0.0;
    if (!minimax) {
        const detail::least_squares_result<detail::circle_model> fit =
            detail::least_squares_circle_fit(traces, pr.extent, *start);
        if (!fit.converged)
            return detail::fail(result, vantor::status::not_converged,
                                "the fit of a circle did not converge");
        circle = fit.state;
        std::copy(&fit.at_solution.jtj[0][0], &fit.at_solution.jtj[0][0] + 9, &jtj[0][0]);
        result.iterations = fit.iterations;
        result.converged = true;
    } else {
        const detail::minimax_sides kind = detail::sides_of(c);
        detail::minimax_circle m = detail::solve_minimax_circle(traces, start->centre, kind);
        if (m.surrounded && m.outcome.converged)
            prove_circle(pr, rows, traces, start->centre, start->radius, kind, c, options, m,
                         result);
        if (!m.surrounded) {
            return detail::fail(result, vantor::status::not_determined,
                                "the points do not surround their centre: the maximum "
                                "inscribed circle is not determined");
        }
        if (!m.outcome.converged) {
            return detail::fail(
                result, vantor::status::not_converged,
                std::string("the ") + criterion_name(c) + " circle did not converge");
        }
        circle = {m.centre, 0.5 * (m.inner + m.outer)};
        inner = m.inner - circle.radius;
        outer = m.outer - circle.radius;
        result.iterations = m.outcome.steps;
        result.converged = true;
    }

    const detail::planar_frame& pl = pr.plane;
    const spanto::point centre =
        pl.origin + (circle.centre.x * pl.a) + (circle.centre.y * pl.b) + (pr.height * pl.normal);
    const spanto::circle element(centre, pl.normal, circle.radius);
    if (element.invalid())
        return detail::fail(result, vantor::status::invalid_result,
                            "the fitted circle is not valid");
    result.element = element;
    // Radial distances from the axis, as roundness measures them; for a minimax circle the
    // points at the distances of its boundary are its contacts.
    const spanto::line axis = element.axisline();
    const double radius = element.radius;
    const auto radial = [&axis, radius](const spanto::point& p) {
        return axis.distance(p) - radius;
    };
    const double tolerance = 1e-12 * std::max(pr.extent, radius);
    const double sum =
        minimax ? detail::measure(points, radial, false, result, {inner, outer}, tolerance)
                : detail::measure(points, radial, false, result);
    double u[7] = {};
    result.has_uncertainty = !minimax && circle_uncertainties(pr, jtj, sum, centre, tilt, u);
    detail::add_parameter(result, "centre", element.centre, u);
    detail::add_parameter(result, "normal", element.normal, u + 3);
    detail::add_parameter(result, "radius", element.radius, u[6]);
    return detail::checked(result);
}

}  // namespace

fit_result<spanto::circle> fit_circle(const actual& points, criterion c,
                                      const fit_options& options) {
    fit_result<spanto::circle> result;
    result.criterion = c;
    std::string reason = detail::criterion_refusal(c, element_kind::circle);
    if (reason.empty()) reason = fit_options_refusal(options);
    if (!reason.empty()) return detail::fail(result, vantor::status::refused, reason);
    if (options.reject_beyond > 0.0) {
        const auto fit = [](const actual& kept, criterion k, const fit_options& o) {
            return fit_circle(kept, k, o);
        };
        return detail::fit_rejecting<spanto::circle>(points, c, options, fit);
    }
    detail::scatter3 s;
    const detail::failure why = detail::scatter_for_fit(points, element_kind::circle, result, s);
    if (!why.empty()) return detail::fail(result, why);
    const detail::principal_axes axes = detail::principal_axes_of(s);
    if (detail::negligible_spread(s, axes, 1))
        return detail::fail(result, vantor::status::degenerate,
                            "the points lie on one line: they determine no circle");
    const plane_tilt tilt{detail::as_vector(axes.axis[1]), detail::as_vector(axes.axis[2]),
                          axes.sum_of_squares[1], axes.sum_of_squares[2]};
    const spanto::vector normal = detail::oriented(detail::as_vector(axes.axis[0]));
    return circle_along(points, normal, c, &tilt, options);
}

fit_result<spanto::circle> fit_circle(const actual& points, const spanto::vector& direction,
                                      criterion c, const fit_options& options) {
    fit_result<spanto::circle> result;
    result.criterion = c;
    std::string reason = detail::criterion_refusal(c, element_kind::circle);
    if (reason.empty()) reason = fit_options_refusal(options);
    if (!reason.empty()) return detail::fail(result, vantor::status::refused, reason);
    if (options.reject_beyond > 0.0) {
        const auto fit = [&direction](const actual& kept, criterion k, const fit_options& o) {
            return fit_circle(kept, direction, k, o);
        };
        return detail::fit_rejecting<spanto::circle>(points, c, options, fit);
    }
    const spanto::vector normal = direction.unit();
    if (normal.invalid())
        return detail::fail(result, vantor::status::refused, "the direction is zero or not finite");
    return circle_along(points, normal, c, nullptr, options);
}

}  // namespace vantor
