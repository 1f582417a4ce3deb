#include "numeric/small_lp.h"

#include <algorithm>
#include <cmath>

namespace vantor {
namespace detail {
namespace {

constexpr double cost_tolerance = 1e-12;
constexpr double pivot_tolerance = 1e-12;

}  // namespace

bool maximise_lp(const std::vector<double>& a, const std::vector<double>& b,
                 const std::vector<double>& c, std::vector<double>& x, std::vector<double>* duals) {
    const std::size_t rows = b.size();
    const std::size_t variables = c.size();
    const std::size_t columns = variables + rows;  // structural then slack variables
    const std::size_t width = columns + 1;         // and the right-hand side

    // Row i of the tableau: [A_i | e_i | b_i]; the cost row holds the reduced costs.
    std::vector<double> tableau(rows * width, 0.0);
    std::vector<std::size_t> basis(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        double* row = &tableau[i * width];
        std::copy(a.begin() + static_cast<std::ptrdiff_t>(i * variables),
                  a.begin() + static_cast<std::ptrdiff_t>((i + 1) * variables), row);
        row[variables + i] = 1.0;
        row[columns] = std::max(b[i], 0.0);
        basis[i] = variables + i;
    }
    std::vector<double> cost(columns, 0.0);
    std::copy(c.begin(), c.end(), cost.begin());

    const auto read_solution = [&]() {
        x.assign(variables, 0.0);
        for (std::size_t i = 0; i < rows; ++i)
            if (basis[i] < variables) x[basis[i]] = tableau[i * width + columns];
        if (duals != nullptr) {
            duals->resize(rows);
            for (std::size_t i = 0; i < rows; ++i)
                (*duals)[i] = std::max(0.0, -cost[variables + i]);
        }
    };

    const std::size_t max_pivots = 50 * (rows + columns);
    for (std::size_t pivots = 0; pivots < max_pivots; ++pivots) {
        std::size_t entering = columns;
        for (std::size_t j = 0; j < columns; ++j) {
            if (cost[j] > cost_tolerance) {
                entering = j;
                break;
            }
        }
        if (entering == columns) {
            read_solution();
            return true;
        }

        std::size_t leaving = rows;
        double best_ratio = 0.0;
        for (std::size_t i = 0; i < rows; ++i) {
            const double coefficient = tableau[i * width + entering];
            if (coefficient <= pivot_tolerance) continue;
            const double ratio = tableau[i * width + columns] / coefficient;
            if (leaving == rows || ratio < best_ratio ||
                (ratio == best_ratio && basis[i] < basis[leaving])) {
                leaving = i;
                best_ratio = ratio;
            }
        }
        if (leaving == rows) break;  // unbounded

        double* pivot_row = &tableau[leaving * width];
        const double pivot = pivot_row[entering];
        for (std::size_t j = 0; j < width; ++j) pivot_row[j] /= pivot;
        pivot_row[entering] = 1.0;
        for (std::size_t i = 0; i < rows; ++i) {
            if (i == leaving) continue;
            double* row = &tableau[i * width];
            const double factor = row[entering];
            if (factor == 0.0) continue;
            for (std::size_t j = 0; j < width; ++j) row[j] -= factor * pivot_row[j];
            row[entering] = 0.0;
            row[columns] = std::max(row[columns], 0.0);  // rounding must not leave the feasible set
        }
        const double factor = cost[entering];
        for (std::size_t j = 0; j < columns; ++j) cost[j] -= factor * pivot_row[j];
        cost[entering] = 0.0;
        basis[leaving] = entering;
    }
    read_solution();
    return false;
}

}  // namespace detail
}  // namespace vantor
