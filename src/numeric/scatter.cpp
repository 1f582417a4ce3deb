// SPDX-License-Identifier: Apache-2.0
#include "numeric/scatter.h"

#include <algorithm>
#include <limits>

#include <Eigen/Eigenvalues>

namespace vantor {
namespace detail {

bool scatter3::finite() const {
    bool all = std::isfinite(centroid.x) && std::isfinite(centroid.y) &&
               std::isfinite(centroid.z) && std::isfinite(magnitude);
    for (const auto& row : matrix)
        for (double v : row) all = all && std::isfinite(v);
    return all;
}

scatter3 scatter_from_sums(const double (&sums)[10], const point3& reference) {
    scatter3 s;
    if (!(sums[0] > 0.0)) return s;
    const double n = sums[0];
    const point3 mean{sums[1] / n, sums[2] / n, sums[3] / n};
    const double m[3] = {mean.x, mean.y, mean.z};
    // Products in the order xx, xy, xz, yy, yz, zz.
    const int row[6] = {0, 0, 0, 1, 1, 2}, column[6] = {0, 1, 2, 1, 2, 2};
    for (int k = 0; k < 6; ++k) {
        const int i = row[k], j = column[k];
        s.matrix[i][j] = s.matrix[j][i] = sums[4 + k] - n * m[i] * m[j];
    }
    // Rounding can leave a diagonal entry of a tiny spread below 0.
    for (int i = 0; i < 3; ++i) s.matrix[i][i] = std::max(0.0, s.matrix[i][i]);
    s.count = static_cast<std::size_t>(n);
    s.centroid = reference + mean;
    const double trace = s.matrix[0][0] + s.matrix[1][1] + s.matrix[2][2];
    s.magnitude =
        std::max({std::abs(s.centroid.x), std::abs(s.centroid.y), std::abs(s.centroid.z)}) +
        std::sqrt(trace / n);
    return s;
}

principal_axes principal_axes_of(const scatter3& s) {
    Eigen::Matrix3d m;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m(i, j) = s.matrix[i][j];
    const Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d> solver(m);
    principal_axes axes;
    for (int k = 0; k < 3; ++k) {
        // A scatter matrix is positive semi-definite; rounding may leave a tiny negative value.
        axes.sum_of_squares[k] = std::max(0.0, solver.eigenvalues()(k));
        const Eigen::Vector3d v = solver.eigenvectors().col(k);
        axes.axis[k] = {v(0), v(1), v(2)};
    }
    return axes;
}

double extent_of(const principal_axes& axes, std::size_t count) {
    const double sum = axes.sum_of_squares[0] + axes.sum_of_squares[1] + axes.sum_of_squares[2];
    return std::sqrt(sum / static_cast<double>(count));
}

double extent_of(const std::vector<point3>& centred) {
    double sum = 0.0;
    for (const point3& p : centred) sum += dot(p, p);
    return std::sqrt(sum / static_cast<double>(centred.size()));
}

bool negligible_spread(const scatter3& s, const principal_axes& axes, int k) {
    const double rounding = 64.0 * std::numeric_limits<double>::epsilon() * s.magnitude;
    const double n = static_cast<double>(s.count);
    return axes.sum_of_squares[k] <= 1e-14 * axes.sum_of_squares[2] ||
           axes.sum_of_squares[k] <= rounding * rounding * n;
}

}  // namespace detail
}  // namespace vantor
