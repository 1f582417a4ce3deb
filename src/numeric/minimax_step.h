// SPDX-License-Identifier: Apache-2.0
// The linear programs of the minimax fits: one step of sequential linear programming about a
// state, and the certificate that a state is optimal.
//
// A minimax fit bounds the residuals r_i of the points (distances from an axis or a centre,
// heights over a plane, distances from a cone) from above (the minimum circumscribed element:
// minimise max r_i), from below (the maximum inscribed element: maximise min r_i) or from both
// sides (the minimum zone: minimise max r_i - min r_i). About a state the residuals are
// replaced by their tangents r_i + g_i . s in a step s of the element's parameters. Everything
// here is in units of the fit: residuals divided by a length (the extent of the points), and
// steps scaled so that one unit is that length for a shift and one radian for a tilt, so the
// gradients are of order one whatever the element's size.
//
// The step LP minimises the model's objective over the box |s_k| <= radius (the trust region)
// on a working set of rows: it starts from the points at the extremes and the rows the last
// step kept, and grows by the point that violates the model most on each bounded side until
// no point of the pool violates it, so the LP stays small while its optimum is that of the
// whole pool. The LP is solved by the dense simplex of small_lp.h (at most 7 step parameters
// and a few dozen rows).
//
// Optimality (first order): no step decreases the model's objective, which by LP duality holds
// exactly when there are multipliers lambda >= 0 on the outer contacts (residual at the
// maximum) and mu >= 0 on the inner contacts (at the minimum), each summing to 1 on a bounded
// side, with sum lambda_i g_i = sum mu_j g_j (zone: the convex hulls of the outer and inner
// gradients meet, the Chebyshev alternation in higher dimensions), sum lambda_i g_i = 0
// (circumscribed) or sum mu_j g_j = 0 (inscribed). The multipliers are the dual values of the
// step LP on the contacts with a unit box, and certify() checks the condition itself from them.
#ifndef VANTOR_NUMERIC_MINIMAX_STEP_H
#define VANTOR_NUMERIC_MINIMAX_STEP_H

#include <cstddef>
#include <vector>

namespace vantor {
namespace detail {

// Which residual bounds a minimax fit moves: the largest (circumscribed), the smallest
// (inscribed) or both (zone).
enum class minimax_sides { outer, inner, both };

// The quantity a fit minimises from the smallest and largest residual: high - low, high or -low.
double minimax_objective(minimax_sides sides, double low, double high);

// The residuals of a pool of points with their gradients, in units of the fit.
struct linearisation {
    int parameters = 0;
    std::vector<double> value;
    std::vector<double> gradient;  // `parameters` values a point, point after point
    double low = 0.0, high = 0.0;  // the smallest and largest value
    // When not empty, the one side each point bounds: +1 from above (an outer contact), -1 from
    // below; otherwise every point bounds every side the fit bounds.
    std::vector<signed char> side;

    std::size_t size() const { return value.size(); }
    const double* gradient_of(std::size_t i) const {
        return gradient.data() + i * static_cast<std::size_t>(parameters);
    }
    // The tangent model of point i at a step.
    double model(std::size_t i, const double* step) const;
    // Sets low and high from the values.
    void find_extremes();
};

// The rows of the step LP: indices into the pool, bounded from above (outer) and from below.
struct working_set {
    std::vector<std::size_t> outer, inner;
};

struct model_step {
    std::vector<double> step;
    // The model's smallest and largest value over the pool at the step.
    double low = 0.0, high = 0.0;
    // The multipliers of the working set's rows (in its order) when the last LP was optimal
    // for the whole pool; empty otherwise.
    std::vector<double> outer_weights, inner_weights;
};

// The step of the model within the box |s_k| <= radius that minimises its objective, with the
// working set grown as described above (violations within `tolerance` do not count). The
// sets persist between calls. `step_cost` (per unit of the step's 1-norm) keeps the parameters
// the model is indifferent to at zero: a simplex would otherwise leave such a parameter at any
// vertex of the box, where the true residuals may grow. It must lie above the simplex's cost
// tolerance (1e-12) and below any improvement per unit step worth pursuing.
constexpr double default_step_cost = 1e-11;
model_step solve_model(const linearisation& lin, minimax_sides sides, double radius, working_set& w,
                       double tolerance, double step_cost = default_step_cost);

// Drops from the working set the rows whose model value at `step` lies farther than a band
// from the model's extreme on its side (a thousandth of the model's spread, at least a
// thousand times the tolerance), so that the sets stay small from step to step.
void keep_tight(const linearisation& lin, const std::vector<double>& step, double tolerance,
                working_set& w);

// One Newton step on the optimality conditions of an optimum that is no vertex of the step LP
// (fewer contacts than parameters and bounds, where the residuals' curvature decides and the
// LP's steps converge only linearly), after Hald and Madsen. `contacts` holds the contacts'
// residuals, gradients and sides (`side` must be set) at the current state, `hessian` (size x
// size, row after row) the Hessian of the Lagrangian sum_i side_i nu_i r_i with the current
// multipliers nu = `weights`. The step s and the new multipliers solve
//     r_i + g_i . s = t (the bound of i's side),
//     hessian s + sum_i side_i nu_i g_i = 0,
//     sum of nu_i = 1 on each bounded side.
// False when the system is singular or a multiplier comes out negative (then the contacts are
// not those of the optimum).
bool newton_step(const linearisation& contacts, const std::vector<double>& hessian,
                 std::vector<double>& step, std::vector<double>& weights);

// The direction of most negative curvature of the Lagrangian (`hessian`, as for newton_step) on
// the tangent space of the contacts: the steps along which the contacts of each side move
// alike to first order, along which the objective is flat at a stationary point. Such a point
// is a saddle (two diametral contacts of a tube about a line, which a turn of the axis towards
// them brings nearer both). False when the curvature there is nowhere below -1e-9 of the
// Hessian's largest entry.
bool negative_curvature(const linearisation& contacts, const std::vector<double>& hessian,
                        std::vector<double>& direction);

// A first-order optimality certificate: multipliers on the contacts and how nearly they
// balance.
struct certificate {
    // Indices into the pool of the contacts with positive multipliers, and the multipliers
    // (each side's summing to 1).
    std::vector<std::size_t> outer, inner;
    std::vector<double> outer_weights, inner_weights;
    // The 1-norm of sum lambda_i g_i - sum mu_j g_j: the largest first-order decrease of the
    // objective per unit step (in units of the fit), 0 at an exact optimum.
    double stationarity = 0.0;
    bool holds = false;
};

// The certificate of a state whose residuals and gradients `lin` holds for a pool of points:
// the contacts are the points within `contact_tolerance` of the extremes (taken as lying at
// them); the certificate holds when the multipliers are non-negative, sum to 1 on each bounded
// side, sit on contacts only and balance within `stationarity_tolerance`. Its LP has no step
// cost, so that the balance is exact up to the simplex's tolerance.
certificate certify(const linearisation& lin, minimax_sides sides, double contact_tolerance,
                    double stationarity_tolerance);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_MINIMAX_STEP_H
