// SPDX-License-Identifier: Apache-2.0
#include "numeric/kasa_circle.h"

#include <cmath>

#include <Eigen/Eigenvalues>

namespace vantor {
namespace detail {

std::optional<circle2> kasa_circle(const circle_moments& m) {
    if (m.count < 3) return std::nullopt;
    const double n = static_cast<double>(m.count);
    const double mx = m.x / n, my = m.y / n, mz = m.z / n;
    // Covariances about the means; the residual z - 2 a x - 2 b y - k has its least squares
    // where the covariance matrix of (x, y) times (2a, 2b) equals the covariance of (x, y) and z.
    Eigen::Matrix2d c;
    c << m.xx / n - mx * mx, m.xy / n - mx * my, m.xy / n - mx * my, m.yy / n - my * my;
    const Eigen::SelfAdjointEigenSolver<Eigen::Matrix2d> spread(c);
    if (!(spread.eigenvalues()(0) > 1e-14 * spread.eigenvalues()(1))) return std::nullopt;
    const Eigen::Vector2d rhs(m.xz / n - mx * mz, m.yz / n - my * mz);
    const Eigen::Vector2d twice = spread.eigenvectors() *
                                  spread.eigenvalues().cwiseInverse().asDiagonal() *
                                  spread.eigenvectors().transpose() * rhs;
    const point2 centre{0.5 * twice(0), 0.5 * twice(1)};
    const double k = mz - twice(0) * mx - twice(1) * my;
    const double squared = k + centre.x * centre.x + centre.y * centre.y;
    if (!(squared > 0.0) || !std::isfinite(squared)) return std::nullopt;
    return circle2{centre, std::sqrt(squared)};
}

}  // namespace detail
}  // namespace vantor
