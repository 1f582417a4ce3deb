// SPDX-License-Identifier: Apache-2.0
// What the commands' reports have in common. A report about a point file begins with the file, its
// number of points, the NaN rows skipped (when any) and the unit of its coordinates (when the file
// states one: see point_file::unit); every length it gives is in that unit. A form report goes on
// with the feature and its value and ends with the verdict about the tolerance given.
#ifndef VANTOR_FRONT_COMMAND_REPORT_H
#define VANTOR_FRONT_COMMAND_REPORT_H

#include <optional>
#include <string>
#include <vector>

#include <spanto/spanto.h>
#include <vantor/actual.h>
#include <vantor/feature.h>
#include <vantor/fit.h>

#include "fits.h"
#include "point_file.h"
#include "reference.h"
#include "report.h"

namespace vantor::cli {

// A tolerance from --nominal, --lower and --upper. Given when `upper` is; nominal and lower are
// then 0 unless given. The value lies within the tolerance when
// nominal + lower <= value <= nominal + upper.
struct tolerance {
    std::optional<double> nominal;
    std::optional<double> lower;
    std::optional<double> upper;
};

// What a form command found: its report and whether the value lies within the tolerance (true
// when none was given); `refused`: the messages of output files it did not write (one that
// exists, without force), which fail the command after its report.
struct outcome {
    report data;
    bool within = true;
    std::vector<std::string> refused;
};

// The file, its number of points, the NaN rows skipped and the unit (see above).
report file_summary(const point_file& in);

// The least-squares centre of the points.
spanto::point centroid(const vantor::actual& points);

// The head of a form report: file_summary, "feature" and "value"; throws error when the
// evaluation failed (invalid or not finite).
report form_report(const point_file& in, const char* name, const vantor::feature& f);

// "min_<what>" and "max_<what>": the extremes an evaluation keeps.
void add_extremes(report& r, const char* what, double low, double high);

// The datum measured against: the feature's own when the evaluation set a valid one.
template <typename Datum, typename Given>
report datum_report(const Datum& own, const Given& given) {
    return own.valid() ? to_report(own) : to_report(given);
}

// The verdict about `value`: {"nominal", "lower", "upper", "within"}, within being
// nominal + lower <= value <= nominal + upper. The program's --nominal, --lower and --upper and
// the Python package's nominal=, lower= and upper= share this rule.
report verdict(double value, double nominal, double lower, double upper);

// Stores the tolerance in the feature and adds its verdict (read back from the feature) as
// "tolerance"; without a tolerance the outcome is within and the report unchanged.
outcome with_verdict(report r, vantor::feature& f, const tolerance& tol);

// Where the direction of a fitted circle's axis comes from: "--direction" or "least-squares
// plane".
const char* direction_source(const std::optional<spanto::vector>& direction);

// The form value of `name` about the reference element of criterion c fitted to the points under
// the options (for roundness, along the direction when one is given).
// Throws error naming the file when the fit or the evaluation fails.
reference_form fitted_form(const point_file& in, const char* name, vantor::criterion c,
                           const vantor::fit_options& options,
                           const std::optional<spanto::vector>& direction = std::nullopt);

// The report of a form command without a datum, with the verdict from a feature of the same type
// that carries the value. `direction_from` says where a fitted circle's axis came from.
template <typename Feature>
outcome about_reference(const point_file& in, const char* name, const reference_form& form,
                        const tolerance& tol, const char* direction_from = nullptr) {
    Feature f(form.value);
    report r = form_report(in, name, f);
    add_extremes(r, form.extremes, form.minimum, form.maximum);
    r["reference"] = form.reference;
    if (direction_from != nullptr) r["direction_from"] = direction_from;
    r["datum"] = std::visit([](const auto& e) { return to_report(e); }, form.datum);
    if (form.proof) r["proof"] = proof_json(*form.proof);
    add_outliers(r, form.outliers);
    return with_verdict(std::move(r), f, tol);
}

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_COMMAND_REPORT_H
