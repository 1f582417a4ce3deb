// SPDX-License-Identifier: Apache-2.0
#include "numeric/uncertainty.h"

#include <cmath>

#include <Eigen/QR>

namespace vantor {
namespace detail {

bool unit_uncertainties(const double* jtj, int size, const double* g, int rows, double* u) {
    using matrix = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
    const Eigen::Map<const matrix> a(jtj, size, size);
    const Eigen::Map<const matrix> derivatives(g, rows, size);
    Eigen::VectorXd scale(size);
    for (int i = 0; i < size; ++i) {
        if (!(a(i, i) > 0.0)) return false;
        scale(i) = 1.0 / std::sqrt(a(i, i));
    }
    // With A = D S D, D = diag(scale)^-1: g A^-1 g^T = (g diag(scale)) S^-1 (g diag(scale))^T.
    const matrix scaled = scale.asDiagonal() * a * scale.asDiagonal();
    const Eigen::ColPivHouseholderQR<matrix> qr(scaled);
    if (!qr.isInvertible()) return false;
    const matrix gs = derivatives * scale.asDiagonal();
    const matrix x = qr.solve(gs.transpose());
    for (int k = 0; k < rows; ++k) {
        const double variance = gs.row(k).dot(x.col(k));
        if (!std::isfinite(variance)) return false;
        u[k] = std::sqrt(std::max(0.0, variance));
    }
    return true;
}

}  // namespace detail
}  // namespace vantor
