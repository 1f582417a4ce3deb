// SPDX-License-Identifier: Apache-2.0
#include "numeric/minimax_step.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <Eigen/Dense>

#include "numeric/small_lp.h"

namespace vantor {
namespace detail {
namespace {

constexpr int max_working_set_passes = 200;
// The working sets keep the rows within a band of their side's extreme: a thousandth of the
// spread of the residuals, never less than a thousand times the tolerance, so that nearly
// tight rows stay in the LP and the sets stay small.
constexpr double band_of_spread = 1e-3;
constexpr double band_of_tolerance = 1e3;

bool bounds_outer(minimax_sides sides) { return sides != minimax_sides::inner; }
bool bounds_inner(minimax_sides sides) { return sides != minimax_sides::outer; }

double sum_of_magnitudes(const double* v, int n) {
    double sum = 0.0;
    for (int k = 0; k < n; ++k) sum += std::abs(v[k]);
    return sum;
}

bool contains(const std::vector<std::size_t>& set, std::size_t i) {
    return std::find(set.begin(), set.end(), i) != set.end();
}

}  // namespace

double minimax_objective(minimax_sides sides, double low, double high) {
    switch (sides) {
        case minimax_sides::outer:
            return high;
        case minimax_sides::inner:
            return -low;
        case minimax_sides::both:
            break;
    }
    return high - low;
}

double linearisation::model(std::size_t i, const double* step) const {
    const double* g = gradient_of(i);
    double v = value[i];
    for (int k = 0; k < parameters; ++k) v += g[k] * step[k];
    return v;
}

void linearisation::find_extremes() {
    low = std::numeric_limits<double>::infinity();
    high = -std::numeric_limits<double>::infinity();
    for (double v : value) {
        low = std::min(low, v);
        high = std::max(high, v);
    }
}

model_step solve_model(const linearisation& lin, minimax_sides sides, double radius, working_set& w,
                       double tolerance, double step_cost) {
    const int p = lin.parameters;
    const bool outer = bounds_outer(sides), inner = bounds_inner(sides);
    // Columns: the step's positive and negative parts s+_k, s-_k in [0, radius], then
    // a = high - r_out (outer side), then b = r_in - low (inner side). high and low bound the
    // rows' models over the box, so that the origin (no step) is a feasible vertex and a and b
    // stay positive at the optimum: their columns are then basic, and each side's multipliers
    // sum to exactly 1.
    // Maximising a + b less the step's cost minimises the objective.
    const int column_a = 2 * p, column_b = column_a + (outer ? 1 : 0);
    const int columns = column_b + (inner ? 1 : 0);
    std::vector<double> cost(static_cast<std::size_t>(columns), -step_cost);
    if (outer) cost[static_cast<std::size_t>(column_a)] = 1.0;
    if (inner) cost[static_cast<std::size_t>(column_b)] = 1.0;

    const std::size_t count = lin.size();
    const auto bounds = [&lin](std::size_t i, signed char side) {
        return lin.side.empty() || lin.side[i] == side;
    };
    // Each side's rows include its first point at the extreme.
    const auto first_extreme = [&](signed char side) {
        std::size_t best = count;
        for (std::size_t i = 0; i < count; ++i) {
            if (!bounds(i, side)) continue;
            if (best == count ||
                (side > 0 ? lin.value[i] > lin.value[best] : lin.value[i] < lin.value[best]))
                best = i;
        }
        return best;
    };
    for (const signed char side : {static_cast<signed char>(1), static_cast<signed char>(-1)}) {
        std::vector<std::size_t>& rows = side > 0 ? w.outer : w.inner;
        const std::size_t i = first_extreme(side);
        if ((side > 0 ? outer : inner) && i < count && !contains(rows, i)) rows.push_back(i);
    }

    model_step result;
    result.step.assign(static_cast<std::size_t>(p), 0.0);
    double best = std::numeric_limits<double>::infinity();
    std::vector<double> a, b, x, duals, step(static_cast<std::size_t>(p));
    for (int pass = 0; pass < max_working_set_passes; ++pass) {
        double high = -std::numeric_limits<double>::infinity();
        double low = std::numeric_limits<double>::infinity();
        for (std::size_t i : w.outer)
            high = std::max(high, lin.value[i] + radius * sum_of_magnitudes(lin.gradient_of(i), p));
        for (std::size_t i : w.inner)
            low = std::min(low, lin.value[i] - radius * sum_of_magnitudes(lin.gradient_of(i), p));

        a.clear();
        b.clear();
        const auto add_row = [&](std::size_t i, double sign, int column, double rhs) {
            const double* g = lin.gradient_of(i);
            for (int k = 0; k < p; ++k) a.push_back(sign * g[k]);
            for (int k = 0; k < p; ++k) a.push_back(-sign * g[k]);
            for (int k = column_a; k < columns; ++k) a.push_back(k == column ? 1.0 : 0.0);
            b.push_back(rhs);
        };
        for (std::size_t i : w.outer) add_row(i, 1.0, column_a, high - lin.value[i]);
        for (std::size_t i : w.inner) add_row(i, -1.0, column_b, lin.value[i] - low);
        for (int k = 0; k < 2 * p; ++k) {
            for (int j = 0; j < columns; ++j) a.push_back(j == k ? 1.0 : 0.0);
            b.push_back(radius);
        }
        // The origin is feasible and the box bounds the step, so even a simplex stopped by its
        // pivot limit leaves a feasible vertex in x; the model is then merely less improved.
        const bool optimal = maximise_lp(a, b, cost, x, &duals);
        for (int k = 0; k < p; ++k) {
            const auto j = static_cast<std::size_t>(k);
            step[j] = std::clamp(x[j] - x[j + static_cast<std::size_t>(p)], -radius, radius);
        }
        const double r_out = outer ? high - x[static_cast<std::size_t>(column_a)] : 0.0;
        const double r_in = inner ? low + x[static_cast<std::size_t>(column_b)] : 0.0;

        // The model over the whole pool at this step; its most violating points join the sets.
        double model_high = -std::numeric_limits<double>::infinity();
        double model_low = std::numeric_limits<double>::infinity();
        std::size_t highest = 0, lowest = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const double v = lin.model(i, step.data());
            if (v > model_high && bounds(i, 1)) {
                model_high = v;
                highest = i;
            }
            if (v < model_low && bounds(i, -1)) {
                model_low = v;
                lowest = i;
            }
        }
        bool added = false;
        if (outer && model_high > r_out + tolerance && !contains(w.outer, highest)) {
            w.outer.push_back(highest);
            added = true;
        }
        if (inner && model_low < r_in - tolerance && !contains(w.inner, lowest)) {
            w.inner.push_back(lowest);
            added = true;
        }
        const double objective = minimax_objective(sides, model_low, model_high);
        if (!added || objective < best) {
            best = objective;
            result.step = step;
            result.low = model_low;
            result.high = model_high;
        }
        if (!added) {
            // The LP on the working set is the LP on the pool: its multipliers are the pool's.
            result.outer_weights.clear();
            result.inner_weights.clear();
            if (optimal) {
                const auto outer_rows = static_cast<std::ptrdiff_t>(w.outer.size());
                const auto inner_rows = static_cast<std::ptrdiff_t>(w.inner.size());
                result.outer_weights.assign(duals.begin(), duals.begin() + outer_rows);
                result.inner_weights.assign(duals.begin() + outer_rows,
                                            duals.begin() + outer_rows + inner_rows);
            }
            break;
        }
    }
    return result;
}

void keep_tight(const linearisation& lin, const std::vector<double>& step, double tolerance,
                working_set& w) {
    double high = -std::numeric_limits<double>::infinity();
    double low = std::numeric_limits<double>::infinity();
    for (std::size_t i : w.outer) high = std::max(high, lin.model(i, step.data()));
    for (std::size_t i : w.inner) low = std::min(low, lin.model(i, step.data()));
    const double band =
        std::max(band_of_tolerance * tolerance, band_of_spread * (lin.high - lin.low));
    w.outer.erase(
        std::remove_if(w.outer.begin(), w.outer.end(),
                       [&](std::size_t i) { return lin.model(i, step.data()) < high - band; }),
        w.outer.end());
    w.inner.erase(
        std::remove_if(w.inner.begin(), w.inner.end(),
                       [&](std::size_t i) { return lin.model(i, step.data()) > low + band; }),
        w.inner.end());
}

bool newton_step(const linearisation& contacts, const std::vector<double>& hessian,
                 std::vector<double>& step, std::vector<double>& weights) {
    const int p = contacts.parameters;
    const int m = static_cast<int>(contacts.size());
    const bool outer =
        std::find(contacts.side.begin(), contacts.side.end(), 1) != contacts.side.end();
    const bool inner =
        std::find(contacts.side.begin(), contacts.side.end(), -1) != contacts.side.end();
    // Unknowns: s (p), the bounds t_out and t_in of the sides present, the multipliers (m).
    const int column_out = p, column_in = p + (outer ? 1 : 0),
              first_weight = column_in + (inner ? 1 : 0);
    const int n = first_weight + m;
    Eigen::MatrixXd a = Eigen::MatrixXd::Zero(n, n);
    Eigen::VectorXd b = Eigen::VectorXd::Zero(n);
    int row = 0;
    for (int i = 0; i < m; ++i, ++row) {
        const double* g = contacts.gradient_of(static_cast<std::size_t>(i));
        for (int k = 0; k < p; ++k) a(row, k) = g[k];
        a(row, contacts.side[static_cast<std::size_t>(i)] > 0 ? column_out : column_in) = -1.0;
        b(row) = -contacts.value[static_cast<std::size_t>(i)];
    }
    for (int k = 0; k < p; ++k, ++row) {
        for (int j = 0; j < p; ++j) a(row, j) = hessian[static_cast<std::size_t>(k * p + j)];
        for (int i = 0; i < m; ++i)
            a(row, first_weight + i) = contacts.side[static_cast<std::size_t>(i)] *
                                       contacts.gradient_of(static_cast<std::size_t>(i))[k];
    }
    for (const signed char side : {static_cast<signed char>(1), static_cast<signed char>(-1)}) {
        if ((side > 0 && !outer) || (side < 0 && !inner)) continue;
        for (int i = 0; i < m; ++i)
            if (contacts.side[static_cast<std::size_t>(i)] == side) a(row, first_weight + i) = 1.0;
        b(row++) = 1.0;
    }
    const Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(a);
    if (qr.rank() < n) return false;
    const Eigen::VectorXd z = qr.solve(b);
    if (!z.allFinite()) return false;
    step.assign(z.data(), z.data() + p);
    weights.assign(z.data() + first_weight, z.data() + n);
    for (double w : weights)
        if (w < 0.0) return false;
    return true;
}

bool negative_curvature(const linearisation& contacts, const std::vector<double>& hessian,
                        std::vector<double>& direction) {
    const int p = contacts.parameters;
    const int m = static_cast<int>(contacts.size());
    // The differences of the gradients of the contacts of a side from that side's first.
    Eigen::MatrixXd differences = Eigen::MatrixXd::Zero(std::max(m, 1), p);
    int rows = 0;
    for (const signed char side : {static_cast<signed char>(1), static_cast<signed char>(-1)}) {
        int first = -1;
        for (int i = 0; i < m; ++i) {
            if (contacts.side[static_cast<std::size_t>(i)] != side) continue;
            if (first < 0) {
                first = i;
                continue;
            }
            const double* g = contacts.gradient_of(static_cast<std::size_t>(i));
            const double* f = contacts.gradient_of(static_cast<std::size_t>(first));
            for (int k = 0; k < p; ++k) differences(rows, k) = g[k] - f[k];
            ++rows;
        }
    }
    Eigen::MatrixXd tangent;
    if (rows == 0) {
        tangent = Eigen::MatrixXd::Identity(p, p);
    } else {
        const Eigen::FullPivLU<Eigen::MatrixXd> lu(differences.topRows(rows));
        if (lu.rank() >= p) return false;
        tangent = lu.kernel().householderQr().householderQ() *
                  Eigen::MatrixXd::Identity(p, p - lu.rank());
    }
    const Eigen::Map<const Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>>
        h(hessian.data(), p, p);
    const Eigen::MatrixXd projected = tangent.transpose() * h * tangent;
    const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> eigen(projected);
    if (!(eigen.eigenvalues()(0) < -1e-9 * h.cwiseAbs().maxCoeff())) return false;
    const Eigen::VectorXd d = tangent * eigen.eigenvectors().col(0);
    direction.assign(d.data(), d.data() + p);
    return true;
}

certificate certify(const linearisation& lin, minimax_sides sides, double contact_tolerance,
                    double stationarity_tolerance) {
    certificate c;
    const int p = lin.parameters;
    // A zone of width 0 (to rounding) is the smallest there is.
    if (sides == minimax_sides::both && lin.high - lin.low <= contact_tolerance) {
        c.holds = true;
        return c;
    }
    // The contacts, taken as lying exactly at their extreme: their gradients alone decide.
    linearisation contacts;
    contacts.parameters = p;
    std::vector<std::size_t> pool;
    for (std::size_t i = 0; i < lin.size(); ++i) {
        const bool at_outer = bounds_outer(sides) && lin.value[i] >= lin.high - contact_tolerance;
        const bool at_inner = bounds_inner(sides) && lin.value[i] <= lin.low + contact_tolerance;
        if (!at_outer && !at_inner) continue;
        pool.push_back(i);
        contacts.value.push_back(at_outer ? lin.high : lin.low);
        contacts.side.push_back(at_outer ? 1 : -1);
        contacts.gradient.insert(contacts.gradient.end(), lin.gradient_of(i),
                                 lin.gradient_of(i) + p);
    }
    contacts.find_extremes();
    working_set w;
    const model_step unit_box = solve_model(contacts, sides, 1.0, w, contact_tolerance, 0.0);
    if (bounds_outer(sides) && unit_box.outer_weights.empty()) return c;
    if (bounds_inner(sides) && unit_box.inner_weights.empty()) return c;

    // The balance sum lambda_i g_i - sum mu_j g_j, from the multipliers scaled to sum 1.
    std::vector<double> balance(static_cast<std::size_t>(p), 0.0);
    const auto collect = [&](const std::vector<std::size_t>& rows,
                             const std::vector<double>& weights, double sign,
                             std::vector<std::size_t>& indices, std::vector<double>& kept) {
        double total = 0.0;
        for (double weight : weights) total += weight;
        if (!(total > 0.0)) return false;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (!(weights[r] > 0.0)) continue;
            const double weight = weights[r] / total;
            const double* g = contacts.gradient_of(rows[r]);
            for (int k = 0; k < p; ++k)
                balance[static_cast<std::size_t>(k)] += sign * weight * g[k];
            indices.push_back(pool[rows[r]]);
            kept.push_back(weight);
        }
        return true;
    };
    if (bounds_outer(sides) &&
        !collect(w.outer, unit_box.outer_weights, 1.0, c.outer, c.outer_weights))
        return c;
    if (bounds_inner(sides) &&
        !collect(w.inner, unit_box.inner_weights, -1.0, c.inner, c.inner_weights))
        return c;
    c.stationarity = 0.0;
    for (double v : balance) c.stationarity += std::abs(v);
    c.holds = c.stationarity <= stationarity_tolerance;
    return c;
}

}  // namespace detail
}  // namespace vantor
