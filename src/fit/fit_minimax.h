// SPDX-License-Identifier: Apache-2.0
// What the minimax fits of the fitting interface share: the sides a criterion bounds, the
// reasons a minimax solver gives for failing, and the report's progress and contact tolerance.
#ifndef VANTOR_FIT_FIT_MINIMAX_H
#define VANTOR_FIT_FIT_MINIMAX_H

#include <chrono>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "fit/fit_report.h"
#include "numeric/axis_domain.h"
#include "numeric/cylinder_fit.h"
#include "numeric/interval_slope.h"
#include "numeric/minimax_bound.h"
#include "numeric/minimax_fit.h"
#include "numeric/scatter.h"
#include "vantor/fit.h"

namespace vantor::detail {

// zone: both sides; circumscribed: the largest residual; inscribed: the smallest. Not for gauss.
minimax_sides sides_of(criterion c);

// The failure of a solver's status for criterion c and the element ("cylinder"); `enclosed`
// names what the points of an inscribed element must surround ("the axis").
failure minimax_failure(minimax_status status, criterion c, const char* element,
                        const char* enclosed);

// Where the fitted surface of criterion c lies among the residuals of a minimax solution (its
// radius, for a sphere or cylinder): the middle of a zone, the smallest residual for an inscribed
// element, the largest for a circumscribed one.
double surface_level(criterion c, const minimax_report& solution);

// The signed distances from that surface at which the contacts lie: both edges of a zone, the
// surface itself for an inscribed or circumscribed element.
std::vector<double> contact_distances(criterion c, const minimax_report& solution);

// The iterations (the solver's steps) and convergence of a certified solution.
void take_progress(fit_report& report, const minimax_report& solution);

// Points within this distance of the boundary of a minimax element are its contacts: the
// solver's contact tolerance, or 1e-12 of the size of the coordinates if that is larger (the
// report measures in the points' own coordinates, the solver about their centroid).
double contact_tolerance(const scatter3& s, const minimax_report& solution);

// Fills the report's proof: `objective` and `lower` are the solver's objective at the result
// and its proved lower bound, in lengths (high - low for a zone, high for a circumscribed
// element, -low for an inscribed one); a line's zone is a diameter, twice its outer radius.
// `extent` is the extent of the points.
void take_proof(fit_report& report, criterion c, double objective, double lower, double extent,
                bool diameter = false);

// The charts that cover the axis directions within `tilt` radians of the frame's z (all of
// them for 45 degrees or more: three frames along its axes), each searched over tilts
// |(a, b)|_inf <= tan_half (tilted()'s units) with `tan_half` returned.
std::vector<frame3> direction_charts(const frame3& around, double tilt, double& tan_half);

// How far, in extents, the centre or axis of a round element's minimax fit of criterion c may lie
// from the least-squares one: half the least-squares radius, at most one extent. Within it the
// points surround the centre or axis (an inscribed element needs this) and every point keeps a
// distance of about half the radius from it, where its distance is smooth and the proof's
// bounds are tight; an axis farther off is not the feature's. A circumscribed element may go
// as far as the radius itself, however short the points' extent: the smallest circle holding a
// sector's arc is centred on its chord.
double position_reach(criterion c, double radius, double extent);

// Whether an axis through `origin` along the frame's z passes within `reach` (a length) of the
// point `from`: an axial element's position domain, a ball about a point of the least-squares
// axis, the same in every pose (unlike the box of steps the proof searches, which holds it).
inline bool passes_within(const frame3& f, const point3& origin, const point3& from, double reach) {
    const point3 w = from - origin;
    return norm(w - dot(w, f.z) * f.z) <= reach;
}

// The search domain of a line, cylinder or cone fitted over the box of axis_charts() about
// `origin` (the least-squares axis point): axes within the tilt `domain` admits that pass within
// `reach` (a length) of origin. A cell of the box (steps: shifts in extents of `unit`, then
// tilts) holds no such axis when every tilt in it exceeds the domain's (`one_chart`: the box's
// tilts are measured from the domain's axis) or when its shifts and tilts keep every axis
// farther.
template <class State>
search_domain<State> axial_domain(const axis_domain& domain, bool one_chart, const point3& origin,
                                  double reach, double unit) {
    search_domain<State> d;
    const double largest = std::tan(domain.max_tilt);
    const bool tilted = one_chart && !domain.unrestricted();
    d.outside = [=](const double* centre, const double* half) {
        const auto nearest = [&](int k) { return std::max(0.0, std::abs(centre[k]) - half[k]); };
        const auto farthest = [&](int k) { return std::abs(centre[k]) + half[k]; };
        if (tilted && std::hypot(nearest(2), nearest(3)) > largest) return true;
        // The axis through q = (s0, s1, 0) extents along (a, b, 1) passes at a distance whose
        // square is (s0^2 + s1^2 + (s0 b - s1 a)^2) / (1 + a^2 + b^2) extents squared: its
        // least over the cell, from intervals, so that a cell about an axis that passes too far
        // is skipped however small it is.
        const auto side = [&](int k) { return interval(centre[k] - half[k], centre[k] + half[k]); };
        const interval cross = side(0) * side(3) - side(1) * side(2);
        const double least_cross = cross.lo > 0.0 ? cross.lo : cross.hi < 0.0 ? -cross.hi : 0.0;
        const double steepest = std::hypot(farthest(2), farthest(3));
        // (A margin of 1e-12 for the rounding of either side.)
        return unit * std::hypot(nearest(0), nearest(1), least_cross) >
               (1.0 + 1e-12) * reach * std::hypot(1.0, steepest);
    };
    d.admits = [=](const State& at) {
        return domain.admits(at.frame.z) && passes_within(at.frame, at.origin, origin, reach);
    };
    return d;
}

// The limits of a fit's proof from its options: 3e7 work units (residual evaluations) per
// second of the time budget, and a hard deadline at 30 times it. A unit, with its share of the
// cells' linear programs, takes about 28 ns on a current core: a proof that does not close
// ends in about 0.8 s of a 1 s budget, local solver included.
bound_limits proof_limits(const fit_options& options);

// The charts of direction_charts() as axis states through `origin` (lines, cylinders).
std::vector<cylinder_state> axis_charts(const frame3& around, double tilt, const point3& origin,
                                        double& tan_half);

// The minimax fit of `points` (centred) under the model from `start`, then its proof over the
// boxes |s| <= half about the `references` (prove_restarting): when the proof finds a better
// state, the solver runs again from there and the better certified result is kept. (So the
// solver's second start, a guard against a nearby local optimum, is not needed: the proof's
// search is global.) `lower` receives the proved bound.
//
// The solver is not confined to the domain (search_domain: the states it admits, and the cells
// of the box that hold none, which the proof skips; all of the box when empty): when
// its result lies outside, the fit goes on from `start` (which must lie inside), and a solver
// run that leaves the domain again is replaced by the search's own state, so that the result
// is the best element of the domain the search found, proved when the search closes.
template <class Model, class Points>
minimax_solution<typename Model::state> solve_and_prove(
    const Model& model, const Points& points, const typename Model::state& start,
    minimax_sides sides, const std::vector<typename Model::state>& references, const double* half,
    const fit_options& options, double& lower,
    const search_domain<typename Model::state>& domain = {}) {
    using solution = minimax_solution<typename Model::state>;
    const auto inside = [&](const typename Model::state& s) {
        return !domain.admits || domain.admits(s);
    };
    solution m = solve_minimax(model, points, start, sides, false);
    lower = -std::numeric_limits<double>::infinity();
    if (m.status != minimax_status::ok) return m;
    if (!inside(m.state)) {
        solution from_start = solution_at(model, points, start, sides);
        from_start.steps = m.steps;
        from_start.passes += m.passes;
        m = std::move(from_start);
    }
    bound_limits limits = proof_limits(options);
    const auto restart = [&](const typename Model::state& from, double objective, solution& kept) {
        solution again = solve_minimax(model, points, from, sides, false);
        if (again.status != minimax_status::ok || !inside(again.state) ||
            !(again.objective < objective)) {
            if (!inside(from)) return false;
            again = solution_at(model, points, from, sides);
        }
        if (!(again.objective < objective)) return false;
        again.start_objective = kept.start_objective;
        again.steps += kept.steps;
        again.passes += kept.passes;
        kept = std::move(again);
        return true;
    };
    lower = prove_restarting(
        model, points, m, [](const solution& x) { return x.state; }, restart, references, half,
        sides, limits, domain);
    return m;
}

}  // namespace vantor::detail

#endif  // VANTOR_FIT_FIT_MINIMAX_H
