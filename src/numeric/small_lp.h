// SPDX-License-Identifier: Apache-2.0
// A dense simplex solver for the small linear programs of the minimax fits.
//
// Maximises c.x subject to A x <= b and x >= 0, where b >= 0 so that the origin is a feasible
// vertex and no first phase is needed. Primal simplex on a compact tableau (the nonbasic columns
// only) with Bland's rule (the lowest-index improving variable enters, ties in the ratio test go
// to the lowest-index basic variable), which cannot cycle on degenerate vertices. Optimality: no
// reduced cost exceeds 1e-12. Meant for a handful of variables and up to a few hundred rows with
// coefficients of order one.
//
// The dual values y (one per row, y >= 0) are the negated reduced costs of the slack variables
// in the final tableau (0 for a basic slack): at an optimum c <= A^T y within the cost tolerance
// and b.y = c.x, so y are the multipliers (Lagrange, KKT) of the rows.
#ifndef VANTOR_NUMERIC_SMALL_LP_H
#define VANTOR_NUMERIC_SMALL_LP_H

#include <cstddef>
#include <vector>

namespace vantor {
namespace detail {

// Solves max c.x, A x <= b, x >= 0 for `a` holding b.size() rows of c.size() coefficients, row
// after row, and b >= 0 (negative entries are treated as 0). On success returns true and stores
// an optimal vertex in `x` (c.size() values). Returns false when the objective is unbounded or
// the pivot count exceeds 50 * (rows + columns); `x` then holds the last vertex visited, which
// is feasible. With `duals`, it receives the dual value of each row at the vertex returned.
bool maximise_lp(const std::vector<double>& a, const std::vector<double>& b,
                 const std::vector<double>& c, std::vector<double>& x,
                 std::vector<double>* duals = nullptr);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_SMALL_LP_H
