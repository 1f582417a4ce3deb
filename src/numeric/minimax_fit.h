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
// On the candidates, each step linearises the residuals (minimax_models.h) and solves the step
// LP of minimax_step.h within the trust region |s_k| <= radius (in the scaled units of the
// model); a step is kept only when it improves the objective on the candidates, and the radius
// follows the ratio of actual to predicted improvement (doubled above 0.75 when the step
// reached the boundary, cut to a quarter of the step below 0.25). It stops when the model
// predicts no improvement beyond rounding (8 eps of the residuals' magnitude), when the radius
// has shrunk to rounding, or after 5000 steps. At a vertex of the linearised problem (as many
// contacts as parameters and bounds) the steps are Newton steps and converge quadratically.
// At an optimum with fewer contacts, which the residuals' curvature decides (two diametral
// contacts of a circle, an open sector's circumscribed cylinder), the LP's steps converge
// linearly at best, held back by the trust region; after three such steps on too few contacts
// the solver takes second-order steps on the contacts (after Hald and Madsen): Newton's method
// on their optimality conditions with the Hessian of the Lagrangian from second differences,
// or, where that Hessian has negative curvature along the contacts (a saddle: the tube about
// a line on two diametral contacts, which a turn of the axis towards them brings nearer both),
// a line search along that direction.
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
#include <limits>
#include <utility>
#include <vector>

#include "numeric/minimax_step.h"
#include "numeric/sample.h"
#include "numeric/spatial.h"

