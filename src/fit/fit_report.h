// SPDX-License-Identifier: Apache-2.0
// Building the reports of the fitting interface: the failure path and its reasons, the
// parameters with their uncertainties.
#ifndef VANTOR_FIT_FIT_REPORT_H
#define VANTOR_FIT_FIT_REPORT_H

#include <string>
#include <vector>

#include "numeric/axis_domain.h"
#include "numeric/fit_status.h"
#include "vantor/fit.h"

namespace vantor::detail {

// A failure's kind and message; none when the message is empty.
struct failure {
    vantor::status code = vantor::status::ok;
    std::string message;
    bool empty() const { return message.empty(); }
};

// Marks the result failed: its kind and reason, an invalid element, no parameters.
template <class Element>
fit_result<Element>& fail(fit_result<Element>& result, vantor::status code, std::string reason) {
    result.status = code;
    result.error = std::move(reason);
    result.element = Element();
    result.parameters.clear();
    result.contacts.clear();
    result.has_uncertainty = false;
    result.converged = false;
    result.objective = result.bound = result.gap = result.proof_tolerance = 0.0;
    result.proved = false;
    return result;
}
template <class Element>
fit_result<Element>& fail(fit_result<Element>& result, failure f) {
    return fail(result, f.code, std::move(f.message));
}

// "a cone": the element as messages name it.
std::string article(element_kind kind);

// Why criterion c is refused for element `kind` (elements()): "criterion inscribed is not
// defined for a cone", or "unknown criterion 9" for a value that names no criterion. Empty when
// c is one of the element's criteria.
std::string criterion_refusal(criterion c, element_kind kind);

// "too few points: a cylinder needs at least 5 valid points, the set has 3".
std::string too_few_points(element_kind kind, std::size_t valid);

// Why the sums over the valid points are not finite: "a point has an infinite coordinate", or
// coordinates_too_large.
std::string not_finite_reason(const actual& points);

// The failure of the numeric core's status, for element `kind`.
failure status_failure(fit_status from, element_kind kind);

// Appends a parameter of three values or of one value, with its standard uncertainties.
void add_parameter(fit_report& report, const char* name, const spanto::point& value,
                   const double* uncertainty);
void add_parameter(fit_report& report, const char* name, const spanto::vector& value,
                   const double* uncertainty);
void add_parameter(fit_report& report, const char* name, double value, double uncertainty);

// True when every parameter value and uncertainty, the deviation and the rms are finite.
bool finite_values(const fit_report& report);

// The result, failed when a value it reports is not finite: a last guard, so that no NaN ever
// passes for a fitted value.
template <class Element>
fit_result<Element>& checked(fit_result<Element>& result) {
    if (result.valid() && !finite_values(result))
        fail(result, vantor::status::invalid_result, "the fit gave a value that is not finite");
    return result;
}

// Scales the standard uncertainties of the parameters from s = 1 to the residual variance of
// the fit, sum_of_squares / (residuals - parameters); without degrees of freedom there is no
// variance, and the report carries no uncertainties.
void scale_uncertainties(fit_report& report, double sum_of_squares, long residuals, int parameters);

// The domain of axis directions the options give: within max_tilt of their axis, or of
// `fallback` (the least-squares axis, unit) when they name none; unrestricted when
// `fallback_too` is false and they name none (a least-squares fit).
axis_domain domain_of(const fit_options& options, const point3& fallback, bool fallback_too);

// The reason an axis along unit `d` is refused by the domain ("the zone cylinder's axis lies
// 23.1 degrees from the given axis, beyond the largest tilt of 15 degrees"); empty when admitted.
std::string outside_domain(const axis_domain& domain, const point3& d, const std::string& what,
                           bool given_axis);

}  // namespace vantor::detail

#endif  // VANTOR_FIT_FIT_REPORT_H
