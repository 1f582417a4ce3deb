// SPDX-License-Identifier: Apache-2.0
// The minimax solver's steps on a subset of the points: sequential linear programming with a
// trust region.
//
// Each step linearises the residuals (minimax_models.h) and solves the step LP of
// minimax_step.h within the trust region |s_k| <= radius (in the scaled units of the model); a
// step is kept only when it improves the objective on the subset, and the radius follows the
// ratio of actual to predicted improvement (doubled above 0.75 when the step reached the
// boundary, cut to a quarter of the step below 0.25). It stops when the model predicts no
// improvement beyond rounding (8 eps of the residuals' magnitude), when the radius has shrunk to
// rounding, or after 5000 steps. At a vertex of the linearised problem (as many contacts as
// parameters and bounds) the steps are Newton steps and converge quadratically. At an optimum
// with fewer contacts the LP's steps converge linearly at best, held back by the trust region;
// after three such steps on too few contacts the solver takes the second-order steps of
// minimax_polish.h.
#ifndef VANTOR_NUMERIC_MINIMAX_TRUST_REGION_H
#define VANTOR_NUMERIC_MINIMAX_TRUST_REGION_H

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "numeric/minimax_polish.h"
#include "numeric/minimax_solution.h"
#include "numeric/minimax_step.h"

namespace vantor {
namespace detail {
namespace minimax {

template <class State>
struct subset_outcome {
    State state;
    int steps = 0;
    bool converged = false;
    bool unbounded = false;
    std::size_t largest_lp = 0;
    double low = 0.0, high = 0.0;  // the subset's residual extremes at `state`, in lengths
};

// The trust-region SLP on a subset of the points, from `from`.
template <class Model, class Points>
subset_outcome<typename Model::state> solve_on(const Model& model, const Points& subset,
                                               const typename Model::state& from,
                                               minimax_sides sides, const limits& l) {
    constexpr int p = Model::size;
    subset_outcome<typename Model::state> out;
    out.state = from;
    linearisation lin, trial;
    linearise(model, subset, from, lin);
    double objective = minimax_objective(sides, lin.low, lin.high);
    double radius = std::clamp(0.5 * (lin.high - lin.low), l.tuning.smallest_trust_radius, 1.0);
    working_set w;
    double step[p];
    const std::size_t vertex = p + (sides == minimax_sides::both ? 2 : 1);
    int stalled = 0;
    std::vector<std::size_t> active;
    std::vector<signed char> active_side;
    std::vector<double> active_weight;
    for (int k = 0; k < l.tuning.max_steps; ++k) {
        out.steps = k + 1;
        const model_step m = solve_model(lin, sides, radius, w, l.lp_tolerance);
        out.largest_lp = std::max(out.largest_lp, w.outer.size() + w.inner.size());
        const double predicted = objective - minimax_objective(sides, m.low, m.high);
        if (!(predicted > l.lp_tolerance)) {
            out.converged = true;
            break;
        }
        // The rows with positive multipliers: the contacts the step moves on.
        active.clear();
        active_side.clear();
        active_weight.clear();
        const auto take = [&](const std::vector<std::size_t>& rows,
                              const std::vector<double>& weights, signed char side) {
            for (std::size_t r = 0; r < weights.size(); ++r) {
                if (!(weights[r] > 0.0)) continue;
                active.push_back(rows[r]);
                active_side.push_back(side);
                active_weight.push_back(weights[r]);
            }
        };
        take(w.outer, m.outer_weights, 1);
        take(w.inner, m.inner_weights, -1);
        double length = 0.0;
        for (int j = 0; j < p; ++j) {
            step[j] = m.step[static_cast<std::size_t>(j)] * model.scale[j];
            length = std::max(length, std::abs(m.step[static_cast<std::size_t>(j)]));
        }
        const typename Model::state moved = model.moved(out.state, step);
        linearise(model, subset, moved, trial);
        const double trial_objective = minimax_objective(sides, trial.low, trial.high);
        const double ratio = (objective - trial_objective) / predicted;
        const bool bounded_by_radius = length > 0.9 * radius;
        if (ratio > 0.75 && bounded_by_radius)
            radius = std::min(2.0 * radius, l.tuning.largest_trust_radius);
        else if (ratio < 0.25)
            radius = 0.25 * length;
        if (trial_objective < objective) {
            keep_tight(lin, m.step, l.lp_tolerance, w);
            out.state = moved;
            std::swap(lin, trial);
            objective = trial_objective;
            // An inscribed element wider than the points' extent has left them behind; a zone
            // whose distances from a centre or axis exceed a thousand extents (its sag over the
            // points below a two-thousandth of their extent) is flattening towards a plane,
            // nearer to which the points lie.
            if ((sides == minimax_sides::inner && lin.low * model.unit > 2.0 * l.bound) ||
                (sides == minimax_sides::both &&
                 lin.high * model.unit > l.tuning.flat_zone * l.bound)) {
                out.unbounded = true;
                break;
            }
            // Steps held back by the trust region on fewer contacts than a vertex has: the
            // curvature decides, and Newton's method on those contacts converges fast.
            const bool curved = !active.empty() && active.size() < vertex && bounded_by_radius;
            stalled = curved ? stalled + 1 : 0;
            if (stalled >= l.tuning.steps_before_newton) {
                stalled = 0;
                if (polish(model, subset, sides, l, active, active_side, active_weight, out.state,
                           objective))
                    linearise(model, subset, out.state, lin);
            }
        }
        if (radius <= 4.0 * eps) {
            out.converged = true;
            break;
        }
    }
    out.low = lin.low * model.unit;
    out.high = lin.high * model.unit;
    return out;
}

}  // namespace minimax
}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_MINIMAX_TRUST_REGION_H
