// SPDX-License-Identifier: Apache-2.0
#include "numeric/gauss_newton.h"

#include <Eigen/QR>

namespace vantor {
namespace detail {

namespace {

constexpr int largest_size = 8;
using small_matrix = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor,
                                   largest_size, largest_size>;
using small_vector = Eigen::Matrix<double, Eigen::Dynamic, 1, 0, largest_size, 1>;

}  // namespace

bool damped_step(const double* a, const double* g, int size, double damping, double* step) {
    if (size < 1 || size > largest_size) return false;
    small_matrix m(size, size);
    small_vector rhs(size);
    double largest = 0.0;
    for (int i = 0; i < size; ++i) largest = std::max(largest, a[i * size + i]);
    for (int i = 0; i < size; ++i) {
        for (int j = 0; j < size; ++j) m(i, j) = a[i * size + j];
        m(i, i) += damping * std::max(a[i * size + i], 1e-30 * largest);
        rhs(i) = -g[i];
    }
    const Eigen::ColPivHouseholderQR<small_matrix> qr(m);
    if (!qr.isInvertible()) return false;
    const small_vector x = qr.solve(rhs);
    for (int i = 0; i < size; ++i) {
        if (!std::isfinite(x(i))) return false;
        step[i] = x(i);
    }
    return true;
}

}  // namespace detail
}  // namespace vantor
