// Start elements for the fits of axial elements (cylinder, cone) to points centred on their
// centroid.
//
// For a given axis direction the element is found algebraically: in a frame whose z is the
// direction, the points satisfy (x - a)^2 + (y - b)^2 = (r + k z)^2, which is linear in
// (a, b, r^2 - a^2 - b^2) for a cylinder (k = 0; the Kasa circle of the projected points) and in
// (a, b, r^2 - a^2 - b^2, r k, k^2) for a cone, solved through its normal equations (in
// coordinates scaled to the extent, by a column-pivoted QR). Neither needs the apex of a cone
// near the points. A direction is rated by the mean squared geometric distance of the points
// from the element so found.
//
// Candidate directions are the principal axes of the points (a full surface of revolution has
// its axis among them) and, when those are in doubt (a sector, a short length, two spreads
// alike), a Fibonacci lattice of 200 directions over the hemisphere, about 10 degrees apart,
// rated on a sample of at most 64 of the points.
//
// The search (refined_axial_start): the principal axis with the best algebraic element is
// refined by the model's least-squares fit; when the points do not surround the refined axis,
// or its principal spread is not distinct from the others, or the refinement did not converge,
// or there are no more points than parameters, the four best directions of the lattice (more
// than 0.3 rad apart) are refined on the rating sample, the best of them on all the points,
// and it replaces the principal element if its sum of squares is smaller (of two equal within
// rounding, the one from the better rated start wins).
#ifndef VANTOR_NUMERIC_AXIS_SEARCH_H
#define VANTOR_NUMERIC_AXIS_SEARCH_H

#include <algorithm>
#include <iterator>
#include <optional>
#include <vector>

#include "numeric/gauss_newton.h"
#include "numeric/sample.h"
#include "numeric/scatter.h"
#include "numeric/spatial.h"

namespace vantor {
namespace detail {

// The points on which the search rates its directions: at most this many.
constexpr std::size_t rating_sample = 64;

// A start for an axial fit.
struct axial_start {
    frame3 frame;   // z along the axis
    point3 origin;  // the point of the axis nearest the coordinate origin
    double radius;  // the radius at `origin`
    double slope;   // the change of radius per unit length along z (0 for a cylinder)
    double score;   // the mean squared distance of the points from the element
};

// The element about an axis along `direction` (unit), tapered (a cone) or not (a cylinder);
// empty when the system is singular or gives no real radius.
std::optional<axial_start> algebraic_axial(const std::vector<point3>& points, point3 direction,
                                           bool tapered);

// `count` directions of a Fibonacci lattice on the hemisphere z > 0.
std::vector<point3> hemisphere_directions(int count);

// The best starts over the directions, by their score on the points (the caller's rating
// sample): at most `count`, each more than `separation` radians from the axes of those before
// it.
std::vector<axial_start> best_axial_starts(const std::vector<point3>& points,
                                           const std::vector<point3>& directions, bool tapered,
                                           int count, double separation);

// True when the points, seen along the axis, surround it: no angular gap of 180 degrees.
bool surrounds_axis(const std::vector<point3>& points, const frame3& frame, point3 origin);

// True when eigenvalue k of the axes differs from each other one by a factor of 1.25 or more,
// so that its axis is well defined.
bool distinct_spread(const principal_axes& axes, int k);

// True when the sums a (from a start rated a_score) make a better optimum than the sums b:
// a smaller sum of squares, or one equal within the rounding of both and a better rated start.
template <int P>
bool better_optimum(const normal_equations<P>& a, double a_score, const normal_equations<P>& b,
                    double b_score) {
    const double tie = std::max(a.rounding, b.rounding);
    if (a.sum_of_squares < b.sum_of_squares - tie) return true;
    if (a.sum_of_squares > b.sum_of_squares + tie) return false;
    return a_score < b_score;
}

// The refined start of a fit of Model (a cylinder or cone model) to the points, whose
// principal axes are `axes`: see the file comment. `state_of` turns an axial_start into a
// Model::state; `scale` is the unit of lengths for the model. Empty when no direction gives an
// algebraic element.
template <class Model, class StateOf>
std::optional<least_squares_result<Model>> refined_axial_start(const std::vector<point3>& points,
                                                               const principal_axes& axes,
                                                               double scale, bool tapered,
                                                               const StateOf& state_of) {
    const Model model(points, scale);
    std::optional<axial_start> start;
    int principal = -1;
    for (int k : {2, 0, 1}) {
        const std::optional<axial_start> s = algebraic_axial(points, axes.axis[k], tapered);
        if (s && (!start || s->score < start->score)) {
            start = s;
            principal = k;
        }
    }
    std::optional<least_squares_result<Model>> best;
    double best_score = 0.0;
    if (start) {
        best = minimise_squares(model, state_of(*start));
        best_score = start->score;
    }
    // With no more points than parameters every interpolating element is an optimum: the
    // search, not the principal axes, then chooses among them.
    const bool doubtful = !best || !best->converged ||
                          points.size() <= static_cast<std::size_t>(Model::size) ||
                          !surrounds_axis(points, best->state.frame, best->state.origin) ||
                          !distinct_spread(axes, principal);
    if (!doubtful) return best;
    // The search directions' starts are refined on the sample they were rated on, the best of
    // them once more on all the points given.
    std::vector<point3> directions = hemisphere_directions(200);
    directions.insert(directions.end(), std::begin(axes.axis), std::end(axes.axis));
    const std::vector<point3> small = strided_sample(points, rating_sample);
    const Model coarse(small, scale);
    std::optional<least_squares_result<Model>> found;
    double found_score = 0.0;
    for (const axial_start& s : best_axial_starts(small, directions, tapered, 4, 0.3)) {
        const least_squares_result<Model> r = minimise_squares(coarse, state_of(s));
        if (!r.converged) continue;
        if (found && !better_optimum(r.at_solution, s.score, found->at_solution, found_score))
            continue;
        found = r;
        found_score = s.score;
    }
    if (!found) return best;
    const least_squares_result<Model> r =
        small.size() == points.size() ? *found : minimise_squares(model, found->state);
    if (r.converged && (!best || !best->converged ||
                        better_optimum(r.at_solution, found_score, best->at_solution, best_score)))
        best = r;
    return best;
}

// The least-squares fit of Model (a cylinder or cone model) to the points: refined_axial_start
// on every k-th point (at most start_sample_limit of them), then the fit of all points from
// there. Empty when no direction gives an algebraic element.
template <class Model, class StateOf>
std::optional<least_squares_result<Model>> fit_axial(const std::vector<point3>& points,
                                                     const principal_axes& axes, bool tapered,
                                                     const StateOf& state_of) {
    const double scale = extent_of(axes, points.size());
    const std::vector<point3> sample = strided_sample(points, start_sample_limit);
    std::optional<least_squares_result<Model>> fit =
        refined_axial_start<Model>(sample, axes, scale, tapered, state_of);
    if (fit && sample.size() < points.size())
        fit = minimise_squares(Model(points, scale), fit->state);
    return fit;
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_AXIS_SEARCH_H
