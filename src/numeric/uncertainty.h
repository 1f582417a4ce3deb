// SPDX-License-Identifier: Apache-2.0
// Standard uncertainties of least-squares results.
//
// At the solution of a least-squares fit the covariance of its parameters is
// s^2 (J^T J)^-1, with J the Jacobian of the residuals and s^2 the residual variance (the sum
// of squares over the residuals less the parameters). A reported value that depends on the
// parameters through the row g of its derivatives then has the variance s^2 g (J^T J)^-1 g^T.
#ifndef VANTOR_NUMERIC_UNCERTAINTY_H
#define VANTOR_NUMERIC_UNCERTAINTY_H

namespace vantor {
namespace detail {

// Writes to u[k] the standard uncertainty, for s = 1, of the value whose derivatives with
// respect to the parameters are the row k of g (rows x size, row-major):
// u[k] = sqrt(g_k (J^T J)^-1 g_k^T), with jtj the size x size matrix J^T J (row-major). The
// matrix is scaled to unit diagonal and factored by a column-pivoted QR; false (u unwritten)
// when it is singular to working precision, that is when the points do not determine the
// parameters.
bool unit_uncertainties(const double* jtj, int size, const double* g, int rows, double* u);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_UNCERTAINTY_H
