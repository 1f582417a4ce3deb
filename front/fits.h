// SPDX-License-Identifier: Apache-2.0
// Reference elements fitted to points as the program and the Python package fit and report
// them: one call that fits any element of the library's table (vantor::elements()), a circle
// along a given direction too, and the JSON of a fit, so that both name and report a fit alike.
#ifndef VANTOR_FRONT_FITS_H
#define VANTOR_FRONT_FITS_H

#include <optional>
#include <string>

#include <spanto/spanto.h>
#include <vantor/actual.h>
#include <vantor/fit.h>

#include "report.h"

namespace vantor::cli {

// The name of a reference element: "least-squares plane", "minimum-zone cylinder" (the
// criterion's adjective, vantor::criteria()). Throws error for a value that names no criterion.
std::string reference_name(vantor::criterion c, const std::string& element);

// A fitted element of any kind with its report (the kind's invalid default when the fit failed).
using fitted = vantor::fit_result<vantor::fitted_element>;

// Fits the element under criterion c to the valid points of the set (vantor::fit). A circle is
// fitted about an axis along `direction` when one is given, otherwise in the least-squares plane
// of the points. A failed fit carries the library's reason in its error. Throws error for a
// direction given with another element than the circle.
fitted fit_element(const vantor::actual& points, element_kind kind, vantor::criterion c,
                   const std::optional<spanto::vector>& direction = std::nullopt,
                   const vantor::fit_options& options = vantor::fit_options());

// The proof of a minimax fit's result (see fit_report::proved): the criterion's value at the
// result, the bound on the best value over the search domain, the gap between the two, the gap
// within which the result counts as proved, and whether it is.
struct fit_proof {
    double objective = 0.0;
    double bound = 0.0;
    double gap = 0.0;
    double tolerance = 0.0;
    bool proved = false;
};

// The proof of a fit; none for least squares, whose report carries none.
std::optional<fit_proof> proof_of(const vantor::fit_report& r);

// {"objective": o, "bound": b, "gap": g, "tolerance": t, "proved": true}, as fit_json and the
// form reports about a fitted element give it.
report proof_json(const fit_proof& p);

// A fit as the program's JSON reports it, and vantor.FitResult.to_dict() in Python:
//   {"valid": true, <parameters>, "deviation": d, "rms": r, "iterations": n,
//    "uncertainty": {<parameters>} or null, "contacts": [indices],
//    "proof": proof_json}
// The parameters are the report's, named and ordered as fit_parameter describes (a point or
// vector as [x, y, z], a scalar as a number); "uncertainty" holds their standard uncertainties
// under the same names, null when the fit gives none (the minimax criteria); "contacts" (the
// indices of the points that decide the result) and "proof" (see fit_report::proved) are there
// for every criterion but gauss. "outliers" (see fit_report::outliers) with a "warning", and
// "rejected" (the indices fit_options::reject_beyond left out), are there when not empty. A
// failed fit is {"valid": false, "error": reason}.
report fit_json(const vantor::fit_report& r);

// The warning of a report about `outliers` points far outside the rest (fit_report::outliers).
std::string outlier_warning(int outliers);
// A report's warning: `first` (empty for none) and then outlier_warning(outliers) when there are
// outliers, joined by "; "; empty when neither.
std::string joined_warning(const std::string& first, int outliers);

// Adds "outliers" and its "warning" to a report when there are any (fit_report::outliers,
// vantor::outliers_about, roundness_analysis::outliers).
void add_outliers(report& r, int outliers);

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_FITS_H