namespace vantor {
namespace detail {

enum class minimax_status {
    ok,             // certified optimum
    not_converged,  // no step limit reached a point where the model predicts no improvement
    unbounded,  // an inscribed element that grows without bound (the points do not enclose it), or
                // a zone whose centre or axis recedes without bound (the points lie nearer a plane)
    not_certified,  // the solver stopped where the optimality condition does not hold
};

struct minimax_report {
    minimax_status status = minimax_status::not_converged;
    // The smallest and largest residual of all points at the result, in lengths.
    double low = 0.0, high = 0.0;
    // The objective (high - low, high or -low) at the start and at the result.
    double start_objective = 0.0, objective = 0.0;
    int steps = 0;               // trust-region steps of the run kept, over all its rounds
    int rounds = 0;              // rounds of the run kept
    int passes = 0;              // passes over all points, both starts
    std::size_t candidates = 0;  // the points the solver saw in its last round
    std::size_t largest_lp = 0;  // the most rows of a step LP
    bool second_start = false;   // the perturbed start found the better optimum
    certificate proof;           // its indices are those of the points
    // Residuals within this distance of an extreme (in lengths) count as contacts.
    double contact_tolerance = 0.0;
};

template <class State>
struct minimax_solution : minimax_report {
    State state;
};

namespace minimax {

constexpr double band_fraction = 0.02;
constexpr std::size_t candidate_limit = 4096;
constexpr std::size_t candidate_minimum = 64;
constexpr std::size_t added_per_round = 256;
constexpr int rounds_on_candidates = 10;
constexpr int max_steps = 5000;
constexpr double eps = std::numeric_limits<double>::epsilon();
constexpr double smallest_trust_radius = 1e-9;
// The trust radius may grow far beyond the points' extent, so that a zone that flattens
// without bound shows so in a few steps.
constexpr double largest_trust_radius = 1e6;
constexpr double flat_zone = 1e3;
constexpr double contact_fraction = 1e-12;
constexpr double stationarity_tolerance = 1e-9;
constexpr double curvature_margin = 4.0;
constexpr int steps_before_newton = 3;
constexpr int newton_iterations = 30;

// What a run needs besides its model: the extent bound of the points (the largest distance of a
// point from the centroid) and the tolerances derived from it.
struct limits {
    double bound;
    double lp_tolerance;       // in units of the fit
    double contact_tolerance;  // in lengths
};

inline limits limits_for(double bound, double low, double high, double unit) {
    const double magnitude = bound + std::max(std::abs(low), std::abs(high));
    return {bound, 8.0 * eps * magnitude / unit, contact_fraction * magnitude};
}

// Residuals and gradients of `subset` at state s, in units of the fit.
template <class Model, class Points>
void linearise(const Model& model, const Points& subset, const typename Model::state& s,
               linearisation& lin) {
    constexpr int p = Model::size;
    const auto e = model.at(s);
    lin.parameters = p;
    lin.value.resize(subset.size());
    lin.gradient.resize(subset.size() * p);
    double factor[p];
    for (int k = 0; k < p; ++k) factor[k] = model.scale[k] / model.unit;
    const double inverse_unit = 1.0 / model.unit;
    note_pass(subset);
    double* g = lin.gradient.data();
    for (std::size_t i = 0; i < subset.size(); ++i, g += p) {
        lin.value[i] = e(subset[i], g) * inverse_unit;
        for (int k = 0; k < p; ++k) g[k] *= factor[k];
    }
    lin.find_extremes();
}

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
    for (int iteration = 0; iteration < newton_iterations; ++iteration) {
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
    double radius = std::clamp(0.5 * (lin.high - lin.low), smallest_trust_radius, 1.0);
    working_set w;
    double step[p];
    const std::size_t vertex = p + (sides == minimax_sides::both ? 2 : 1);
    int stalled = 0;
    std::vector<std::size_t> active;
    std::vector<signed char> active_side;
    std::vector<double> active_weight;
    for (int k = 0; k < max_steps; ++k) {
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
            radius = std::min(2.0 * radius, largest_trust_radius);
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
                (sides == minimax_sides::both && lin.high * model.unit > flat_zone * l.bound)) {
                out.unbounded = true;
                break;
            }
            // Steps held back by the trust region on fewer contacts than a vertex has: the
            // curvature decides, and Newton's method on those contacts converges fast.
            const bool curved = !active.empty() && active.size() < vertex && bounded_by_radius;
            stalled = curved ? stalled + 1 : 0;
            if (stalled >= steps_before_newton) {
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

// The residuals of every point at s into r, with their extremes: one pass. With `bound`, it
// also receives the largest distance of a point from the origin (the centroid).
template <class Model, class Points>
void measure_all(const Model& model, const Points& points, const typename Model::state& s,
                 std::vector<double>& r, double& low, double& high, double* bound = nullptr) {
    const auto e = model.at(s);
    r.resize(points.size());
    low = std::numeric_limits<double>::infinity();
    high = -std::numeric_limits<double>::infinity();
    double farthest = 0.0;
    note_pass(points);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const point3 p = points[i];
        const double v = e(p);
        r[i] = v;
        low = std::min(low, v);
        high = std::max(high, v);
        if (bound != nullptr) farthest = std::max(farthest, dot(p, p));
    }
    if (bound != nullptr) *bound = std::sqrt(farthest);
}

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
    const double band = band_fraction * (high - low);
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
        choose(most_beyond(points.size(), candidate_limit, [&](std::size_t i) {
            return r[i] - (high - band) + l.contact_tolerance;
        }));
        choose(most_beyond(points.size(), candidate_minimum,
                           [&](std::size_t i) { return r[i] - low + 1.0; }));
    }
    if (inner) {
        choose(most_beyond(points.size(), candidate_limit, [&](std::size_t i) {
            return (low + band) - r[i] + l.contact_tolerance;
        }));
        choose(most_beyond(points.size(), candidate_minimum,
                           [&](std::size_t i) { return high - r[i] + 1.0; }));
    }

    std::vector<point3> subset;
    typename Model::state at = start;  // the state with the best objective over all points
    double best = result.start_objective;
    for (int round = 0;; ++round) {
        const bool everything = round >= rounds_on_candidates;
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
            round = rounds_on_candidates - 1;
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
                const auto b = most_beyond(points.size(), added_per_round, [&](std::size_t i) {
                    return chosen[i] ? 0.0 : r[i] - (subset_high + l.contact_tolerance);
                });
                beyond.insert(beyond.end(), b.begin(), b.end());
            }
            if (inner) {
                const auto b = most_beyond(points.size(), added_per_round, [&](std::size_t i) {
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
        std::max(stationarity_tolerance, curvature_margin * std::sqrt(kappa * l.lp_tolerance));
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
