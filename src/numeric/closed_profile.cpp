// SPDX-License-Identifier: Apache-2.0
#include "numeric/closed_profile.h"

#include <algorithm>
#include <cmath>

#include "numeric/planar.h"

namespace vantor {
namespace detail {

double gaussian_transmission(double upr, double cutoff) {
    const double ratio = upr / cutoff;
    return std::exp(-std::log(2.0) * ratio * ratio);
}

void apply_gaussian_filter(std::vector<std::complex<double>>& coefficients, double cutoff) {
    for (std::size_t k = 0; k < coefficients.size(); ++k) {
        coefficients[k] *= gaussian_transmission(static_cast<double>(k), cutoff);
    }
}

sinusoid harmonic_of(std::complex<double> coefficient, std::size_t n, std::size_t k, double start) {
    // Samples a cos(k (start + 2 pi m / n) + phase) give X_k = n a / 2 exp(i (k start + phase)).
    const bool nyquist = 2 * k == n;
    const double amplitude = (nyquist ? 1.0 : 2.0) * std::abs(coefficient) / static_cast<double>(n);
    const double phase = std::arg(coefficient) - static_cast<double>(k) * start;
    return {amplitude, std::remainder(phase, 2.0 * pi)};
}

equal_grid nearest_equal_grid(const std::vector<double>& angles) {
    if (angles.empty()) return {0.0, 0.0};
    const double step = 2.0 * pi / static_cast<double>(angles.size());
    double low = angles.front(), high = angles.front();
    for (std::size_t n = 1; n < angles.size(); ++n) {
        const double offset = angles[n] - step * static_cast<double>(n);
        low = std::min(low, offset);
        high = std::max(high, offset);
    }
    // The midrange of the offsets minimises the largest deviation.
    return {(low + high) / 2, (high - low) / 2};
}

}  // namespace detail
}  // namespace vantor
