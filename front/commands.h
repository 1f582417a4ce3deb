// SPDX-License-Identifier: Apache-2.0
// The subcommands: each takes what the command line gave, already checked and converted, and
// returns its report. A report about a point file begins with the file, its number of points,
// the NaN rows skipped (when any) and the unit of its coordinates (when the file states one: see
// point_file::unit); every length it gives is in that unit.
#ifndef VANTOR_FRONT_COMMANDS_H
#define VANTOR_FRONT_COMMANDS_H

#include <array>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include <spanto/spanto.h>
#include <vantor/fit.h>
#include <vantor/roundness_analysis.h>
#include <vantor/sections.h>

#include "criteria.h"
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

// --plot OUT.svg and whether it may replace an existing file.
struct plot_request {
    std::string path;
    bool force = false;
};

// Count, bounding box, centroid; for an element file its creation date and time.
report info(const point_file& in);

// The circles fitted to the points under the given criteria (vantor::fit_circle): about an axis
// along `direction`, or without one in the least-squares plane of the points, whose normal the
// report gives as the direction. A fit that fails is reported as {"valid": false, "error":
// reason} (failed_fits() lists them); throws error with the first failure when every fit fails.
report circle(const point_file& in, const std::optional<spanto::vector>& direction,
              const std::vector<vantor::criterion>& criteria);

// The fits of `element` under the given criteria, `direction` for a circle (see fit_element):
// {"file", "points", "element", "fits": {criterion: fit_json, ...}}. A failed fit is reported
// as fit_json reports it; failed_fits() lists the failures.
report fit(const point_file& in, element_kind element,
           const std::vector<vantor::criterion>& criteria,
           const std::optional<spanto::vector>& direction,
           const vantor::fit_options& options = vantor::fit_options());

// The failed fits of a fit or circle report, one message each: "<file>: <reference>: <reason>".
std::vector<std::string> failed_fits(const report& r);

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

// The roundness analysis options: the analysis runs when any of filter, reference, harmonics
// and spectrum is given; `fit` (--time-budget) steers the circles fitted to the points without
// the analysis.
struct roundness_options {
    std::optional<double> filter;  // --filter: the Gaussian filter's cutoff in UPR; 0: none
    std::optional<vantor::criterion> reference;       // --reference
    std::optional<int> harmonics;                     // --harmonics K
    std::optional<plot_request> spectrum;             // --spectrum OUT.svg
    vantor::fit_options fit;                          // --time-budget
    std::optional<vantor::section_request> sections;  // --sections
    bool analysed() const { return filter || reference || harmonics || spectrum; }
};

// Roundness about a given circle, about a given line as axis, or about the axis of the reference
// circle of default_reference fitted along a direction under options.fit (without one: in the
// least-squares plane of the points; "direction_from" says which, and "proof" gives the fit's),
// see form_about_reference. With a plot request, also draws the roundness plot about the same
// circle (for a line: the circle about it halfway between the nearest and farthest point) with
// the four reference circles, and reports the file, the magnification and, under a circle's
// abbreviation, its note: about a given datum the existing circle fit (vantor::substitute) fits
// them, and an inscribed or circumscribed circle of an open profile is noted "open profile: not
// the exact optimum" (vantor::closed_profile); about a fitted circle they are the fitting
// interface's, along the same direction under the same options, and one it cannot fit is noted
// "not determined: <reason>" and left out of the chart. A plot or spectrum file that cannot be
// prepared (it exists, without force) is not written and its message goes to outcome::refused.
//
// With the analysis options, the profile is analysed by vantor::roundness_analysis about the
// given circle's axis, the given line, or without them about the axis of the least-squares
// circle fitted along the direction (its own centre, whatever the reference: see datum_axis in
// commands.cpp): the value is RONt (with RONp, RONv, RONq) of the profile, filtered at the
// cutoff when one is given, about the reference circle of the criterion fitted to it; without a
// criterion, about the given circle, about the circle on the given line with the profile's mean
// radius, or about the circle of default_reference. Without a datum and unfiltered, that circle
// is the one fitted to the points along the same direction (the same points in the same plane),
// so the value is the one without the analysis options, up to rounding. With a criterion and a
// given circle or line, the eccentricity of the reference centre from that axis is reported. The
// plot then draws the analysed (filtered) profile with the analysis' four circles, and the spectrum
// chart the harmonics' amplitudes.
//
// Profiles: the points are split along the axis (vantor::split_sections: the given circle's axis,
// the given line, the axis along the direction through the centre of the least-squares circle
// fitted along it, or without a datum the points' own axis). Without `options.sections` they
// must be one profile (spread along the axis by no more than vantor::profile_spread_fraction of
// the radius), else the command throws error naming --sections. With it, each section must be
// one profile and is reported as above, without plot or spectrum, in "sections" (its number from
// 1, height, points, roundness, then the rest of its report), followed by the largest value as
// "value", its "largest_section" and the verdict about it.
using roundness_datum = std::variant<std::monostate, spanto::circle, spanto::line, spanto::vector>;
outcome roundness(const point_file& in, const roundness_datum& datum, const tolerance& tol,
                  const std::optional<plot_request>& plot, const roundness_options& options = {});

// The kinds of point file convert writes.
enum class output_kind { text, element, ply };

// The format convert writes to `out`: `to` when given; otherwise text for "-" (standard output)
// and for the extensions .txt, .csv and .xyz, PLY for .ply (in any case), an element file for any
// other name but those of formats it only reads (.stl, .pcd, .obj), which throw error.
output_kind output_format(const std::string& out, const std::optional<output_kind>& to);

// Writes the points of `in` to `out` in output_format(out, to): text (numbers that read back
// to the same doubles), binary PLY (write_ply_points) or an element file. Text and PLY leave out
// the points with a coordinate that is not finite and report their number as points_left_out. "-"
// as `out` prints the text on standard output and returns only points_left_out, if any (else null);
// an element file cannot go there. Never replaces an existing file unless `force`. `input` chooses
// the columns of a text file read.
report convert(const std::string& in, const vantor::read_options& input, const std::string& out,
               const std::optional<output_kind>& to, bool force);

// straightness / flatness --cutoff L: the form of the profile filtered by the Gaussian filter of
// cutoff wavelength L (coordinate units; vantor/filtered_form.h), about the least-squares line
// or plane of the filtered points (the datum): the value is STRt or FLTt, with the four
// parameters, the median spacing and, below 7 points per cutoff, a "warning". Throws error when
// the evaluation fails.
outcome filtered_straightness(const point_file& in, double cutoff, const tolerance& tol);
outcome filtered_flatness(const point_file& in, double cutoff, const tolerance& tol);

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_COMMANDS_H
