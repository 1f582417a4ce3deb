// SPDX-License-Identifier: Apache-2.0
#include "numeric/small_lp.h"

#include <algorithm>
#include <cmath>

namespace vantor {
namespace detail {
namespace {

constexpr double cost_tolerance = 1e-12;
constexpr double pivot_tolerance = 1e-12;

}  // namespace

// The tableau is kept compact: one column per nonbasic variable (labelled by index: structural
// variables first, then the slack of each row), one row per basic variable, and the right-hand
// side. A pivot swaps the labels of the entering column and the leaving row; the identity
// columns of the basic variables are never stored. Bland's rule reads the labels, so the pivots
// are those of the full tableau.
bool maximise_lp(const std::vector<double>& a, const std::vector<double>& b,
                 const std::vector<double>& c, std::vector<double>& x, std::vector<double>* duals) {
    const std::size_t rows = b.size();
    const std::size_t variables = c.size();
    const std::size_t width = variables + 1;  // the nonbasic columns and the right-hand side

    std::vector<double> tableau(rows * width, 0.0);
    std::vector<std::size_t> basic(rows), nonbasic(variables);
    for (std::size_t i = 0; i < rows; ++i) {
        double* row = &tableau[i * width];
        std::copy(a.begin() + static_cast<std::ptrdiff_t>(i * variables),
                  a.begin() + static_cast<std::ptrdiff_t>((i + 1) * variables), row);
        row[variables] = std::max(b[i], 0.0);
        basic[i] = variables + i;
    }
    for (std::size_t j = 0; j < variables; ++j) nonbasic[j] = j;
    std::vector<double> cost(c);  // the reduced costs of the nonbasic columns

    const auto read_solution = [&]() {
        x.assign(variables, 0.0);
        for (std::size_t i = 0; i < rows; ++i)
            if (basic[i] < variables) x[basic[i]] = tableau[i * width + variables];
        if (duals != nullptr) {
            // A row's dual is the negated reduced cost of its slack, 0 while the slack is basic.
            duals->assign(rows, 0.0);
            for (std::size_t j = 0; j < variables; ++j)
                if (nonbasic[j] >= variables)
                    (*duals)[nonbasic[j] - variables] = std::max(0.0, -cost[j]);
        }
    };

    const std::size_t max_pivots = 50 * (rows + variables + rows);
    for (std::size_t pivots = 0; pivots < max_pivots; ++pivots) {
        // Bland: the improving column of the lowest label enters.
        std::size_t entering = variables;
        for (std::size_t j = 0; j < variables; ++j)
            if (cost[j] > cost_tolerance &&
                (entering == variables || nonbasic[j] < nonbasic[entering]))
                entering = j;
        if (entering == variables) {
            read_solution();
            return true;
        }

        std::size_t leaving = rows;
        double best_ratio = 0.0;
        for (std::size_t i = 0; i < rows; ++i) {
            const double coefficient = tableau[i * width + entering];
            if (coefficient <= pivot_tolerance) continue;
            const double ratio = tableau[i * width + variables] / coefficient;
            if (leaving == rows || ratio < best_ratio ||
                (ratio == best_ratio && basic[i] < basic[leaving])) {
                leaving = i;
                best_ratio = ratio;
            }
        }
        if (leaving == rows) break;  // unbounded

        // The entering column becomes the leaving variable's: in the full tableau that column
        // was the unit vector of the pivot row, so its new entries are 1 / pivot in the pivot
        // row and -factor / pivot elsewhere.
        double* pivot_row = &tableau[leaving * width];
        const double pivot = pivot_row[entering];
        for (std::size_t j = 0; j < width; ++j) pivot_row[j] /= pivot;
        pivot_row[entering] = 1.0 / pivot;
        for (std::size_t i = 0; i < rows; ++i) {
            if (i == leaving) continue;
            double* row = &tableau[i * width];
            const double factor = row[entering];
            if (factor == 0.0) continue;
            for (std::size_t j = 0; j < width; ++j) row[j] -= factor * pivot_row[j];
            row[entering] = -factor * pivot_row[entering];
            row[variables] =
                std::max(row[variables], 0.0);  // rounding must not leave the feasible set
        }
        const double factor = cost[entering];
        for (std::size_t j = 0; j < variables; ++j) cost[j] -= factor * pivot_row[j];
        cost[entering] = -factor * pivot_row[entering];
        std::swap(basic[leaving], nonbasic[entering]);
    }
    read_solution();
    return false;
}

}  // namespace detail
}  // namespace vantor
