// SPDX-License-Identifier: Apache-2.0
// The second-order lower bound of a minimax objective over a cell of the proof's box
// (minimax_bound.h): tangent planes with enclosed remainders, minimised by a linear program.
//
// Over a cell (centre c, half widths h, in the model's scaled steps) each residual satisfies
//     |r_i(s) - r_i(c) - g_i . (s - c)| <= E_i,   E_i = sum_k max|G_ik - g_ik| h_k,
// where G_i holds the residual's slopes about the centre over the cell (model.chart() evaluated
// on the interval slopes of interval_slope.h) and g_i any slopes, here G_i's middles. E_i shrinks
// as h^2, where the Lipschitz bound of minimax_bound.h shrinks as h, so near an optimum cells close
// at a size of about sqrt(tolerance / curvature) instead of the tolerance itself.
//
// The lower bound: with t = (s - c) / h in the unit box, the outer residuals are at least
// r_i - E_i + (g_i h) . t and the inner ones at most r_j + E_j + (g_j h) . t; the Lipschitz
// bounds add one constant row per side. For any weights lambda (outer) and mu (inner), each
// non-negative and summing to 1, weak duality gives, for every t in the box,
//     zone:          max - min >= sum lambda_i (r_i - E_i) - sum mu_j (r_j + E_j)
//                                 - sum_k |sum lambda_i g_ik h_k - sum mu_j g_jk h_k|
//     circumscribed: max >= sum lambda_i (r_i - E_i) - sum_k |sum lambda_i g_ik h_k|
//     inscribed:     -min >= -sum mu_j (r_j + E_j) - sum_k |sum mu_j g_jk h_k|
// The weights are the duals of the step LP of minimax_step.h over the box; the bound is
// computed from them as above, so it holds whatever the LP's accuracy. The LP's step is also a
// candidate state, often better than the cell's centre.
#ifndef VANTOR_NUMERIC_CELL_TANGENT_H
#define VANTOR_NUMERIC_CELL_TANGENT_H

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "numeric/interval_slope.h"
#include "numeric/minimax_step.h"
#include "numeric/spatial.h"

