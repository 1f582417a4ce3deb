// SPDX-License-Identifier: Apache-2.0
// vantor/filtered_form.h: straightness and flatness of filtered profiles, with the parameters
// STRt, STRp, STRv, STRq (ISO 12780) and FLTt, FLTp, FLTv, FLTq (ISO 12781).
//
// The filter. A Gaussian filter with the cutoff wavelength lambda_c (in the units of the
// coordinates) keeps the mean line (low-pass): a sine of wavelength lambda passes with the
// amplitude transmission exp(-ln 2 (lambda_c / lambda)^2): one half at lambda_c, 99.3 % at
// 10 lambda_c, 1e-30 at lambda_c / 10. The filtered value at each point is the value there of
// the straight line (flatness: the plane) fitted by least squares with the Gaussian weights to
// the points within lambda_c of it, the weights taken at the points' actual positions. Where
// the points lie evenly about a position this is the Gaussian weighted mean; at the ends of a
// profile (the edges of a face) and at uneven spacing the fitted slope corrects the one-sided
// window, so a straight, tilted profile or a tilted plane passes unchanged up to its ends. On a
// face the weights go by the distance within the plane, and the neighbours are found in square
// cells of side lambda_c: the cost is O(N) per point within lambda_c, after sorting.
//
// Straightness. The reference is the least-squares line of the points. The profile is each
// point's offset from it as a function of its position along the line, in two components: along
// the direction across the line in which the offsets spread most (a profile measured within a
// plane deviates in that plane only), and across both. Each component is filtered; the filtered
// points get their own least-squares line, and the parameters are those of the signed deviation
// of the filtered points from it along the first component.
//
// Flatness. The reference is the least-squares plane; the profile is each point's height above
// it at its position in the plane. The filtered heights get their own least-squares plane, and
// the parameters are those of the signed distances of the filtered points from it.
//
// Signs. The direction of a positive deviation (straightness) or the normal (flatness) is
// taken with its largest component positive (x before y before z on ties).
//
// Sparse sampling. The filter needs at least 7 points per cutoff wavelength: when the median
// spacing of neighbouring positions along the line (flatness: the median distance of a point
// from its nearest neighbour; a square grid with fewer than 49 points per lambda_c^2) exceeds
// lambda_c / 7 (by more than a relative 1e-9, the rounding of the coordinates), the result
// carries a warning; its numbers are still computed.
//
// Invalid points (NaN coordinates) are left out. The evaluation fails (error() set, the
// parameters NaN) for a cutoff that is not a positive finite number, an infinite coordinate,
// fewer than 2 points or coinciding points (straightness), fewer than 3 points or points on one
// line (flatness), or a face more than 1e12 cutoffs wide.
#ifndef VANTOR_FILTERED_FORM_H
#define VANTOR_FILTERED_FORM_H

#include <string>
#include <vector>

#include <spanto/spanto.h>

#include "vantor/actual.h"
#include "vantor/export.h"
#include "vantor/fit.h"

namespace vantor {

// Points per cutoff wavelength below which the sampling is too sparse for the filter.
constexpr double filter_points_per_cutoff = 7.0;

struct filtered_profile {
    double cutoff = 0.0;
    std::string error;  // why the evaluation failed; empty on success
    // ok, or the kind of failure: refused (the cutoff, or a face too wide for it),
    // invalid_points, too_few_points, degenerate (points that coincide or lie on one line).
    vantor::status status = vantor::status::ok;
    std::string warning;  // the sampling too sparse for the cutoff; empty otherwise
    // See above: the median spacing compared with cutoff / filter_points_per_cutoff.
    double median_spacing = 0.0;
    // The signed deviation of each filtered point from the reference, in the order of the
    // valid points.
    std::vector<double> deviations;
    double t = 0.0;  // peak to valley: p + v
    double p = 0.0;  // the largest deviation
    double v = 0.0;  // minus the smallest deviation
    double q = 0.0;  // the root mean square of the deviations
    // The measured points (not filtered: a filter spreads a spike rather than removing it) that
    // stand far outside the rest about the filtered points' reference, by the rule of
    // fit_report::outliers (outliers_about).
    int outliers = 0;

    bool valid() const { return error.empty(); }
};

struct filtered_straightness : filtered_profile {
    spanto::line line;         // the least-squares line of the filtered points
    spanto::vector direction;  // unit, across the line: the sense of a positive deviation
    double across = 0.0;       // peak to valley of the filtered profile across `direction`
};

struct filtered_flatness : filtered_profile {
    spanto::plane plane;  // the least-squares plane of the filtered points
};

VANTOR_EXPORT filtered_straightness filter_straightness(const actual& points, double cutoff);
VANTOR_EXPORT filtered_flatness filter_flatness(const actual& points, double cutoff);

}  // namespace vantor

#endif  // VANTOR_FILTERED_FORM_H
