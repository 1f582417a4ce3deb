// SPDX-License-Identifier: Apache-2.0
// Closed profiles: one revolution of samples, for example radii at angles about an axis.
//
// An equally spaced profile has N samples x_n at the angles start + 2 pi n / N. Its discrete
// Fourier transform (numeric/fourier.h) gives the harmonics directly, and the Gaussian profile
// filter for closed profiles multiplies each harmonic by its transmission, so the profile wraps
// around without end effects.
#ifndef VANTOR_NUMERIC_CLOSED_PROFILE_H
#define VANTOR_NUMERIC_CLOSED_PROFILE_H

#include <complex>
#include <cstddef>
#include <vector>

namespace vantor {
namespace detail {

// The transmission of `upr` undulations per revolution through the Gaussian filter of cutoff
// `cutoff` UPR (cutoff > 0): exp(-ln 2 (upr / cutoff)^2), one half at the cutoff.
double gaussian_transmission(double upr, double cutoff);

// Filters a profile in the frequency domain: multiplies X_k (k = 0 .. N/2, the coefficients of
// numeric/fourier.h's real_dft) by the transmission of harmonic k.
void apply_gaussian_filter(std::vector<std::complex<double>>& coefficients, double cutoff);

// A harmonic component amplitude * cos(k theta + phase).
struct sinusoid {
    double amplitude;  // half its peak-to-valley height
    double phase;      // radians, -pi to pi
};

// Harmonic k (1 <= k <= N/2) of an equally spaced profile of N samples starting at the angle
// `start` (radians), from its coefficient X_k. The amplitude is 2 |X_k| / N, except for the
// highest harmonic of an even N, k = N/2, which the samples show only as
// |X_k| / N * cos(k theta + 0 or pi).
sinusoid harmonic_of(std::complex<double> coefficient, std::size_t n, std::size_t k, double start);

// How close sorted angles come to equal spacing.
struct equal_grid {
    double start;      // of the grid start + 2 pi n / N nearest the angles
    double deviation;  // the largest |angle_n - (start + 2 pi n / N)|
};

// The equally spaced grid nearest `angles` (sorted increasing, within one revolution) in the
// largest deviation. Empty angles give start and deviation 0.
equal_grid nearest_equal_grid(const std::vector<double>& angles);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_CLOSED_PROFILE_H