namespace vantor {
namespace detail {

// The plane through the residual of p at the cell's centre, `value` (chart units, lengths), with
// slopes per unit of t along each side, and the remainder bound E of the residual from it over
// the cell. The slopes are the middles of the interval slopes S about the centre (any slopes
// would do; the middles make max |S_k - g_k| smallest, half the enclosure's width). False when
// the slopes have no bounded enclosure there (the residual is not smooth in the cell: a point
// on the axis).
template <class Model>
bool tangent_over_cell(const Model& model, const typename Model::state& reference, const point3& p,
                       const double* centre, const double* half, double value, double* slope_out,
                       double& remainder, double* parts = nullptr) {
    constexpr int n = Model::size;
    slope<n> over[n];
    for (int k = 0; k < n; ++k) over[k] = slope<n>::variable(centre[k], half[k], k);
    const slope<n> g = model.chart(reference, p, over);
    remainder = std::max(std::abs(g.at.lo - value), std::abs(g.at.hi - value));
    for (int k = 0; k < n; ++k) {
        slope_out[k] = 0.5 * (g.s[k].lo + g.s[k].hi) * half[k];
        const double part = 0.5 * (g.s[k].hi - g.s[k].lo) * half[k];
        if (parts) parts[k] = part;
        remainder += part;
    }
    // Rounding to nearest in the enclosure: a margin far above its few ulp.
    remainder += 1e-13 * (std::abs(value) + model.unit);
    return std::isfinite(remainder);
}

// What the bounds of successive cells reuse: buffers, and the last LP's weights by point (the
// constant rows as the index past the last point), whose weak-duality bound often closes the
// next cell without an LP.
struct tangent_scratch {
    linearisation lin;
    std::vector<double> value;
    std::vector<double> row_parts;  // each row's remainder by side of the cell (0: Lipschitz)
    std::vector<std::size_t> row_point;
    std::vector<int> outer_row, inner_row;
    std::vector<std::pair<std::size_t, double>> outer_weights, inner_weights;
};

struct tangent_bound {
    double lower = -std::numeric_limits<double>::infinity();  // in lengths
    std::vector<double> step;  // the LP's best t, in the unit box; empty if none
    // Where the bound loses against the objective's minimum over the cell, with the LP's
    // weights: each side's share of the weighted remainders (in lengths; E_i's terms), and the
    // weight on the Lipschitz rows (0 to 2), whose loss shrinks with the cell's variations.
    // Halving the side that loses most tightens the bound most; the slopes lose nothing (the
    // objective does fall along them). Empty when the LP gave no weights.
    std::vector<double> remainder_share;
    double lipschitz_weight = 0.0;
};

// The bound described above for the cell of `centre` and `half` about `reference`, on the
// `points` whose Lipschitz variations over the cell are `variation`. Only the points that can
// be extreme somewhere in the cell get a tangent: a point whose residual stays below the
// largest lower Lipschitz bound (or above the smallest upper one) never bounds its side there,
// and the constant row of that bound already holds all it could add. `tangents` receives how
// many points got one (the work done). When the last LP's weights already give a bound of at
// least `enough`, that bound is returned without an LP (and without a step).
template <class Model>
tangent_bound tangent_lower_bound(const Model& model, const std::vector<point3>& points,
                                  const typename Model::state& reference, const double* centre,
                                  const double* half, const std::vector<double>& variation,
                                  minimax_sides sides, double enough, tangent_scratch& scratch,
                                  std::size_t& tangents) {
    constexpr int n = Model::size;
    const bool outer = sides != minimax_sides::inner, inner = sides != minimax_sides::outer;
    const double inverse_unit = 1.0 / model.unit;
    linearisation& lin = scratch.lin;
    lin.parameters = n;
    lin.value.clear();
    lin.gradient.clear();
    lin.side.clear();
    scratch.row_point.clear();
    scratch.row_parts.clear();
    scratch.outer_row.assign(points.size() + 1, -1);
    scratch.inner_row.assign(points.size() + 1, -1);
    double parts[n];
    const auto add = [&](std::size_t point, double v, const double* g, signed char side) {
        for (int k = 0; k < n; ++k) scratch.row_parts.push_back(g ? parts[k] : 0.0);
        (side > 0 ? scratch.outer_row : scratch.inner_row)[point] =
            static_cast<int>(lin.value.size());
        scratch.row_point.push_back(point);
        lin.value.push_back(v * inverse_unit);
        for (int k = 0; k < n; ++k) lin.gradient.push_back(g ? g[k] * inverse_unit : 0.0);
        lin.side.push_back(side);
    };
    std::vector<double>& value = scratch.value;
    value.resize(points.size());
    double high_low = -std::numeric_limits<double>::infinity(), low_high = -high_low;
    for (std::size_t i = 0; i < points.size(); ++i) {
        value[i] = model.chart(reference, points[i], centre);
        high_low = std::max(high_low, value[i] - variation[i]);
        low_high = std::min(low_high, value[i] + variation[i]);
    }
    tangents = 0;
    double slope[n];
    for (std::size_t i = 0; i < points.size(); ++i) {
        const bool may_top = outer && value[i] + variation[i] > high_low;
        const bool may_bottom = inner && value[i] - variation[i] < low_high;
        if (!may_top && !may_bottom) continue;
        double remainder;
        ++tangents;
        if (!tangent_over_cell(model, reference, points[i], centre, half, value[i], slope,
                               remainder, parts))
            continue;
        if (may_top) add(i, value[i] - remainder, slope, 1);
        if (may_bottom) add(i, value[i] + remainder, slope, -1);
    }
    const std::size_t constant = points.size();
    if (outer) add(constant, high_low, nullptr, 1);
    if (inner) add(constant, low_high, nullptr, -1);
    lin.find_extremes();

    // Weak duality with weights on rows (non-negative, made to sum to 1 on each side).
    double balance[n], share[n], level, lipschitz_weight;
    const auto weigh = [&](std::size_t count, const auto& row, const auto& weight, double sign) {
        double total = 0.0;
        for (std::size_t j = 0; j < count; ++j) total += std::max(weight(j), 0.0);
        if (!(total > 0.0)) return false;
        for (std::size_t j = 0; j < count; ++j) {
            const double w = sign * std::max(weight(j), 0.0) / total;
            level += w * lin.value[row(j)];
            const double* g = lin.gradient_of(row(j));
            const double* e = &scratch.row_parts[row(j) * static_cast<std::size_t>(n)];
            for (int k = 0; k < n; ++k) {
                balance[k] += w * g[k];
                share[k] += std::abs(w) * e[k];
            }
            if (scratch.row_point[row(j)] == points.size()) lipschitz_weight += std::abs(w);
        }
        return true;
    };
    const auto bound = [&]() {
        double b = level;
        for (int k = 0; k < n; ++k) b -= std::abs(balance[k]);
        return b * model.unit;
    };
    const auto clear = [&]() {
        level = lipschitz_weight = 0.0;
        for (int k = 0; k < n; ++k) balance[k] = share[k] = 0.0;
    };
    // The last LP's weights, where each of their points has a row here.
    const auto kept = [&](const std::vector<std::pair<std::size_t, double>>& weights,
                          const std::vector<int>& rows, double sign) {
        for (const auto& [point, w] : weights)
            if (rows[point] < 0) return false;
        return weigh(
            weights.size(),
            [&](std::size_t j) { return static_cast<std::size_t>(rows[weights[j].first]); },
            [&](std::size_t j) { return weights[j].second; }, sign);
    };
    tangent_bound out;
    clear();
    if ((outer || inner) && (!outer || kept(scratch.outer_weights, scratch.outer_row, 1.0)) &&
        (!inner || kept(scratch.inner_weights, scratch.inner_row, -1.0)) && bound() >= enough) {
        out.lower = bound();
        return out;
    }

    // The LP starts from the rows that carried the last LP's weights (a neighbouring cell's
    // active rows are mostly active here too), and adds what its steps violate.
    working_set w;
    for (const auto& [point, weight] : scratch.outer_weights)
        if (outer && scratch.outer_row[point] >= 0)
            w.outer.push_back(static_cast<std::size_t>(scratch.outer_row[point]));
    for (const auto& [point, weight] : scratch.inner_weights)
        if (inner && scratch.inner_row[point] >= 0)
            w.inner.push_back(static_cast<std::size_t>(scratch.inner_row[point]));
    const model_step m = solve_model(lin, sides, 1.0, w, 1e-14 * (lin.high - lin.low + 1.0));
    if ((outer && m.outer_weights.empty()) || (inner && m.inner_weights.empty())) return out;
    out.step = m.step;
    clear();
    const auto with = [&](const std::vector<std::size_t>& rows, const std::vector<double>& y,
                          double sign, std::vector<std::pair<std::size_t, double>>& keep) {
        keep.clear();
        for (std::size_t j = 0; j < rows.size(); ++j)
            if (y[j] > 0.0) keep.push_back({scratch.row_point[rows[j]], y[j]});
        return weigh(
            rows.size(), [&](std::size_t j) { return rows[j]; },
            [&](std::size_t j) { return y[j]; }, sign);
    };
    if (outer && !with(w.outer, m.outer_weights, 1.0, scratch.outer_weights)) return out;
    if (inner && !with(w.inner, m.inner_weights, -1.0, scratch.inner_weights)) return out;
    out.lower = bound();
    out.lipschitz_weight = lipschitz_weight;
    out.remainder_share.assign(share, share + n);
    return out;
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_CELL_TANGENT_H
