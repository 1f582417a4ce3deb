// SPDX-License-Identifier: Apache-2.0
// Minimax fits of large point sets: sequential linear programming with a trust region, solved on
// the points that can decide the result and checked on all, ending with an optimality
// certificate.
//
// Only points near the extremes of the residuals at a state close to the optimum can bound the
// optimum's residuals. From the start (the least-squares element) the solver takes the points
// within 2 % of the residuals' spread from each bounded extreme (at most 4096 a side, the most
// extreme, and at least the 64 most extreme), solves the problem on them, and measures every
// point at the result in one pass; the (at most 256 a side) points beyond the result's bounds
// by most join the candidates and it solves again (after ten rounds, or when on the candidates
// it finds no optimum, on all points), from the state that was best for all points so far, so
// that the objective for all points never grows. A result that holds every point is a
// solution for all of them: the candidates' problem has fewer constraints, so near the result
// no state is better for all points, and the multipliers certifying it sit on points of the
// set.
//
// Each round's subset is solved by the trust-region steps of minimax_trust_region.h (or, for
// the circumscribed sphere, by Welzl's algorithm); the tunables of all of it are
// minimax::tunables (minimax_solution.h).
//
// The problems of cylinders, cones, lines and the sphere's zone have local minima. A second
// start, the first moved by a step of scaled size spread / extent that lowers the largest
// residual and raises the smallest to first order (along the gradients of the extreme points,
// so that the move is the same for a rotated copy of the points), is solved as well, and the
// better certified result kept: it guards against a local optimum next to the least-squares
// element at the cost of a few more passes.
//
// The result is checked: the certificate of minimax_step.h on every point within 1e-12 of the
// residuals' magnitude of an extreme must hold, and the objective must be no worse than at the
// start. The certificate's stationarity (the first-order fall of the objective per unit step,
// in extents) must be below 1e-9, or below 4 sqrt(kappa tolerance) where the contacts'
// residuals curve by kappa: at an optimum with fewer contacts than a vertex, rounding of the
// objective (the tolerance) leaves the state determined to sqrt(tolerance / kappa) only, over
// which the contacts' gradients turn by sqrt(kappa tolerance). For the thin tube about a line
// (kappa = extent / tube radius) that is some 1e-6.
#ifndef VANTOR_NUMERIC_MINIMAX_FIT_H
#define VANTOR_NUMERIC_MINIMAX_FIT_H

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "numeric/minimax_solution.h"
#include "numeric/minimax_step.h"
#include "numeric/minimax_trust_region.h"
#include "numeric/sample.h"
#include "numeric/spatial.h"

