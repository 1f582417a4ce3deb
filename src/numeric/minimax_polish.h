// SPDX-License-Identifier: Apache-2.0
// Second-order steps of the minimax solver on its contacts, after Hald and Madsen.
//
// At an optimum with fewer contacts than a vertex of the linearised problem, which the
// residuals' curvature decides (two diametral contacts of a circle, an open sector's
// circumscribed cylinder), the trust-region LP's steps converge linearly at best. Newton's
// method on the contacts' optimality conditions, with the Hessian of the Lagrangian from second
// differences, converges fast; where that Hessian has negative curvature along the contacts (a
// saddle: the tube about a line on two diametral contacts, which a turn of the axis towards
// them brings nearer both), a line search along that direction leaves the saddle.
#ifndef VANTOR_NUMERIC_MINIMAX_POLISH_H
#define VANTOR_NUMERIC_MINIMAX_POLISH_H

#include <algorithm>
#include <cstddef>
#include <vector>

#include "numeric/minimax_solution.h"
#include "numeric/minimax_step.h"
#include "numeric/spatial.h"

namespace vantor {
namespace detail {
namespace minimax {

// Second-order steps on the contacts `rows` of the subset, bounding the sides `side` with
// multipliers `weights`, from x: along a direction of negative curvature (negative_curvature)
// when there is one, else Newton steps (newton_step). Each is kept, or the best of its
// halves, when it improves the objective on the subset. The Hessian of the Lagrangian comes
// from central second differences of the contacts' residuals in the model's own steps about x, at a
// step of 1e-3 divided by the contacts' curvature. Returns whether x moved.
template <class Model, class Points>
bool polish(const Model& model, const Points& subset, minimax_sides sides, const limits& l,
            const std::vector<std::size_t>& rows, const std::vector<signed char>& side,
            std::vector<double> weights, typename Model::state& x, double& objective) {
    constexpr int p = Model::size;
    std::vector<point3> at;
    for (std::size_t i : rows) at.push_back(subset[i]);
    linearisation c, all;
    std::vector<double> hessian(p * p), step;
    bool moved_any = false;
    for (int iteration = 0; iteration < l.tuning.newton_iterations; ++iteration) {
        linearise(model, at, x, c);
        c.side = side;
        const auto e = model.at(x);
        double kappa = 1.0;
        for (const point3& q : at) kappa = std::max(kappa, e.curvature(q, model.unit, l.bound));
        const double h = 1e-3 / kappa;
        // The Lagrangian at the scaled step (a, b) along parameters j and k.
        const auto lagrangian = [&](int j, double a, int k, double b) {
            double s[p] = {};
            s[j] += a * model.scale[j];
            s[k] += b * model.scale[k];
            const auto moved = model.at(model.moved(x, s));
            double sum = 0.0;
            for (std::size_t i = 0; i < at.size(); ++i) sum += side[i] * weights[i] * moved(at[i]);
            return sum / model.unit;
        };
        const double centre = lagrangian(0, 0.0, 0, 0.0);
        for (int j = 0; j < p; ++j) {
            hessian[j * p + j] =
                (lagrangian(j, h, j, 0.0) - 2.0 * centre + lagrangian(j, -h, j, 0.0)) / (h * h);
            for (int k = 0; k < j; ++k) {
                hessian[j * p + k] = hessian[k * p + j] =
                    (lagrangian(j, h, k, h) - lagrangian(j, h, k, -h) - lagrangian(j, -h, k, h) +
                     lagrangian(j, -h, k, -h)) /
                    (4.0 * h * h);
            }
        }
        // The objective on the subset after a multiple of a scaled step.
        const auto objective_after = [&](const std::vector<double>& d, double multiple,
                                         typename Model::state& y) {
            double s[p];
            for (int j = 0; j < p; ++j)
                s[j] = multiple * d[static_cast<std::size_t>(j)] * model.scale[j];
            y = model.moved(x, s);
            linearise(model, subset, y, all);
            return minimax_objective(sides, all.low, all.high);
        };
        typename Model::state trial = x, best = x;
        double best_objective = objective;
        if (negative_curvature(c, hessian, step)) {
            // Away from a saddle, both ways, at lengths growing fourfold from the difference
            // step: the best that improves.
            for (double length = h; length <= 1.0; length *= 4.0)
                for (const double sign : {1.0, -1.0}) {
                    const double v = objective_after(step, sign * length, trial);
                    if (v < best_objective) {
                        best_objective = v;
                        best = trial;
                    }
                }
        } else if (newton_step(c, hessian, step, weights)) {
            // The best of the full step and its halves, down to a millionth, until they stop
            // improving: far from the optimum another point may bound the element before it.
            for (double fraction = 1.0; fraction >= 1e-6; fraction *= 0.5) {
                const double v = objective_after(step, fraction, trial);
                if (v < best_objective) {
                    best_objective = v;
                    best = trial;
                } else if (best_objective < objective) {
                    break;
                }
            }
        }
        if (!(best_objective < objective)) break;
        x = best;
        objective = best_objective;
        moved_any = true;
    }
    return moved_any;
}

}  // namespace minimax
}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_MINIMAX_POLISH_H
