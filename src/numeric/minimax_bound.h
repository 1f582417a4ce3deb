// SPDX-License-Identifier: Apache-2.0
// A proved bound on the global optimum of a minimax fit: branch and bound over a box of the
// element's step parameters about a reference state.
//
// The states searched are model.moved(reference, s) for steps s in a box |s_k| <= half_k (in
// the model's scaled units). Over a cell of the box (a smaller box of centre c and half widths
// h) every residual r_i stays within v_i of its value at the cell's centre, where v_i is the
// model's `cell` bound: a Lipschitz bound of the residual in the step, times the cell's size,
// valid over the whole cell (not a linearisation). So over the cell the objective is at least
//     zone:           max_i (r_i - v_i) - min_j (r_j + v_j)
//     circumscribed:  max_i (r_i - v_i)
//     inscribed:      -min_j (r_j + v_j)
// which is the cell's lower bound, and the objective at the centre is an upper bound of the
// cell's best. A cell this leaves open gets the tangent bound of cell_tangent.h, of second order
// in the cell's size, and the state of its LP's step as a further upper bound. Cells are taken best
// bound first and halved along the side whose variation is largest; a cell whose bound is within
// `tolerance` of the best objective seen is not split further. When none is left the box's minimum
// lies within the tolerance of the best objective seen: the bound is proved.
//
// The objective of a subset of the points is no larger than that of all points at every state,
// so a bound computed on a subset (the points near the extremes of a solution) bounds the
// optimum of all the points; only its tightness depends on the subset chosen.
//
// Cost: a cell costs one pass over the subset, and one on jets when the tangent bound runs. The
// tangent bound closes a cell about the optimum once its size is near sqrt(tolerance /
// curvature), so a few cells a level over some 15 levels prove an optimum, sharp or decided by
// curvature. What stays costly is a long valley of near-optimal states (a narrow sector or
// band, whose axis may move across it at little cost to the objective): the search then ends
// at its work limit with the gap reached.
#ifndef VANTOR_NUMERIC_MINIMAX_BOUND_H
#define VANTOR_NUMERIC_MINIMAX_BOUND_H

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <queue>
#include <utility>
#include <vector>

#include "numeric/cell_tangent.h"
#include "numeric/minimax_step.h"
#include "numeric/sample.h"
#include "numeric/spatial.h"

namespace vantor {
namespace detail {

// When a bound search must stop: after an amount of work (residual evaluations, shared by
// every search of one proof), so that a result never depends on the machine's speed or load,
// and at a hard deadline that only a very slow machine reaches.
struct bound_limits {
    std::chrono::steady_clock::time_point deadline;
    double work = 3e7;

