// SPDX-License-Identifier: Apache-2.0
// The roundness command: about a datum or a fitted circle, analysed (filter, reference circle,
// harmonics), in sections along the axis, with its roundness plot and spectrum chart.
#ifndef VANTOR_FRONT_ROUNDNESS_COMMAND_H
#define VANTOR_FRONT_ROUNDNESS_COMMAND_H

#include <optional>
#include <string>
#include <variant>

#include <spanto/spanto.h>
#include <vantor/fit.h>
#include <vantor/roundness_analysis.h>
#include <vantor/sections.h>

#include "command_report.h"
#include "point_file.h"

namespace vantor::cli {

// --plot OUT.svg and whether it may replace an existing file.
struct plot_request {
    std::string path;
    bool force = false;
};

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
// roundness_command.cpp): the value is RONt (with RONp, RONv, RONq) of the profile, filtered at the
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

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_ROUNDNESS_COMMAND_H