namespace vantor {
namespace detail {
namespace minimax {

// One run from `start`, whose residuals (all points) `r` holds, solving each round's subset
// with solve(subset, from, limits), which returns a subset_outcome; the subset is a vector of
// candidates, or in the last resort all the points.
template <class Model, class Points, class Solver>
minimax_solution<typename Model::state> run(const Model& model, const Points& points,
                                            const typename Model::state& start,
                                            std::vector<double>& r, double low, double high,
                                            minimax_sides sides, double bound,
                                            const Solver& solve) {
    const bool outer = sides != minimax_sides::inner, inner = sides != minimax_sides::outer;
    const limits l = limits_for(bound, low, high, model.unit);
    minimax_solution<typename Model::state> result;
    result.state = start;
    result.start_objective = minimax_objective(sides, low, high);
    result.contact_tolerance = l.contact_tolerance;
    result.passes = 0;

    // The candidates: the points near each bounded extreme at the start.
    const double band = l.tuning.band_fraction * (high - low);
    std::vector<char> chosen(points.size(), 0);
    std::vector<std::size_t> candidates;
    const auto choose = [&](const std::vector<std::size_t>& indices) {
        for (std::size_t i : indices) {
            if (chosen[i]) continue;
            chosen[i] = 1;
            candidates.push_back(i);
        }
    };
    // (An excess of r - low + 1 ranks every point, the largest residual first.)
    if (outer) {
        choose(most_beyond(points.size(), l.tuning.candidate_limit, [&](std::size_t i) {
            return r[i] - (high - band) + l.contact_tolerance;
        }));
        choose(most_beyond(points.size(), l.tuning.candidate_minimum,
                           [&](std::size_t i) { return r[i] - low + 1.0; }));
    }
    if (inner) {
        choose(most_beyond(points.size(), l.tuning.candidate_limit, [&](std::size_t i) {
            return (low + band) - r[i] + l.contact_tolerance;
        }));
        choose(most_beyond(points.size(), l.tuning.candidate_minimum,
                           [&](std::size_t i) { return high - r[i] + 1.0; }));
    }

    std::vector<point3> subset;
    typename Model::state at = start;  // the state with the best objective over all points
    double best = result.start_objective;
    for (int round = 0;; ++round) {
        const bool everything = round >= l.tuning.rounds_on_candidates;
        subset.clear();
        if (!everything)
            for (std::size_t i : candidates) subset.push_back(points[i]);
        const subset_outcome<typename Model::state> s =
            everything ? solve(points, at, l) : solve(subset, at, l);
        result.steps += s.steps;
        result.rounds = round + 1;
        result.candidates = everything ? points.size() : subset.size();
        result.largest_lp = std::max(result.largest_lp, s.largest_lp);
        if (!s.converged && !s.unbounded) {
            // A subset's SLP that found no optimum says nothing of the set: all points decide.
            if (everything) return result;
            round = l.tuning.rounds_on_candidates - 1;
            continue;
        }
        // Every point against the subset's bounds at its result.
        const double subset_low = s.low, subset_high = s.high;
        double all_low, all_high;
        measure_all(model, points, s.state, r, all_low, all_high);
        ++result.passes;
        std::vector<std::size_t> beyond;
        if (!everything) {
            if (outer) {
                const auto b =
                    most_beyond(points.size(), l.tuning.added_per_round, [&](std::size_t i) {
                        return chosen[i] ? 0.0 : r[i] - (subset_high + l.contact_tolerance);
                    });
                beyond.insert(beyond.end(), b.begin(), b.end());
            }
            if (inner) {
                const auto b =
                    most_beyond(points.size(), l.tuning.added_per_round, [&](std::size_t i) {
                        return chosen[i] ? 0.0 : (subset_low - l.contact_tolerance) - r[i];
                    });
                beyond.insert(beyond.end(), b.begin(), b.end());
            }
        }
        if (s.unbounded) {
            if (beyond.empty()) {
                result.status = minimax_status::unbounded;
                return result;
            }
            // The candidates left the set behind; they grow, and start again from where they
            // last held.
            choose(beyond);
            continue;
        }
        if (beyond.empty()) {
            result.state = s.state;
            result.low = all_low;
            result.high = all_high;
            break;
        }
        // The next round starts from the best state for all points so far: a subset's optimum
        // may lie where other points stand out, and the result must be no worse than the start.
        const double objective = minimax_objective(sides, all_low, all_high);
        if (objective < best) {
            best = objective;
            at = s.state;
        }
        choose(beyond);
    }
    result.objective = minimax_objective(sides, result.low, result.high);

    // The certificate, on every point near an extreme.
    std::vector<point3> near;
    std::vector<std::size_t> index;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if ((outer && r[i] >= result.high - l.contact_tolerance) ||
            (inner && r[i] <= result.low + l.contact_tolerance)) {
            near.push_back(points[i]);
            index.push_back(i);
        }
    }
    linearisation lin;
    linearise(model, near, result.state, lin);
    lin.low = result.low / model.unit;
    lin.high = result.high / model.unit;
    // Where the residuals curve by kappa, rounding of the objective (the LP tolerance) leaves
    // the state determined to sqrt(tolerance / kappa) only in the directions the contacts do
    // not fix to first order, and their gradients turn by sqrt(kappa tolerance) over that.
    const auto e = model.at(result.state);
    double kappa = 0.0;
    for (const point3& q : near) kappa = std::max(kappa, e.curvature(q, model.unit, bound));
    const double stationarity =
        std::max(l.tuning.stationarity_tolerance,
                 l.tuning.curvature_margin * std::sqrt(kappa * l.lp_tolerance));
    result.proof = certify(lin, sides, l.contact_tolerance / model.unit, stationarity);
    for (std::size_t& i : result.proof.outer) i = index[i];
    for (std::size_t& i : result.proof.inner) i = index[i];
    const bool no_worse = result.objective <= result.start_objective + l.contact_tolerance;
    result.status =
        result.proof.holds && no_worse ? minimax_status::ok : minimax_status::not_certified;
    return result;
}

}  // namespace minimax

// A solution at state s, as the solver reports one, for a state found otherwise (an exact
// solver's, the proof's search's): the residuals' extremes of every point (one pass), the
// objective and the contact tolerance.
template <class Model, class Points>
minimax_solution<typename Model::state> solution_at(const Model& model, const Points& points,
                                                    const typename Model::state& s,
                                                    minimax_sides sides) {
    minimax_solution<typename Model::state> out;
    std::vector<double> r;
    double bound;
    minimax::measure_all(model, points, s, r, out.low, out.high, &bound);
    out.state = s;
    out.objective = out.start_objective = minimax_objective(sides, out.low, out.high);
    out.contact_tolerance =
        minimax::limits_for(bound, out.low, out.high, model.unit).contact_tolerance;
    out.status = minimax_status::ok;
    out.passes = 1;
    return out;
}

// The minimax fit of the points (centred on their centroid) under the model from `start`, with
// the second start described above when `second_start`.
template <class Model, class Points>
minimax_solution<typename Model::state> solve_minimax(const Model& model, const Points& points,
                                                      const typename Model::state& start,
                                                      minimax_sides sides, bool second_start) {
    constexpr int p = Model::size;
    std::vector<double> r;
    double low, high, bound;
    minimax::measure_all(model, points, start, r, low, high, &bound);

    const auto slp = [&model, sides](const auto& subset, const typename Model::state& from,
                                     const minimax::limits& l) {
        return minimax::solve_on(model, subset, from, sides, l);
    };
    minimax_solution<typename Model::state> first =
        minimax::run(model, points, start, r, low, high, sides, bound, slp);
    first.passes += 1;
    const double spread = (high - low) / model.unit;
    if (!second_start || !(spread > 0.0) || first.status == minimax_status::unbounded) return first;

    // The second start: a step of scaled size `spread` that lowers the largest residual and
    // raises the smallest (on the sides bounded) to first order, along the gradients of the
    // points at the extremes, so that a rotated copy of the points gets the same move.
    const auto e = model.at(start);
    const std::size_t highest =
        static_cast<std::size_t>(std::max_element(r.begin(), r.end()) - r.begin());
    const std::size_t lowest =
        static_cast<std::size_t>(std::min_element(r.begin(), r.end()) - r.begin());
    double g_high[p], g_low[p], step[p], largest = 0.0;
    e(points[highest], g_high);
    e(points[lowest], g_low);
    for (int k = 0; k < p; ++k) {
        step[k] = (sides != minimax_sides::inner ? -g_high[k] : 0.0) +
                  (sides != minimax_sides::outer ? g_low[k] : 0.0);
        step[k] *= model.scale[k] / model.unit;
        largest = std::max(largest, std::abs(step[k]));
    }
    if (!(largest > 0.0)) return first;
    for (int k = 0; k < p; ++k) step[k] *= spread / largest * model.scale[k];
    const typename Model::state perturbed = model.moved(start, step);
    minimax::measure_all(model, points, perturbed, r, low, high);
    minimax_solution<typename Model::state> second =
        minimax::run(model, points, perturbed, r, low, high, sides, bound, slp);
    const int passes = first.passes + second.passes + 1;
    const bool better = second.status == minimax_status::ok &&
                        (first.status != minimax_status::ok ||
                         second.objective < first.objective - 1e-12 * std::abs(first.objective));
    // The start that counts is the first, the least-squares element: the second result is
    // kept only when it is better than the first, which is no worse than its start.
    const double start_objective = first.start_objective;
    minimax_solution<typename Model::state> kept = better ? std::move(second) : std::move(first);
    kept.passes = passes;
    kept.second_start = better;
    kept.start_objective = start_objective;
    return kept;
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_MINIMAX_FIT_H