    bool spent() const { return work <= 0.0 || std::chrono::steady_clock::now() > deadline; }
};

// The part of the search box a fit's domain holds, in the box's coordinates (the model's scaled
// steps about a reference): outside(centre, half) is true when no state of that cell lies in
// the domain (the cell needs no bound), admits(state) whether a state found may stand as the
// best. Empty functions stand for the whole box.
template <class State>
struct search_domain {
    std::function<bool(const double* centre, const double* half)> outside;
    std::function<bool(const State&)> admits;
};

template <class State>
struct bound_search {
    // The proved lower bound of the objective over the box, in lengths (inscribed: -radius).
    double lower = -std::numeric_limits<double>::infinity();
    // The smallest objective seen, on the subset or (for the states measured on them) on all
    // points; below it by the tolerance lie only the bounds of the cells left open.
    double best = std::numeric_limits<double>::infinity();
    long cells = 0;
    bool closed = false;  // no cell left whose bound lies more than the tolerance below `best`
    // A state better on all points than the incumbent given, when the search found one.
    bool better = false;
    State better_state{};
};

namespace bounds {

// The work of a point's tangent in a cell's bound, in residual evaluations (25 ns each): two
// evaluations on jets of p derivatives (one of intervals) and its share of the LP, measured at
// 0.1 to 0.5 us for p = 2 to 5.
constexpr double tangent_cost(int p) { return p * p + 1.0; }

// The objective's bounds over the cell from the residuals r at its centre and their
// variations v.
inline void cell_bounds(minimax_sides sides, const std::vector<double>& r,
                        const std::vector<double>& v, double& lower, double& upper) {
    double high = -std::numeric_limits<double>::infinity(), low = -high;
    double high_low = high, low_high = low;
    for (std::size_t i = 0; i < r.size(); ++i) {
        high = std::max(high, r[i]);
        low = std::min(low, r[i]);
        high_low = std::max(high_low, r[i] - v[i]);
        low_high = std::min(low_high, r[i] + v[i]);
    }
    upper = minimax_objective(sides, low, high);
    lower = minimax_objective(sides, low_high, high_low);
    if (sides == minimax_sides::both) lower = std::max(lower, 0.0);
}

}  // namespace bounds

// Branch and bound as described above over the box |s_k| <= half[k] about `reference`, on the
// points `subset` (centred as the model's points are). `incumbent` is the best objective known
// (of a solution found by other means, on all points): cells whose bound lies within
// `tolerance` of it are not split.
//
// A state better than the incumbent by more than the tolerance on the subset goes to
// improves(state), which returns its objective on all points and may add points to the subset.
// Better there, it becomes the incumbent (and `better_state`). Either way the search goes on:
// a cell's bound from a smaller subset stays a bound, so the cells already open are kept and
// bounded again on the larger subset when they come up. Once `checks_left` is spent (each
// check is a pass over all points), the search bounds the optimum of the subset it has.
template <class Model, class Improves>
bound_search<typename Model::state> bound_minimax(
    const Model& model, std::vector<point3>& subset, const typename Model::state& reference,
    const double* half, minimax_sides sides, double& incumbent, double tolerance,
    bound_limits& limits, const Improves& improves, int& checks_left,
    const search_domain<typename Model::state>& domain = {}) {
    constexpr int p = Model::size;
    using state = typename Model::state;
    struct cell {
        double lower;
        double centre[p];
        double half[p];
        int split = -1;        // the side to halve, when the tangent bound chose one
        std::size_t seen = 0;  // the subset's size when the bound was computed
        bool operator<(const cell& o) const { return lower > o.lower; }  // smallest on top
    };
    bound_search<state> out;
    out.best = incumbent;

    // How much each side of the box moves the residuals: the side to halve is the one whose
    // half width times this weight is largest.
    double weight[p];
    for (int k = 0; k < p; ++k) {
        double unit_half[p] = {}, zero[p] = {};
        unit_half[k] = 1.0;
        weight[k] = 0.0;
        const auto bound = model.cell(reference, zero, unit_half);
        for (const point3& q : subset) weight[k] = std::max(weight[k], bound(q));
    }

    std::vector<double> r(subset.size()), v(subset.size());
    tangent_scratch scratch;
    // The best state seen in the box's coordinates (the anchor), even one no better than the
    // incumbent: it approximates where the optimum lies, which the splits keep off their cuts.
    double anchor[p] = {}, anchor_value = std::numeric_limits<double>::infinity();
    const auto consider = [&](double objective, const state& s, const double* at) {
        if (objective < anchor_value) {
            anchor_value = objective;
            std::copy(at, at + p, anchor);
        }
        if (!(objective < out.best) || (domain.admits && !domain.admits(s))) return;
        if (objective < incumbent - tolerance && checks_left > 0) {
            // Better on the subset by more than the tolerance: measured on all points, where it
            // may be the better state; the subset grows, and the anchor, which it may have
            // misled, is forgotten.
            --checks_left;
            const double on_all = improves(s);
            anchor_value = std::numeric_limits<double>::infinity();
            if (on_all < incumbent) {
                incumbent = on_all;
                out.best = std::min(out.best, on_all);
                out.better = true;
                out.better_state = s;
            }
            return;
        }
        out.best = objective;
    };
    const auto objective_on_subset = [&](const state& s) {
        const auto e = model.at(s);
        double low = std::numeric_limits<double>::infinity(), high = -low;
        for (const point3& q : subset) {
            const double value = e(q);
            low = std::min(low, value);
            high = std::max(high, value);
        }
        limits.work -= static_cast<double>(subset.size());
        return minimax_objective(sides, low, high);
    };
    double step[p];
    // One bound of the cell on the subset as it is; stops early when the subset grew on the way.
    const auto bound_on_subset = [&](cell& c) {
        for (int k = 0; k < p; ++k) step[k] = c.centre[k] * model.scale[k];
        const state s = model.moved(reference, step);
        const auto e = model.at(s);
        const auto bound = model.cell(reference, c.centre, c.half);
        r.resize(subset.size());
        v.resize(subset.size());
        for (std::size_t i = 0; i < subset.size(); ++i) {
            r[i] = e(subset[i]);
            v[i] = bound(subset[i]);
        }
        const double earlier = c.seen > 0 ? c.lower : -std::numeric_limits<double>::infinity();
        c.seen = subset.size();
        double upper;
        bounds::cell_bounds(sides, r, v, c.lower, upper);
        c.lower = std::max(c.lower, earlier);
        ++out.cells;
        limits.work -= static_cast<double>(subset.size());
        consider(upper, s, c.centre);
        if (c.lower >= out.best - tolerance || c.seen < subset.size()) return;
        // The Lipschitz bound leaves the cell open: the tangent bound, and its LP's step.
        std::size_t tangents = 0;
        const tangent_bound t = tangent_lower_bound(model, subset, reference, c.centre, c.half, v,
                                                    sides, out.best - tolerance, scratch, tangents);
        limits.work -= static_cast<double>(subset.size()) +
                       bounds::tangent_cost(p) * static_cast<double>(tangents);
        c.lower = std::max(c.lower, t.lower);
        c.split = -1;
        double most = -1.0;
        for (std::size_t k = 0; k < t.remainder_share.size(); ++k) {
            // A small share of every side's Lipschitz variation keeps a side the LP's weights
            // happen to ignore (a tilt, when they rest on points at the pivot's height) from
            // never being cut.
            const double loss =
                t.remainder_share[k] + (t.lipschitz_weight + 0.03) * weight[k] * c.half[k];
            if (loss > most) {
                most = loss;
                c.split = static_cast<int>(k);
            }
        }
        if (t.step.empty()) return;
        double at[p];
        for (int k = 0; k < p; ++k) {
            at[k] = c.centre[k] + t.step[static_cast<std::size_t>(k)] * c.half[k];
            step[k] = at[k] * model.scale[k];
        }
        const state candidate = model.moved(reference, step);
        consider(objective_on_subset(candidate), candidate, at);
    };

    const auto evaluate = [&](cell& c) {
        do bound_on_subset(c);
        while (c.seen < subset.size() && c.lower < out.best - tolerance);
    };

    std::priority_queue<cell> open;
    long splits = 0;
    cell root{};
    for (int k = 0; k < p; ++k) root.half[k] = half[k];
    evaluate(root);
    open.push(root);
    while (!open.empty()) {
        cell c = open.top();
        if (c.lower >= out.best - tolerance) {
            out.closed = true;
            break;
        }
        if (limits.work <= 0.0 || (++splits % 64 == 0 && limits.spent())) break;
        open.pop();
        if (c.seen < subset.size()) {
            // Bounded on fewer points than the subset now holds: bound it on them all first.
            evaluate(c);
            if (c.lower < out.best - tolerance) open.push(c);
            continue;
        }
        int split = c.split;
        if (split < 0) {
            split = 0;
            for (int k = 1; k < p; ++k)
                if (c.half[k] * weight[k] > c.half[split] * weight[split]) split = k;
        }
        // Halved, unless the anchor lies near the middle: then cut a third of the half width
        // beyond it, so that the cells about the optimum hold it well inside (a cut through it
        // would leave up to 2^p cells about it open at every level).
        const double low = c.centre[split] - c.half[split], high = c.centre[split] + c.half[split];
        double cut = c.centre[split];
        const double off = anchor[split] - c.centre[split];
        if (std::abs(off) < c.half[split] / 3.0)
            cut += off >= 0.0 ? -c.half[split] / 3.0 : c.half[split] / 3.0;
        for (const auto& [from, to] : {std::pair<double, double>{low, cut}, {cut, high}}) {
            cell child = c;
            child.half[split] = 0.5 * (to - from);
            child.centre[split] = 0.5 * (from + to);
            if (domain.outside && domain.outside(child.centre, child.half)) continue;
            evaluate(child);
            if (child.lower < out.best - tolerance) open.push(child);
        }
    }
    // Cells dropped had bounds within the tolerance of a best objective that has only fallen
    // since.
    out.lower = out.best - tolerance;
    if (open.empty())
        out.closed = true;
    else
        out.lower = std::min(out.lower, open.top().lower);
    return out;
}

template <class State>
struct minimax_proof {
    // The proved lower bound of the objective over the domain, in lengths (inscribed: minus
    // an upper bound of the radius).
    double lower = -std::numeric_limits<double>::infinity();
    bool closed = false;  // every chart's search closed
    long cells = 0;
    // A state better than the solution for all points, found by the search: the local solver
    // should start again from it.
    bool better = false;
    State better_state{};
};

// The bound of the minimax problem of all `points` over the boxes |s| <= half about each of the
// `references` (charts that together cover the domain), given a solution whose residuals `r`
// (of all points) have the objective `objective`. The search runs on the points near the
// solution's bounded extremes and a spread sample of all; a state it finds better on them by the
// tolerance is measured on all points (16 such measurements, or more on few points: each is
// a pass over the points): the best of them below `objective` is returned as the better state, and
// the points each leaves outside the subset's bounds join the subset. Those measurements overwrite
// r, so that one array of residuals serves the proof.
template <class Model, class Points>
minimax_proof<typename Model::state> prove_minimax(
    const Model& model, const Points& points, std::vector<double>& r, double objective,
    const std::vector<typename Model::state>& references, const double* half, minimax_sides sides,
    double tolerance, bound_limits& limits,
    const search_domain<typename Model::state>& domain = {}) {
    using state = typename Model::state;
    minimax_proof<state> proof;
    const bool outer = sides != minimax_sides::inner, inner = sides != minimax_sides::outer;
    std::vector<char> chosen(points.size(), 0);
    std::vector<point3> subset;
    const auto choose = [&](const std::vector<std::size_t>& indices) {
        for (std::size_t i : indices) {
            if (chosen[i]) continue;
            chosen[i] = 1;
            subset.push_back(points[i]);
        }
    };
    // The points nearest each bounded extreme, and a spread sample: for an inscribed element a
    // dense one, since any centre far from every point of the subset would bound its radius by
    // nothing better than that distance. Small, since a cell's work grows with the subset: the
    // measurements below add the points a better state on it leaves outside.
    constexpr std::size_t per_side = 8;
    // (An excess of r - low + 1 ranks every point, the largest residual first.)
    const auto extremes = std::minmax_element(r.begin(), r.end());
    const double low = *extremes.first, high = *extremes.second;
    if (outer)
        choose(
            most_beyond(points.size(), per_side, [&](std::size_t i) { return r[i] - low + 1.0; }));
    if (inner)
        choose(
            most_beyond(points.size(), per_side, [&](std::size_t i) { return high - r[i] + 1.0; }));
    const std::size_t spread_size = outer ? 8 : 256;
    const std::size_t stride = std::max<std::size_t>(1, points.size() / spread_size);
    std::vector<std::size_t> spread;
    for (std::size_t i = 0; i < points.size(); i += stride) spread.push_back(i);
    choose(spread);

    // A state better on the subset, measured on all points (later states' residuals overwrite
    // r: those of the solution are read no more); the points beyond the subset's bounds at that
    // state join the subset.
    const auto improves = [&](const state& s) {
        const auto e = model.at(s);
        note_pass(points);
        for (std::size_t i = 0; i < points.size(); ++i) r[i] = e(points[i]);
        limits.work -= static_cast<double>(points.size());
        const auto all = std::minmax_element(r.begin(), r.end());
        const double on_all = minimax_objective(sides, *all.first, *all.second);
        double sub_low = std::numeric_limits<double>::infinity(), sub_high = -sub_low;
        for (const point3& q : subset) {
            const double v = e(q);
            sub_low = std::min(sub_low, v);
            sub_high = std::max(sub_high, v);
        }
        constexpr std::size_t added = 32;
        if (outer)
            choose(most_beyond(points.size(), added,
                               [&](std::size_t i) { return chosen[i] ? 0.0 : r[i] - sub_high; }));
        if (inner)
            choose(most_beyond(points.size(), added,
                               [&](std::size_t i) { return chosen[i] ? 0.0 : sub_low - r[i]; }));
        return on_all;
    };
    // Each check costs a pass over all points: 16 of them, and more while they take no more
    // than a sixteenth of the work left (all that the search needs on a few hundred points).
    int checks_left = static_cast<int>(std::min(
        1e6, 16.0 + std::max(0.0, limits.work) / 16.0 / static_cast<double>(points.size())));
    double incumbent = objective;
    proof.lower = std::numeric_limits<double>::infinity();
    proof.closed = true;
    for (const auto& reference : references) {
        const bound_search<state> b =
            bound_minimax(model, subset, reference, half, sides, incumbent, tolerance, limits,
                          improves, checks_left, domain);
        proof.cells += b.cells;
        proof.lower = std::min(proof.lower, b.lower);
        proof.closed = proof.closed && b.closed;
        if (b.better) {
            proof.better = true;
            proof.better_state = b.better_state;
        }
    }
    return proof;
}

// The tolerance of a proof: max(1e-9 x extent, 16 ulp of the objective).
inline double proof_tolerance(double objective, double extent) {
    const double ulp =
        std::nextafter(objective, std::numeric_limits<double>::infinity()) - objective;
    return std::max(1e-9 * extent, 16.0 * ulp);
}

// Proves `solution`, a local optimum whose state is state_of(solution), over the boxes about the
// `references` (to half the proof tolerance of its objective in the model's unit). When the
// search finds a better state, restart(state, objective, solution) runs the local solver from
// it and replaces `solution` when the result is better than `objective`, returning whether it
// did. Every search's bound bounds the domain's optimum, whatever the solution: the largest is
// returned, and a new solution is proved again only when it lies beyond that bound by more than
// the tolerance (three searches at most). The first search runs whatever is left of the
// limits, so the bound is always one a search computed.
template <class Model, class Points, class Solution, class StateOf, class Restart>
double prove_restarting(const Model& model, const Points& points, Solution& solution,
                        const StateOf& state_of, const Restart& restart,
                        const std::vector<typename Model::state>& references, const double* half,
                        minimax_sides sides, bound_limits& limits,
                        const search_domain<typename Model::state>& domain = {}) {
    double lower = -std::numeric_limits<double>::infinity();
    for (int attempt = 0; attempt < 3; ++attempt) {
        // The residuals live only as long as the proof: the restart's solver keeps its own.
        std::vector<double> r(points.size());
        const auto e = model.at(state_of(solution));
        note_pass(points);
        for (std::size_t i = 0; i < points.size(); ++i) r[i] = e(points[i]);
        const auto extremes = std::minmax_element(r.begin(), r.end());
        const double objective = minimax_objective(sides, *extremes.first, *extremes.second);
        const double tolerance = proof_tolerance(std::abs(objective), model.unit);
        if (attempt > 0 && (objective - lower <= tolerance || limits.spent())) break;
        const minimax_proof<typename Model::state> proof = prove_minimax(
            model, points, r, objective, references, half, sides, 0.5 * tolerance, limits, domain);
        r = std::vector<double>();
        lower = std::max(lower, proof.lower);
        if (!proof.better || !restart(proof.better_state, objective, solution)) break;
    }
    return lower;
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_MINIMAX_BOUND_H
