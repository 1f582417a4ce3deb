// SPDX-License-Identifier: Apache-2.0
#include "fit/fit_report.h"

#include <cmath>
#include <cstdio>

#include "fit/outliers.h"
#include "numeric/planar.h"
#include "numeric/scatter.h"

namespace vantor {

const char* status_name(status s) {
    switch (s) {
        case status::ok:
            return "ok";
        case status::not_proved:
            return "not_proved";
        case status::refused:
            return "refused";
        case status::too_few_points:
            return "too_few_points";
        case status::invalid_points:
            return "invalid_points";
        case status::degenerate:
            return "degenerate";
        case status::not_determined:
            return "not_determined";
        case status::not_converged:
            return "not_converged";
        case status::outside_domain:
            return "outside_domain";
        case status::invalid_result:
            return "invalid_result";
    }
    return "unknown";
}

std::string fit_options_refusal(const fit_options& options) {
    if (!(options.max_tilt > 0.0 && options.max_tilt <= 90.0))
        return "the largest tilt must lie in (0, 90] degrees";
    if (!(options.time_budget > 0.0)) return "the time budget must be a positive number of seconds";
    const spanto::vector& a = options.axis;
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(a.z))
        return "the axis is not finite";
    return detail::rejection_refusal(options.reject_beyond);
}

namespace detail {

std::string rejection_refusal(double k) {
    if (k == 0.0 || (k >= 2.0 && std::isfinite(k))) return "";
    return "the rejection threshold must be 0 (off) or at least 2 standard deviations";
}

std::string article(element_kind kind) { return std::string("a ") + info_of(kind).name; }

std::string criterion_refusal(criterion c, element_kind kind) {
    if (criterion_name(c) == nullptr)
        return "unknown criterion " + std::to_string(static_cast<int>(c));
    if (!info_of(kind).has(c))
        return std::string("criterion ") + criterion_name(c) + " is not defined for " +
               article(kind);
    return std::string();
}

std::string too_few_points(element_kind kind, std::size_t valid) {
    return "too few points: " + article(kind) + " needs at least " +
           std::to_string(info_of(kind).fewest_points) + " valid points, the set has " +
           std::to_string(valid);
}

std::string not_finite_reason(const actual& points) {
    for (const spanto::point& p : points) {
        if (p.valid() && !(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z))) {
            return "a point has an infinite coordinate";
        }
    }
    return coordinates_too_large;
}

failure status_failure(fit_status from, element_kind kind) {
    const std::string element = article(kind);
    using vantor::status;
    switch (from) {
        case fit_status::ok:
            return {};
        case fit_status::not_converged:
            return {status::not_converged, "the fit of " + element + " did not converge"};
        case fit_status::undetermined:
            return {status::not_determined, "the points do not determine " + element +
                                                " (its least-squares problem is singular)"};
        case fit_status::no_start:
            return {status::degenerate,
                    "no start for " + element + " could be found from the points"};
        case fit_status::apex_inside:
            return {status::degenerate, "the apex of the fitted cone lies among the points"};
        case fit_status::cylindrical:
            return {status::degenerate,
                    "the points lie on a cylinder: the fitted cone's half angle is 0 and it has "
                    "no apex"};
        case fit_status::outside_domain:
            return {status::outside_domain,
                    std::string("no least-squares ") + info_of(kind).name +
                        " has its axis within the largest tilt of the given axis"};
    }
    return {status::invalid_result, "unknown failure"};
}

void add_parameter(fit_report& report, const char* name, const spanto::point& value,
                   const double* uncertainty) {
    fit_parameter p;
    p.name = name;
    p.size = 3;
    p.value[0] = value.x;
    p.value[1] = value.y;
    p.value[2] = value.z;
    for (int k = 0; k < 3; ++k) p.uncertainty[k] = uncertainty[k];
    report.parameters.push_back(p);
}

void add_parameter(fit_report& report, const char* name, const spanto::vector& value,
                   const double* uncertainty) {
    add_parameter(report, name, spanto::point(value.x, value.y, value.z), uncertainty);
}

void add_parameter(fit_report& report, const char* name, double value, double uncertainty) {
    fit_parameter p;
    p.name = name;
    p.size = 1;
    p.value[0] = value;
    p.uncertainty[0] = uncertainty;
    report.parameters.push_back(p);
}

bool finite_values(const fit_report& report) {
    if (!std::isfinite(report.deviation) || !std::isfinite(report.rms) ||
        !std::isfinite(report.minimum) || !std::isfinite(report.maximum))
        return false;
    for (const fit_parameter& p : report.parameters) {
        for (int k = 0; k < p.size; ++k) {
            if (!std::isfinite(p.value[k]) || !std::isfinite(p.uncertainty[k])) return false;
        }
    }
    return true;
}

void scale_uncertainties(fit_report& report, double sum_of_squares, long residuals,
                         int parameters) {
    const long freedom = residuals - parameters;
    report.has_uncertainty = freedom > 0;
    const double s = freedom > 0 ? std::sqrt(sum_of_squares / static_cast<double>(freedom)) : 0.0;
    for (fit_parameter& p : report.parameters) {
        for (int k = 0; k < p.size; ++k) p.uncertainty[k] *= s;
    }
}

axis_domain domain_of(const fit_options& options, const point3& fallback, bool fallback_too) {
    axis_domain d;
    const spanto::vector& a = options.axis;
    const point3 given{a.x, a.y, a.z};
    if (norm(given) > 0.0) {
        d.axis = unit(given);
    } else if (fallback_too) {
        d.axis = fallback;
    } else {
        return d;
    }
    d.max_tilt = options.max_tilt * pi / 180.0;
    return d;
}

std::string outside_domain(const axis_domain& domain, const point3& d, const std::string& what,
                           bool given_axis) {
    if (domain.admits(d)) return "";
    char text[160];
    std::snprintf(text, sizeof text,
                  "%s lies %.1f degrees from the %s axis, beyond the largest tilt of %g degrees",
                  what.c_str(), domain.tilt_of(d) * 180.0 / pi,
                  given_axis ? "given" : "least-squares", domain.max_tilt * 180.0 / pi);
    return text;
}

}  // namespace detail
}  // namespace vantor
