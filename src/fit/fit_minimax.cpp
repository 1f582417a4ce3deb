// SPDX-License-Identifier: Apache-2.0
#include "fit/fit_minimax.h"

#include <algorithm>
#include <cmath>

#include "numeric/planar.h"

namespace vantor::detail {

minimax_sides sides_of(criterion c) {
    return c == criterion::circumscribed ? minimax_sides::outer
           : c == criterion::inscribed   ? minimax_sides::inner
                                         : minimax_sides::both;
}

failure minimax_failure(minimax_status status, criterion c, const char* element,
                        const char* enclosed) {
    const std::string fit = std::string("the ") + criterion_name(c) + " " + element;
    switch (status) {
        case minimax_status::ok:
            return {};
        case minimax_status::not_converged:
            return {vantor::status::not_converged, fit + " did not converge"};
        case minimax_status::unbounded:
            if (c != criterion::inscribed) {
                return {vantor::status::not_determined,
                        fit +
                            " is not determined: it flattens without bound, the points lying "
                            "nearer a plane"};
            }
            return {vantor::status::not_determined, std::string("the points do not surround ") +
                                                        enclosed + ": the maximum inscribed " +
                                                        element + " is not determined"};
        case minimax_status::not_certified:
            return {vantor::status::not_converged, fit + " did not reach a certified optimum"};
    }
    return {vantor::status::invalid_result, "unknown failure"};
}

double surface_level(criterion c, const minimax_report& solution) {
    switch (c) {
        case criterion::inscribed:
            return solution.low;
        case criterion::circumscribed:
            return solution.high;
        default:
            return solution.low + 0.5 * (solution.high - solution.low);
    }
}

std::vector<double> contact_distances(criterion c, const minimax_report& solution) {
    if (c != criterion::zone) return {0.0};
    const double half = 0.5 * (solution.high - solution.low);
    return {-half, half};
}

void take_progress(fit_report& report, const minimax_report& solution) {
    report.iterations = solution.steps;
    report.converged = solution.status == minimax_status::ok;
}

double contact_tolerance(const scatter3& s, const minimax_report& solution) {
    return std::max(solution.contact_tolerance, 1e-12 * s.magnitude);
}

void take_proof(fit_report& report, criterion c, double objective, double lower, double extent,
                bool diameter) {
    // The report's objective and bound in the criterion's own terms: a width or a radius.
    const double sign = c == criterion::inscribed ? -1.0 : 1.0;
    const double factor = diameter ? 2.0 : 1.0;
    report.objective = factor * sign * objective;
    report.bound = factor * sign * lower;
    if (!std::isfinite(report.bound))
        report.bound = c == criterion::inscribed ? report.objective : 0.0;
    if (c != criterion::inscribed)
        report.bound = std::min(std::max(report.bound, 0.0), report.objective);
    else
        report.bound = std::max(report.bound, report.objective);
    report.gap = std::abs(report.objective - report.bound);
    report.proof_tolerance = factor * proof_tolerance(std::abs(objective), extent);
    report.proved = report.gap <= report.proof_tolerance;
    report.status = report.proved ? vantor::status::ok : vantor::status::not_proved;
}

std::vector<frame3> direction_charts(const frame3& around, double tilt, double& tan_half) {
    if (tilt < 0.25 * pi) {
        tan_half = std::tan(tilt);
        return {around};
    }
    // Every unit vector has a largest component of at least 1/sqrt(3) in the frame, and its
    // other components are at most that large: it lies within tan 1 of the axis along it.
    tan_half = 1.0;
    return {around, frame_about(around.x), frame_about(around.y)};
}

std::vector<cylinder_state> axis_charts(const frame3& around, double tilt, const point3& origin,
                                        double& tan_half) {
    std::vector<cylinder_state> charts;
    for (const frame3& f : direction_charts(around, tilt, tan_half))
        charts.push_back({f, origin, 0.0});
    return charts;
}

double position_reach(criterion c, double radius, double extent) {
    const double reach = std::abs(radius) / extent;
    return c == criterion::circumscribed ? reach : std::min(1.0, 0.5 * reach);
}

bound_limits proof_limits(const fit_options& options) {
    const double seconds = std::clamp(options.time_budget, 0.0, 3600.0);
    bound_limits limits;
    limits.work = 3e7 * seconds;
    limits.deadline = std::chrono::steady_clock::now() +
                      std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                          std::chrono::duration<double>(30.0 * seconds));
    return limits;
}

}  // namespace vantor::detail
