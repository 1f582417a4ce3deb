#include "fit/fit_report.h"

#include <cmath>

namespace vantor {

const char* criterion_name(criterion c) {
    switch (c) {
        case criterion::gauss:
            return "gauss";
        case criterion::zone:
            return "zone";
        case criterion::inscribed:
            return "inscribed";
        case criterion::circumscribed:
            return "circumscribed";
    }
    return nullptr;
}

bool criterion_named(const char* name, criterion& c) {
    if (name == nullptr) return false;
    for (criterion candidate :
         {criterion::gauss, criterion::zone, criterion::inscribed, criterion::circumscribed}) {
        if (std::string(name) == criterion_name(candidate)) {
            c = candidate;
            return true;
        }
    }
    return false;
}

namespace detail {

std::string criterion_refusal(criterion c, const char* element, criteria available) {
    if (criterion_name(c) == nullptr)
        return "unknown criterion " + std::to_string(static_cast<int>(c));
    const bool one_sided = c == criterion::inscribed || c == criterion::circumscribed;
    if (one_sided && available == criteria::gauss_and_zone)
        return std::string("criterion ") + criterion_name(c) + " is not defined for " + element;
    return std::string();
}

std::string too_few_points(const char* element, int needed, std::size_t valid) {
    return std::string("too few points: ") + element + " needs at least " + std::to_string(needed) +
           " valid points, the set has " + std::to_string(valid);
}

std::string status_reason(fit_status status, const char* element) {
    switch (status) {
        case fit_status::ok:
            return "";
        case fit_status::not_converged:
            return std::string("the fit of ") + element + " did not converge";
        case fit_status::undetermined:
            return std::string("the points do not determine ") + element +
                   " (its least-squares problem is singular)";
        case fit_status::no_start:
            return std::string("no start for ") + element + " could be found from the points";
        case fit_status::apex_inside:
            return "the apex of the fitted cone lies among the points";
        case fit_status::cylindrical:
            return "the points lie on a cylinder: the fitted cone's half angle is 0 and it has no "
                   "apex";
    }
    return "unknown failure";
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

}  // namespace detail
}  // namespace vantor
