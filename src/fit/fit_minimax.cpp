#include "fit/fit_minimax.h"

#include <algorithm>

namespace vantor::detail {

minimax_sides sides_of(criterion c) {
    return c == criterion::circumscribed ? minimax_sides::outer
           : c == criterion::inscribed   ? minimax_sides::inner
                                         : minimax_sides::both;
}

std::string minimax_reason(minimax_status status, criterion c, const char* element,
                           const char* enclosed) {
    const std::string fit = std::string("the ") + criterion_name(c) + " " + element;
    switch (status) {
        case minimax_status::ok:
            return "";
        case minimax_status::not_converged:
            return fit + " did not converge";
        case minimax_status::unbounded:
            if (c != criterion::inscribed) {
                return fit +
                       " is not determined: it flattens without bound, the points lying "
                       "nearer a plane";
            }
            return std::string("the points do not surround ") + enclosed +
                   ": the maximum inscribed " + element + " is not determined";
        case minimax_status::not_certified:
            return fit + " did not reach a certified optimum";
    }
    return "unknown failure";
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

}  // namespace vantor::detail
