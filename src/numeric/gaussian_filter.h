// SPDX-License-Identifier: Apache-2.0
// Gaussian filters for open profiles and for scattered areal data, with the cutoff wavelength
// lambda_c in the units of the positions.
//
// Weights. A sample at the distance d from the position filtered weighs
// exp(-pi (d / (alpha lambda_c))^2), alpha = sqrt(ln 2 / pi): the Gaussian weighting function
// whose mean line passes a sine of wavelength lambda with the amplitude transmission
// exp(-pi (alpha lambda_c / lambda)^2), one half at lambda_c. Samples further than lambda_c
// are left out: their weight is below 6.5e-7 of the peak, and the profile weight they carry
// below 1.5e-7 (areal: 6.5e-7), which is what the transmission can move by.
//
// Method. The filtered value at each sample is the value at that sample of the straight line
// (areal: the plane) fitted by weighted least squares to the samples within lambda_c: a
// Gaussian regression filter of degree 1. Where the samples lie symmetrically about the
// position (inside an evenly spaced profile) the slope drops out and this is the normalised
// Gaussian weighted mean, with the transmission above. Near the ends, and wherever the spacing
// is uneven, the weights are taken at the actual positions and the fitted slope corrects the
// one-sided window, so that a linear trend passes unchanged up to the ends instead of bending
// there (a one-sided weighted mean would pull an end in by about 0.15 lambda_c times the
// slope). A neighbourhood whose positions have no spread (an rms spread below 1e-9 lambda_c:
// one sample, or repeated positions) gives the weighted mean; an areal neighbourhood whose
// positions lie nearly on one line (the smaller principal spread below 1e-6 of the larger) fits a
// line along that direction.
//
// Cost. The profile filter sorts the positions and slides the window: O(N log N + N k), k the
// samples within lambda_c. The areal filter sorts the points into square cells of side
// lambda_c and looks for neighbours in the 3 x 3 cells about each point: O(N log N + N k).
#ifndef VANTOR_NUMERIC_GAUSSIAN_FILTER_H
#define VANTOR_NUMERIC_GAUSSIAN_FILTER_H

#include <vector>

#include "numeric/planar.h"

namespace vantor {
namespace detail {

// alpha = sqrt(ln 2 / pi).
constexpr double gaussian_alpha = 0.46971863934982566;

// The amplitude transmission of a sine of wavelength `wavelength` through the filter of cutoff
// `cutoff`: exp(-pi (alpha cutoff / wavelength)^2).
double open_gaussian_transmission(double wavelength, double cutoff);

struct filtered_values {
    std::vector<double> values;  // in the order of the input
    // Open profile: the median spacing of neighbouring sorted positions. Areal: the median
    // distance of a point from its nearest neighbour (a neighbour further than the cutoff
    // counts as the cutoff). 0 for fewer than 2 samples.
    double median_spacing = 0.0;
};

// Filters the profile z(x) (positions in any order; equal sizes; finite values) with cutoff
// `cutoff` > 0.
filtered_values filter_open_profile(const std::vector<double>& x, const std::vector<double>& z,
                                    double cutoff);

// Filters the heights z at the points xy of a plane (equal sizes; finite values) with cutoff
// `cutoff` > 0. The extent of the points must not exceed 1e12 cutoffs (the cell indices).
filtered_values filter_areal(const std::vector<point2>& xy, const std::vector<double>& z,
                             double cutoff);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_GAUSSIAN_FILTER_H
