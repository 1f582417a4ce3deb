#include "numeric/small_lp.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantor {
namespace detail {
namespace {

constexpr double cost_tolerance = 1e-12;
constexpr double pivot_tolerance = 1e-12;

}  // namespace

// The tableau is kept compact: one column per nonbasic variable (labelled by index: structural
// variables first, then the slack of each row) and one row per basic variable, whose values are
// kept apart (a nonbasic variable sits at 0 or at its upper bound). A pivot swaps the labels of
// the entering column and the leaving row; the identity columns of the basic variables are
// never stored. Bland's rule reads the labels.
bool maximise_bounded_lp(const std::vector<double>& a, const std::vector<double>& b,
                         const std::vector<double>& c, const std::vector<double>& upper,
                         std::vector<double>& x, std::vector<double>* duals) {
    const std::size_t rows = b.size();
    const std::size_t variables = c.size();
    const double infinity = std::numeric_limits<double>::infinity();
    // The upper bound of a variable by label (slacks have none).
    const auto bound = [&](std::size_t label) {
        return label < upper.size() ? upper[label] : infinity;
    };

    std::vector<double> tableau(a.begin(),
                                a.begin() + static_cast<std::ptrdiff_t>(rows * variables));
    std::vector<double> value(rows);  // of the basic variables
    std::vector<std::size_t> basic(rows), nonbasic(variables);
    std::vector<char> at_upper(variables, 0);
    for (std::size_t i = 0; i < rows; ++i) {
        value[i] = std::max(b[i], 0.0);
        basic[i] = variables + i;
    }
    for (std::size_t j = 0; j < variables; ++j) nonbasic[j] = j;
    std::vector<double> cost(c);  // the reduced costs of the nonbasic columns

    const auto read_solution = [&]() {
        x.assign(variables, 0.0);
        for (std::size_t j = 0; j < variables; ++j)
            if (nonbasic[j] < variables && at_upper[j]) x[nonbasic[j]] = bound(nonbasic[j]);
        for (std::size_t i = 0; i < rows; ++i)
            if (basic[i] < variables) x[basic[i]] = value[i];
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
        // Bland: of the columns that improve (rising from 0, or falling from the upper bound),
        // the one of the lowest label enters.
        std::size_t entering = variables;
        for (std::size_t j = 0; j < variables; ++j) {
            const bool improves =
                at_upper[j] ? cost[j] < -cost_tolerance : cost[j] > cost_tolerance;
            if (improves && (entering == variables || nonbasic[j] < nonbasic[entering]))
                entering = j;
        }
        if (entering == variables) {
            read_solution();
            return true;
        }
        const double direction = at_upper[entering] ? -1.0 : 1.0;

        // How far the entering variable may move: to its other bound, or until a basic
        // variable reaches 0 or its upper bound (ties to the lowest label).
        double step = bound(nonbasic[entering]);
        std::size_t leaving = rows;
        bool leaves_at_upper = false;
        for (std::size_t i = 0; i < rows; ++i) {
            const double rate = tableau[i * variables + entering] * direction;  // value falls by
            double limit;
            bool to_upper = false;
            if (rate > pivot_tolerance) {
                limit = value[i] / rate;
            } else if (rate < -pivot_tolerance && std::isfinite(bound(basic[i]))) {
                limit = (bound(basic[i]) - value[i]) / -rate;
                to_upper = true;
            } else {
                continue;
            }
            if (limit < step || (leaving < rows && limit == step && basic[i] < basic[leaving])) {
                step = limit;
                leaving = i;
                leaves_at_upper = to_upper;
            }
        }
        if (!std::isfinite(step)) break;  // unbounded

        for (std::size_t i = 0; i < rows; ++i) {
            value[i] -= tableau[i * variables + entering] * direction * step;
            value[i] = std::clamp(value[i], 0.0, bound(basic[i]));  // rounding stays feasible
        }
        if (leaving == rows) {
            // The entering variable reaches its other bound and stays nonbasic.
            at_upper[entering] = !at_upper[entering];
            continue;
        }
        const double entered = at_upper[entering] ? bound(nonbasic[entering]) - step : step;

        // The entering column becomes the leaving variable's: in a full tableau that column was
        // the unit vector of the pivot row, so its new entries are 1 / pivot in the pivot row
        // and -factor / pivot elsewhere.
        double* pivot_row = &tableau[leaving * variables];
        const double pivot = pivot_row[entering];
        for (std::size_t j = 0; j < variables; ++j) pivot_row[j] /= pivot;
        pivot_row[entering] = 1.0 / pivot;
        for (std::size_t i = 0; i < rows; ++i) {
            if (i == leaving) continue;
            double* row = &tableau[i * variables];
            const double factor = row[entering];
            if (factor == 0.0) continue;
            for (std::size_t j = 0; j < variables; ++j) row[j] -= factor * pivot_row[j];
            row[entering] = -factor * pivot_row[entering];
        }
        const double factor = cost[entering];
        for (std::size_t j = 0; j < variables; ++j) cost[j] -= factor * pivot_row[j];
        cost[entering] = -factor * pivot_row[entering];
        std::swap(basic[leaving], nonbasic[entering]);
        value[leaving] = entered;
        at_upper[entering] = leaves_at_upper;
    }
    read_solution();
    return false;
}

bool maximise_lp(const std::vector<double>& a, const std::vector<double>& b,
                 const std::vector<double>& c, std::vector<double>& x, std::vector<double>* duals) {
    return maximise_bounded_lp(a, b, c, {}, x, duals);
}

}  // namespace detail
}  // namespace vantor
