// SPDX-License-Identifier: Apache-2.0
// Fits and form values about fitted elements as Python receives them, made by the program's own
// functions (front/fits.h, front/reference.h): a result's to_dict() is the program's JSON, and
// the default reference is the program's.
#ifndef VANTOR_PYTHON_FIT_REPORT_H
#define VANTOR_PYTHON_FIT_REPORT_H

#include <optional>
#include <string>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <vantor/fit.h>

#include "elements.h"
#include "error.h"
#include "failure.h"
#include "report.h"

namespace vantor::python {

// The criterion of a name of criterion_named(); ValueError for another name.
vantor::criterion criterion_of(const std::string& name);

// Runs `work` with the GIL released; the front end's errors become vantor.EvaluationError with
// their status.
template <typename Work>
auto without_gil(const Work& work) {
    const pybind11::gil_scoped_release release;
    try {
        return work();
    } catch (const cli::error& e) {
        throw failure(e.what(), e.code);
    }
}

// A report as Python values: objects as dicts (in their order), arrays as lists, numbers as int
// or float (the same doubles), strings, booleans, and null as None. Needs the GIL.
pybind11::object to_python(const cli::report& r);

// Fits `element` ("line", "plane", "circle", "sphere", "cylinder" or "cone") under `criterion`
// (a name of criterion_name()) to the rows of an (N, 3) array, a circle along `direction` when
// one is given (3 numbers). Rows with a NaN coordinate stay in the point set, which the fit
// leaves them out of, so that contacts index the rows given. Converts and fits with the GIL
// released. Returns the dict vantor._fits.FitResult takes: "kind" and "numbers" (the element,
// elements.h), "points" (the valid points fitted, those `reject_beyond` leaves out not
// counted: fit_options::reject_beyond), "minimum", "maximum", "converged",
// "parameters" (the names of the parameters, in order) and "json" (the fit as the program's
// JSON reports it, cli::fit_json). Throws ValueError for an unknown element or criterion, a
// direction with another element than the circle, bad points, and a failed fit ("<reference>:
// <the library's reason>").
pybind11::dict fit(const pybind11::array& points, const std::string& element,
                   const std::string& criterion, const std::optional<numbers>& direction,
                   const std::optional<numbers>& axis, double max_tilt, double time_budget,
                   double reject_beyond);

// The form value of `feature` of the valid rows (NaN rows left out) about the reference element
// of `criterion` fitted to them (cli::form_about_reference; for roundness along `direction` when
// one is given) under the fit's options as fit() takes them, converted and evaluated with the
// GIL released: (value, minimum, maximum, extremes, datum kind, datum numbers, reference name,
// proof, outliers, warning), the proof a dict as cli::proof_json gives it, None for a
// least-squares reference, the warning cli::outlier_warning's, None without outliers.
// Throws ValueError for an unknown feature or criterion, options the library refuses, bad points
// and a failed fit ("<reference>: <the library's reason>").
pybind11::tuple reference_form(const std::string& feature, const pybind11::array& points,
                               const std::string& criterion,
                               const std::optional<numbers>& direction,
                               const std::optional<numbers>& axis, double max_tilt,
                               double time_budget);

// The library's table of elements (vantor::elements()) as rows (name, form, fewest points,
// (criterion names), ((parameter name, size), ...)), and the criteria's names in order.
pybind11::list elements_table();
pybind11::list criterion_names();

// The warning about `outliers` points far outside the rest (cli::outlier_warning); None for 0.
pybind11::object outlier_warning(int outliers);

}  // namespace vantor::python

#endif  // VANTOR_PYTHON_FIT_REPORT_H
