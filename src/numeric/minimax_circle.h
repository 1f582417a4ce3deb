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

#include <cstddef>
#include <vector>

#include "numeric/planar.h"

namespace vantor {
namespace detail {

enum class minimax_criterion { zone, inscribed, circumscribed };

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

// The minimax circle of the criterion, from `start` (the zone and inscribed solvers start
// there; for the circumscribed circle it only chooses the candidates).
minimax_circle solve_minimax_circle(const std::vector<point2>& points, point2 start,
                                    minimax_criterion criterion);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_MINIMAX_CIRCLE_H
