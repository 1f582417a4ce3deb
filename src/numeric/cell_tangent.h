// The second-order lower bound of a minimax objective over a cell of the proof's box
// (minimax_bound.h): tangent planes with enclosed remainders, minimised by a linear program.
//
// Over a cell (centre c, half widths h, in the model's scaled steps) each residual satisfies
//     |r_i(s) - r_i(c) - g_i . (s - c)| <= E_i,   E_i = sum_k max|G_ik - g_ik| h_k,
// where G_i is an interval holding its gradient everywhere in the cell (the mean value theorem;
// model.chart() evaluated on jets of intervals) and g_i any slopes, here G_i's middles. E_i shrinks
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
#include <vector>

#include "numeric/interval_jet.h"
#include "numeric/minimax_step.h"
#include "numeric/spatial.h"

namespace vantor {
namespace detail {

// The plane through the residual of p at the cell's centre, `value` (chart units, lengths), with
// slopes per unit of t along each side, and the remainder bound E of the residual from it over
// the cell. The slopes are the middles of the gradient's enclosure G (any slopes g would do;
// the middles make max |G_k - g_k| smallest, half the enclosure's width). False when the
// gradient has no bounded enclosure there (the residual is not smooth in the cell: a point on
// the axis).
template <class Model>
bool tangent_over_cell(const Model& model, const typename Model::state& reference, const point3& p,
                       const double* centre, const double* half, double value, double* slope,
                       double& remainder) {
    constexpr int n = Model::size;
    jet<interval, n> over[n];
    for (int k = 0; k < n; ++k)
        over[k] = jet<interval, n>::variable(interval(centre[k] - half[k], centre[k] + half[k]), k);
    const jet<interval, n> g = model.chart(reference, p, over);
    remainder = 0.0;
    for (int k = 0; k < n; ++k) {
        slope[k] = 0.5 * (g.d[k].lo + g.d[k].hi) * half[k];
        remainder += 0.5 * (g.d[k].hi - g.d[k].lo) * half[k];
    }
    // Rounding to nearest in the enclosure: a margin far above its few ulp.
    remainder += 1e-13 * (std::abs(value) + model.unit);
    return std::isfinite(remainder);
}

// What the bounds of successive cells reuse.
struct tangent_scratch {
    linearisation lin;
    std::vector<double> value;
};

struct tangent_bound {
    double lower = -std::numeric_limits<double>::infinity();  // in lengths
    std::vector<double> step;  // the LP's best t, in the unit box; empty if none
};

// The bound described above for the cell of `centre` and `half` about `reference`, on the
// `points` whose Lipschitz variations over the cell are `variation`. Only the points that can
// be extreme somewhere in the cell get a tangent: a point whose residual stays below the
// largest lower Lipschitz bound (or above the smallest upper one) never bounds its side there,
// and the constant row of that bound already holds all it could add. `tangents` receives how
// many points got one (the work done).
template <class Model>
tangent_bound tangent_lower_bound(const Model& model, const std::vector<point3>& points,
                                  const typename Model::state& reference, const double* centre,
                                  const double* half, const std::vector<double>& variation,
                                  minimax_sides sides, tangent_scratch& scratch,
                                  std::size_t& tangents) {
    constexpr int n = Model::size;
    const bool outer = sides != minimax_sides::inner, inner = sides != minimax_sides::outer;
    const double inverse_unit = 1.0 / model.unit;
    linearisation& lin = scratch.lin;
    lin.parameters = n;
    lin.value.clear();
    lin.gradient.clear();
    lin.side.clear();
    const auto add = [&](double v, const double* g, signed char side) {
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
                               remainder))
            continue;
        if (may_top) add(value[i] - remainder, slope, 1);
        if (may_bottom) add(value[i] + remainder, slope, -1);
    }
    if (outer) add(high_low, nullptr, 1);
    if (inner) add(low_high, nullptr, -1);
    lin.find_extremes();

    tangent_bound out;
    working_set w;
    const model_step m = solve_model(lin, sides, 1.0, w, 1e-14 * (lin.high - lin.low + 1.0));
    if ((outer && m.outer_weights.empty()) || (inner && m.inner_weights.empty())) return out;
    out.step = m.step;
    // Weak duality with the LP's weights, made non-negative and summing to 1 on each side.
    double balance[n] = {}, level = 0.0;
    const auto weigh = [&](const std::vector<std::size_t>& rows, const std::vector<double>& y,
                           double sign) {
        double total = 0.0;
        for (double v : y) total += std::max(v, 0.0);
        if (!(total > 0.0)) return false;
        for (std::size_t j = 0; j < rows.size(); ++j) {
            const double weight = sign * std::max(y[j], 0.0) / total;
            level += weight * lin.value[rows[j]];
            const double* g = lin.gradient_of(rows[j]);
            for (int k = 0; k < n; ++k) balance[k] += weight * g[k];
        }
        return true;
    };
    if (outer && !weigh(w.outer, m.outer_weights, 1.0)) return out;
    if (inner && !weigh(w.inner, m.inner_weights, -1.0)) return out;
    double bound = level;
    for (int k = 0; k < n; ++k) bound -= std::abs(balance[k]);
    out.lower = bound * model.unit;
    return out;
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_CELL_TANGENT_H
