// SPDX-License-Identifier: Apache-2.0
// The form commands but roundness: flatness, straightness, sphericity, cylindricity and
// conicity, and the filtered straightness and flatness.
#ifndef VANTOR_FRONT_FORM_COMMANDS_H
#define VANTOR_FRONT_FORM_COMMANDS_H

#include <optional>
#include <variant>

#include <spanto/spanto.h>
#include <vantor/fit.h>

#include "command_report.h"
#include "point_file.h"
#include "reference.h"

namespace vantor::cli {

// The form commands. Each evaluates the library's form feature against the datum given, stores
// the tolerance in the feature and reports the value, the extremes the evaluation keeps, the
// datum measured against (the feature's own datum when the evaluation sets one, the given one
// otherwise) and the verdict. Without a datum (std::monostate, std::nullopt) the value is
// measured about the reference element of criterion `reference` fitted to the points
// (form_about_reference, under `options`; the element must have the criterion, see elements()),
// which the report names ("reference": "minimum-zone plane") and gives as the datum, with the
// fit's proof for a minimax reference ("proof": proof_json); `reference` and `options` are not
// used with a datum. Every report, roundness's too, adds "outliers" and a "warning"
// (add_outliers) when points stand far outside the rest of them about its datum, fitted or given
// (vantor::outliers_about), or, for the roundness analysis, about its least-squares circle
// (roundness_analysis::outliers); sectioned roundness gives each section's and their sum. Throws
// error when the evaluation or the fit fails.
outcome flatness(const point_file& in,
                 const std::variant<std::monostate, spanto::plane, spanto::vector>& datum,
                 const tolerance& tol, vantor::criterion reference = default_reference,
                 const vantor::fit_options& options = {});
outcome straightness(const point_file& in, const std::optional<spanto::line>& line,
                     const tolerance& tol, vantor::criterion reference = default_reference,
                     const vantor::fit_options& options = {});
outcome sphericity(const point_file& in,
                   const std::variant<std::monostate, spanto::sphere, spanto::point>& datum,
                   const tolerance& tol, vantor::criterion reference = default_reference,
                   const vantor::fit_options& options = {});
outcome cylindricity(const point_file& in, const std::optional<spanto::cylinder>& cylinder,
                     const tolerance& tol, vantor::criterion reference = default_reference,
                     const vantor::fit_options& options = {});
outcome conicity(const point_file& in,
                 const std::variant<std::monostate, spanto::cone, spanto::axis>& datum,
                 const tolerance& tol, vantor::criterion reference = default_reference,
                 const vantor::fit_options& options = {});

// straightness / flatness --cutoff L: the form of the profile filtered by the Gaussian filter of
// cutoff wavelength L (coordinate units; vantor/filtered_form.h), about the least-squares line
// or plane of the filtered points (the datum): the value is STRt or FLTt, with the four
// parameters, the median spacing and, below 7 points per cutoff, a "warning". Throws error when
// the evaluation fails.
outcome filtered_straightness(const point_file& in, double cutoff, const tolerance& tol);
outcome filtered_flatness(const point_file& in, double cutoff, const tolerance& tol);

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_FORM_COMMANDS_H
