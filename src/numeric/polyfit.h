// SPDX-License-Identifier: Apache-2.0
#ifndef VANTOR_NUMERIC_POLYFIT_H
#define VANTOR_NUMERIC_POLYFIT_H

namespace vantor::detail {

// Least-squares polynomial fit: writes to coefficients[k] (k = 0..degree) the coefficient of x^k of
// the polynomial of the given degree that minimises the sum of squared residuals over the count
// samples (x[j], y[j]).
//
// The normal equations are built from power sums and solved by Gaussian elimination with partial
// pivoting, where a tie in a pivot column keeps the upper row. A singular system (for example
// repeated abscissae) is not detected: the coefficients then come out non-finite or arbitrary.
// With count <= degree the fit has degree count - 1 and the higher coefficients are 0; without
// samples (count <= 0) all coefficients are 0. degree must lie in 0..24 (not checked).
//
// The sums, the matrix and the solution live in work areas owned by the calling thread, so calls
// in different threads do not interfere.
void polyfit(const double* x, const double* y, int count, double* coefficients, int degree);

}  // namespace vantor::detail

#endif  // VANTOR_NUMERIC_POLYFIT_H
