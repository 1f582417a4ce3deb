// SPDX-License-Identifier: Apache-2.0
// Levenberg-Marquardt for the least-squares fits of the 3-D elements.
//
// A model describes a fit in a local parametrisation: its state is the current element (for an
// axial element, a frame whose z is the axis), a step is a small change about that state (a
// shift and a tilt of the axis, a change of radius), and one pass over the points sums the
// normal equations J^T J, J^T r of the residuals r and their Jacobian J with respect to such a
// step. The n x p Jacobian is never stored: the passes read the points once and the p x p
// systems are solved by a column-pivoted QR. Because the Jacobian is taken about the state
// itself, the evaluation of a trial state already yields the system for the next step, so an
// accepted step costs one pass.
//
// Steps are damped after Marquardt (the diagonal of J^T J scales the damping). A trial is
// kept when it lowers the sum of squares S, or raises it by no more than the rounding noise of
// S: near the minimum the residuals cancel digits and S no longer tells better from worse
// while the Gauss-Newton step stays accurate, so the result is never worse than the start
// beyond rounding. Stopping tests, with steps measured in units of the model (lengths relative
// to the extent of the points, angles in radians):
//   - converged when a step, damped by no more than 1e-2, is below 1e-12: it is taken without
//     a pass to evaluate it (it cannot change S beyond rounding), so the sums at_solution
//     belong to the state before it;
//   - converged when kept steps no longer lower S and no longer shrink to half (the gradient
//     has reached its rounding floor);
//   - not converged when no damping up to 1e15 yields a step that is kept, or after
//     max_iterations.
// A fit of n points thus costs one pass for the start and one per iteration but the last.
#ifndef VANTOR_NUMERIC_GAUSS_NEWTON_H
#define VANTOR_NUMERIC_GAUSS_NEWTON_H

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "numeric/fit_status.h"

namespace vantor {
namespace detail {

// The normal equations of P parameters, summed one residual at a time.
template <int P>
struct normal_equations {
    double jtj[P][P] = {};  // the lower triangle while summing, all of it after complete()
    double jtr[P] = {};
    double sum_of_squares = 0.0;
    // While summing: sum of (|r| + eps m) m, with m the size of the terms r is the difference
    // of; after complete(): a bound on the rounding error of sum_of_squares.
    double rounding = 0.0;
    std::size_t count = 0;

    // Folds in one residual r with its Jacobian row; `magnitude` is the size of the terms whose
    // difference r is (for |p - c| - radius: |p - c| + radius).
    void add(const double (&row)[P], double r, double magnitude) {
        for (int i = 0; i < P; ++i) {
            jtr[i] += row[i] * r;
            for (int j = 0; j <= i; ++j) jtj[i][j] += row[i] * row[j];
        }
        sum_of_squares += r * r;
        rounding += (std::abs(r) + std::numeric_limits<double>::epsilon() * magnitude) * magnitude;
        ++count;
    }

    // Completes the matrix from its lower triangle and turns the rounding sum into a bound.
    void complete() {
        for (int i = 0; i < P; ++i)
            for (int j = i + 1; j < P; ++j) jtj[i][j] = jtj[j][i];
        constexpr double eps = std::numeric_limits<double>::epsilon();
        rounding = 8.0 * eps * rounding + eps * static_cast<double>(count) * sum_of_squares;
    }
};

// Solves (A + damping diag(A)) step = -g for the size x size matrix A (row-major) by a
// column-pivoted QR; a zero diagonal entry is damped as if it were 1e-30 of the largest.
// False when the damped matrix is singular or the step is not finite.
bool damped_step(const double* a, const double* g, int size, double damping, double* step);

template <class Model>
struct least_squares_result {
    typename Model::state state;
    // The sums at `state` (or, after a final step too small to evaluate, at the state before),
    // completed.
    normal_equations<Model::size> at_solution;
    int iterations = 0;
    int passes = 0;  // evaluations of the model: passes over the points
    bool converged = false;
};

// What the least-squares fit of an element gives its caller: the state reached, the standard
// uncertainties for s = 1 of the `Values` values reported for the element, the iterations of the
// last fit (on all points) and whether it converged; status ok when all of it holds.
template <class State, int Values>
struct least_squares_solution {
    fit_status status = fit_status::not_converged;
    State state{};
    double unit_uncertainty[Values] = {};
    int iterations = 0;
    bool converged = false;
};

// A solution with the state, iterations and convergence of `r`, its status not yet decided.
template <class Solution, class Model>
Solution solution_from(const least_squares_result<Model>& r) {
    Solution solution;
    solution.state = r.state;
    solution.iterations = r.iterations;
    solution.converged = r.converged;
    return solution;
}

// Minimises the model's sum of squares from `start` (see the file comment).
template <class Model>
least_squares_result<Model> minimise_squares(const Model& model, const typename Model::state& start,
                                             int max_iterations = 200) {
    constexpr int P = Model::size;
    constexpr double tolerance = 1e-12;
    least_squares_result<Model> result;
    result.state = start;
    model.evaluate(start, result.at_solution);
    result.at_solution.complete();
    result.passes = 1;
    if (!std::isfinite(result.at_solution.sum_of_squares)) return result;

    double damping = 1e-8;
    double previous_step = std::numeric_limits<double>::infinity();
    for (int iteration = 0; iteration < max_iterations; ++iteration) {
        const normal_equations<P>& current = result.at_solution;
        result.iterations = iteration + 1;
        bool accepted = false, improved = false;
        double step[P];
        double size = 0.0;
        while (damping <= 1e15) {
            if (damped_step(&current.jtj[0][0], current.jtr, P, damping, step)) {
                size = model.scaled_step(step);
                // A step below the tolerance, within 1 % of Gauss-Newton, cannot change the sum
                // of squares beyond rounding: it is taken without a pass to evaluate it.
                if (size <= tolerance && damping <= 1e-2) {
                    result.state = model.moved(result.state, step);
                    result.converged = true;
                    return result;
                }
                const typename Model::state trial = model.moved(result.state, step);
                normal_equations<P> next;
                model.evaluate(trial, next);
                ++result.passes;
                next.complete();
                if (next.sum_of_squares <= current.sum_of_squares + current.rounding) {
                    improved = next.sum_of_squares < current.sum_of_squares;
                    result.state = trial;
                    result.at_solution = next;
                    accepted = true;
                    break;
                }
            }
            damping *= 10.0;
        }
        if (!accepted) return result;
        if (!improved && size > 0.5 * previous_step) {
            result.converged = true;
            return result;
        }
        damping = std::max(0.1 * damping, 1e-15);
        previous_step = size;
    }
    return result;
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_GAUSS_NEWTON_H
