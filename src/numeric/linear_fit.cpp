// SPDX-License-Identifier: Apache-2.0
#include "numeric/linear_fit.h"

#include <cmath>

namespace vantor {
namespace detail {

namespace {

double component(point3 v, int k) { return k == 0 ? v.x : k == 1 ? v.y : v.z; }

}  // namespace

linear_fit least_squares_line(const scatter3& s, const principal_axes& axes) {
    const double n = static_cast<double>(s.count);
    linear_fit fit{s.centroid, axes.axis[2], {}, {}, 2 * static_cast<int>(s.count), 4};
    // Shifts and tilts across the line, along the other two axes e1 and e2: the variance of
    // coordinate k is (e1_k^2 + e2_k^2) / n for the origin and that over the largest
    // eigenvalue for the direction; e1_k^2 + e2_k^2 = 1 - d_k^2.
    for (int k = 0; k < 3; ++k) {
        const double d = component(fit.direction, k);
        const double across = std::max(0.0, 1.0 - d * d);
        fit.origin_uncertainty[k] = std::sqrt(across / n);
        fit.direction_uncertainty[k] = std::sqrt(across / axes.sum_of_squares[2]);
    }
    return fit;
}

linear_fit least_squares_plane(const scatter3& s, const principal_axes& axes) {
    const double n = static_cast<double>(s.count);
    linear_fit fit{s.centroid, axes.axis[0], {}, {}, static_cast<int>(s.count), 3};
    // The origin moves along the normal (variance 1 / n); the normal tilts towards the other
    // two axes, with variances 1 over their eigenvalues.
    for (int k = 0; k < 3; ++k) {
        const double n_k = component(fit.direction, k);
        const double e1 = component(axes.axis[1], k), e2 = component(axes.axis[2], k);
        fit.origin_uncertainty[k] = std::abs(n_k) / std::sqrt(n);
        fit.direction_uncertainty[k] =
            std::sqrt(e1 * e1 / axes.sum_of_squares[1] + e2 * e2 / axes.sum_of_squares[2]);
    }
    return fit;
}

}  // namespace detail
}  // namespace vantor
