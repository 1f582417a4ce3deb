// SPDX-License-Identifier: Apache-2.0
// Minimum circumscribed sphere: the smallest ball containing points in space.
//
// Welzl's algorithm in three dimensions, written as four nested loops (as the circle's is written
// as three): a point outside the current ball must lie on the boundary of the smallest ball of
// the points seen so far, so the ball is rebuilt through it and, in the inner loops, through one,
// two or three further boundary points; every point that forced a rebuild moves to the front.
// The loops run on a random sample of the points (a fixed seed: the result is reproducible),
// then scans of the rest add to them each point outside the ball, until every point lies in it:
// the inner loops rescan only the sample and the points added (a ball of a random sample leaves
// few outside), and a scan is one test per point. The problem is convex, so the result is the
// global optimum. Optimality: the centre lies in the convex hull of the contact points (two
// diametral points, or three or four around it).
#ifndef VANTOR_NUMERIC_ENCLOSING_SPHERE_H
#define VANTOR_NUMERIC_ENCLOSING_SPHERE_H

#include <cstddef>
#include <utility>
#include <vector>

#include "numeric/minimax_fit.h"
#include "numeric/minimax_models.h"
#include "numeric/sample.h"
#include "numeric/spatial.h"

namespace vantor {
namespace detail {

struct ball3 {
    point3 centre;
    double radius;
};

// The smallest ball containing all points. Its radius is the largest distance of a point from
// the returned centre, so no point lies outside it. An empty set gives the zero ball at the
// origin.
ball3 smallest_enclosing_ball(const std::vector<point3>& points);

// The centre of that ball, computed in the storage of the points given, which are left shifted
// and reordered.
point3 smallest_enclosing_centre(std::vector<point3>&& points);

// Up to this many points the circumscribed sphere runs Welzl on all of them.
constexpr std::size_t small_sphere_set = 4096;

// The minimum circumscribed sphere of points (a Points sequence, sample.h) centred on their
// centroid (`extent` their extent), solved as the other minimax fits are (minimax_fit.h) on the
// points near the largest distance from `start`, each round's subset by smallest_enclosing_ball,
// and certified alike; the state is the centre.
template <class Points>
minimax_solution<point3> circumscribed_sphere(const Points& points, point3 start, double extent) {
    const sphere_distance_model model(extent);
    if (points.size() <= small_sphere_set) {
        // Welzl on every point, and one pass for the extremes: rounds on candidates would cost
        // more passes than they save.
        auto copy = vector_of(points);
        minimax_solution<point3> s = solution_at(
            model, points, smallest_enclosing_centre(std::move(copy)), minimax_sides::outer);
        s.steps = s.rounds = 1;
        s.passes = 2;
        return s;
    }
    std::vector<double> r;
    double low, high, bound;
    minimax::measure_all(model, points, start, r, low, high, &bound);
    const auto welzl = [](const auto& subset, const point3&, const minimax::limits&) {
        minimax::subset_outcome<point3> out;
        const ball3 b = smallest_enclosing_ball(vector_of(subset));
        out.state = b.centre;
        out.high = b.radius;
        out.low = 0.0;
        out.converged = true;
        return out;
    };
    minimax_solution<point3> s =
        minimax::run(model, points, start, r, low, high, minimax_sides::outer, bound, welzl);
    s.passes += 1;
    return s;
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_ENCLOSING_SPHERE_H
