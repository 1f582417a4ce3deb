// SPDX-License-Identifier: Apache-2.0
// Minimax circles of large point sets, solved on the points that can decide them.
//
// Only points near the extremes of the distances from a centre close to the optimum's can
// touch a minimax circle: the farthest for the minimum circumscribed circle, the nearest for
// the maximum inscribed one, both for the minimum zone. The exact solver of the criterion runs
// on the points within 2 % of the spread of those distances from the relevant extreme (for a
// closed profile, the points near its peaks and valleys); one pass then checks every point
// against the result. The (at most 64) points outside it by most join the candidates and the
// solver runs again (after ten rounds, or when on the candidates it found no optimum, on all
// points). A result that holds every point is the solution for all of them: the subset's problem
// has fewer constraints, so its optimum is no worse, and one that every point satisfies is
// feasible for all, with the same contacts certifying it.
#ifndef VANTOR_NUMERIC_MINIMAX_CIRCLE_H
#define VANTOR_NUMERIC_MINIMAX_CIRCLE_H

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "numeric/minimax_step.h"
#include "numeric/planar.h"
#include "numeric/sample.h"

namespace vantor {
namespace detail {

struct minimax_circle {
    point2 centre;
    // The radii of the zone's inner and outer circle; both the radius of an inscribed or
    // circumscribed circle.
    double inner, outer;
    solver_outcome outcome;
    std::size_t candidates;  // the points the solver saw in its last round
    // False for an inscribed circle when the points do not surround the start.
    bool surrounded;
};

namespace minimax_circle_limits {

constexpr int rounds_on_candidates = 10;
constexpr double band_fraction = 0.02;
constexpr std::size_t added_per_round = 64;

}  // namespace minimax_circle_limits

// The circle of the criterion for `subset`, by the exact solver, from `start`.
minimax_circle circle_of_subset(std::vector<point2>&& subset, point2 start, minimax_sides sides);

// The points of a sequence at the indices given.
template <class Points>
std::vector<point2> gather(const Points& points, const std::vector<std::size_t>& indices) {
    std::vector<point2> subset;
    subset.reserve(indices.size());
    for (std::size_t i : indices) subset.push_back(points[i]);
    return subset;
}

// The minimax circle of the criterion for points (a sequence of point2 with size() and
// operator[], numeric/sample.h), from `start` (the zone and inscribed solvers start there; for
// the circumscribed circle it only chooses the candidates). A last round on all points, after
// ten rounds of candidates, copies them for the exact solver.
template <class Points>
minimax_circle solve_minimax_circle(const Points& points, point2 start, minimax_sides sides) {
    using namespace minimax_circle_limits;
    // Squared distances from the start: no square root per point. Two passes compute them, for
    // their extremes and then for the candidates, so that no array as long as the points is
    // kept.
    const auto square = [&points, start](std::size_t i) {
        const point2 d = points[i] - start;
        return dot(d, d);
    };
    double lowest = std::numeric_limits<double>::infinity(), highest = 0.0;
    note_pass(points);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double q = square(i);
        lowest = std::min(lowest, q);
        highest = std::max(highest, q);
    }
    const double low = std::sqrt(lowest), high = std::sqrt(highest);
    const double band = band_fraction * (high - low);
    const bool near_inner = sides != minimax_sides::outer;
    const bool near_outer = sides != minimax_sides::inner;
    const double inner_limit = (low + band) * (low + band);
    const double outer_limit = high - band > 0.0 ? (high - band) * (high - band) : 0.0;
    std::vector<std::size_t> candidates;
    note_pass(points);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double q = square(i);
        if ((near_inner && q <= inner_limit) || (near_outer && q >= outer_limit))
            candidates.push_back(i);
    }
    // The maximum inscribed circle is determined when the points surround the start; the
    // candidates, if they do, answer for all.
    if (sides == minimax_sides::inner && !surrounded(gather(points, candidates), start) &&
        !surrounded(points, start)) {
        minimax_circle none{};
        none.surrounded = false;
        return none;
    }

    const double tolerance = 1e-12 * high;
    std::vector<char> chosen(points.size(), 0);
    for (std::size_t i : candidates) chosen[i] = 1;
    for (int round = 0;; ++round) {
        const bool everything = round >= rounds_on_candidates;
        minimax_circle m = circle_of_subset(
            everything ? std::vector<point2>(vector_of(points)) : gather(points, candidates), start,
            sides);
        m.surrounded = true;
        if (everything) return m;
        // A subset's walk or iteration that found no optimum (a walk that nothing in the
        // subset stops) says nothing of the set: all points decide.
        if (!m.outcome.converged) {
            round = rounds_on_candidates - 1;
            continue;
        }
        // Every point within the result, compared in squares; the points outside it by most
        // join the candidates.
        const double inner = near_inner ? std::max(0.0, m.inner - tolerance) : 0.0;
        const double outer = m.outer + tolerance;
        const double inner_squared = inner * inner, outer_squared = outer * outer;
        note_pass(points);
        const std::vector<std::size_t> outside =
            most_beyond(points.size(), added_per_round, [&](std::size_t i) {
                if (chosen[i]) return 0.0;
                const point2 d = points[i] - m.centre;
                const double r2 = dot(d, d);
                if (near_outer && r2 > outer_squared) return r2 - outer_squared;
                if (near_inner && r2 < inner_squared) return inner_squared - r2;
                return 0.0;
            });
        if (outside.empty()) return m;
        for (std::size_t i : outside) {
            candidates.push_back(i);
            chosen[i] = 1;
        }
    }
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_MINIMAX_CIRCLE_H
