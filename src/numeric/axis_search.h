// SPDX-License-Identifier: Apache-2.0
// The least-squares fits of axial elements (cylinder, cone) to points centred on their
// centroid: the search for the basin of the best optimum over a domain of axis directions.
//
// Algebraic element. For a given axis direction the element is found algebraically: in a frame
// whose z is the direction, the points satisfy (x - a)^2 + (y - b)^2 = (r + k z)^2, which is
// linear in (a, b, r^2 - a^2 - b^2) for a cylinder (k = 0; the Kasa circle of the projected
// points) and, with k^2 taken from the solution before (at first 0; four passes), in
// (a, b, r^2 - a^2 - b^2, r k) for a cone. (A free coefficient of z^2 would fit the ellipses
// that sections make seen along a tilted axis, and rate all directions near the axis of a cone
// measured in two sections alike.) The normal equations are sums of products of the
// coordinates up to the fourth degree, so they follow for any direction from the moment
// tensors of the points (axial_moments), summed once in coordinates scaled to the extent: a
// direction costs a few hundred operations whatever the number of points. Neither element needs
// the apex of a cone near the points.
//
// Why rating directions is not enough. The algebraic score of a direction is small only where
// the projected points lie on one circle; the least-squares optimum is reached only from
// directions inside its basin, which may be as narrow as radius / length radians (two short
// sections far apart, projected along a slightly tilted axis, are two circles offset by length
// times the tilt). A shaft measured in two sections at random angles has principal axes
// tilted by more than that, and a direction across the part, whose algebraic element is a
// large circle through both sections, may score better than any direction near the axis.
// Candidates are therefore compared by their refined sums of squares, never by their scores.
//
// The search (refined_axial_start):
//   1. A lattice of directions, equally spaced angles 0.04 rad apart: over the whole
//      sphere of axes, three overlapping patches centred on the principal axes (a cube's
//      faces, each reaching two steps beyond its edges), or, in a domain of largest tilt below
//      45 degrees, one patch over its cap. The patches are oriented by the principal axes and
//      symmetric in their signs, so a rotated copy of the points sees the rotated lattice.
//      Every direction of the domain lies within about 0.03 rad of a lattice direction, inside
//      the narrowest basin of the samplings fitted in practice (two or three sections, bands,
//      sectors down to 20 degrees, sparse points, noisy clouds); seeded families of them all
//      reach the optimum of a start at their generating element from the lattice alone at
//      spacings up to 0.05 rad.
//   2. The local minima of the algebraic score over the lattice (each lower than its eight
//      neighbours; a minimum of the score lies where the projected points come closest to one
//      circle, which every basin of the sum of squares contains for points near an element),
//      the best 32 of them more than a lattice step apart, with the principal axes and, in a
//      restricted domain, its axis: the starts. Each is rated again by the mean squared
//      geometric distance of the points (rating_sample of them) from its algebraic element.
//   3. Every start is refined by a few Levenberg-Marquardt iterations on the rating sample, and
//      the four best (their axes in the domain first, then by sum of squares, starts rated
//      better first among sums equal within rounding) whose axes lie apart are refined to
//      convergence on all the points given.
//   4. Of the converged results whose axes the domain admits, the one with the smallest sum of
//      squares wins; of two equal within rounding (with no more points than parameters every
//      interpolating element is an optimum), the one from the better rated start.
// The cost is that of the lattice (about 6000 directions from the moments) and of about 35
// short refinements on at most 64 points, fixed whatever the number of points, and of four
// refinements on the points given (the caller's start sample).
#ifndef VANTOR_NUMERIC_AXIS_SEARCH_H
#define VANTOR_NUMERIC_AXIS_SEARCH_H

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <tuple>
#include <vector>

#include "numeric/axis_domain.h"
#include "numeric/fit_status.h"
#include "numeric/gauss_newton.h"
#include "numeric/sample.h"
#include "numeric/scatter.h"
#include "numeric/spatial.h"

namespace vantor {
namespace detail {

// The points on which the search rates and first refines its starts: at most this many.
constexpr std::size_t rating_sample = 64;

// A start for an axial fit.
struct axial_start {
    frame3 frame;   // z along the axis
    point3 origin;  // the point of the axis nearest the coordinate origin
    double radius;  // the radius at `origin`
    double slope;   // the change of radius per unit length along z (0 for a cylinder)
    double score;   // the mean squared distance of the points from the element
};

// The sums over points of the products of their coordinates up to the fourth degree, scaled
// by their extent, from which the algebraic element about any direction follows.
class axial_moments {
  public:
    explicit axial_moments(const std::vector<point3>& points);

    // The element about an axis along unit `direction`, tapered (a cone) or not (a cylinder);
    // empty when the system is singular or gives no real radius. Its score is the algebraic
    // residual's mean square divided by (2 radius)^2, about the mean squared distance for
    // points near the element.
    std::optional<axial_start> element(point3 direction, bool tapered) const;

  private:
    double scale_ = 0.0;
    double count_ = 0.0;
    double m1_[3] = {};
    double m2_[3][3] = {};
    double m3_[3][3][3] = {};
    double m4_[3][3][3][3] = {};
    // Sums of s, s q, s q q^T and s^2, s = |q|^2.
    double s0_ = 0.0;
    double s1_[3] = {};
    double s2_[3][3] = {};
    double ss_ = 0.0;
};

// The mean squared distance of the points from the element of `s`.
double mean_squared_distance(const std::vector<point3>& points, const axial_start& s);

// The starts of the search (steps 1 and 2 of the file comment) for `points`, whose principal
// axes are `axes`, each scored on `rating` (a sample of them). Empty when no admitted
// direction gives an algebraic element.
std::vector<axial_start> search_starts(const std::vector<point3>& points,
                                       const std::vector<point3>& rating,
                                       const principal_axes& axes, const axis_domain& domain,
                                       bool tapered);

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

// The outcome of an axial fit: with status ok, `result` holds the optimum reached (converged
// or not); no_start when no direction gives an algebraic element; outside_domain when every
// converged optimum has its axis outside the domain.
template <class Model>
struct axial_fit {
    fit_status status = fit_status::no_start;
    least_squares_result<Model> result{};
};

// The search of the file comment for a fit of Model (a cylinder or cone model) to the points,
// whose principal axes are `axes`. `state_of` turns an axial_start into a Model::state;
// `scale` is the unit of lengths for the model.
template <class Model, class StateOf>
axial_fit<Model> refined_axial_start(const std::vector<point3>& points, const principal_axes& axes,
                                     double scale, bool tapered, const axis_domain& domain,
                                     const StateOf& state_of) {
    constexpr int short_iterations = 8;
    constexpr std::size_t finalists = 4;
    // Finalists closer than this (radians) are taken to be in one basin.
    const double apart = std::cos(0.01);

    axial_fit<Model> fit;
    const std::vector<point3> small = strided_sample(points, rating_sample);
    const std::vector<axial_start> starts = search_starts(points, small, axes, domain, tapered);
    if (starts.empty()) return fit;

    struct trial {
        least_squares_result<Model> refined;
        double score;
        std::tuple<bool, double, double> rank;  // outside the domain, sum of squares, score
    };
    const Model coarse(small, scale);
    std::vector<trial> trials;
    trials.reserve(starts.size());
    for (const axial_start& s : starts) {
        trial t{minimise_squares(coarse, state_of(s), short_iterations), s.score, {}};
        const normal_equations<Model::size>& ne = t.refined.at_solution;
        // Sums equal within their rounding rank alike, the better rated start first.
        const double sum = std::isfinite(ne.sum_of_squares)
                               ? std::max(0.0, ne.sum_of_squares - ne.rounding)
                               : std::numeric_limits<double>::infinity();
        t.rank = {!domain.admits(t.refined.state.frame.z), sum, s.score};
        trials.push_back(t);
    }
    std::sort(trials.begin(), trials.end(),
              [](const trial& a, const trial& b) { return a.rank < b.rank; });

    const Model model(points, scale);
    std::vector<point3> taken;
    std::optional<least_squares_result<Model>> best, unconverged;
    double best_score = 0.0;
    bool outside = false;
    for (const trial& t : trials) {
        if (taken.size() == finalists) break;
        const point3 axis = t.refined.state.frame.z;
        if (std::any_of(taken.begin(), taken.end(),
                        [&](const point3& d) { return std::abs(dot(d, axis)) > apart; }))
            continue;
        taken.push_back(axis);
        const least_squares_result<Model> r = minimise_squares(model, t.refined.state);
        if (!r.converged) {
            if (!unconverged) unconverged = r;
        } else if (!domain.admits(r.state.frame.z)) {
            outside = true;
        } else if (!best || better_optimum(r.at_solution, t.score, best->at_solution, best_score)) {
            best = r;
            best_score = t.score;
        }
    }
    if (best || unconverged) {
        fit.status = fit_status::ok;
        fit.result = best ? *best : *unconverged;
    } else if (outside) {
        fit.status = fit_status::outside_domain;
    }
    return fit;
}

// The least-squares fit of Model (a cylinder or cone model) to the points (a Points sequence,
// sample.h): refined_axial_start on every k-th point (at most start_sample_limit of them), then
// the fit of all points from there, whose axis the domain must admit too.
template <class Model, class Points, class StateOf>
axial_fit<Model> fit_axial(const Points& points, const principal_axes& axes, bool tapered,
                           const axis_domain& domain, const StateOf& state_of) {
    const double scale = extent_of(axes, points.size());
    const std::vector<point3> sample = strided_sample(points, start_sample_limit);
    axial_fit<Model> fit =
        refined_axial_start<Model>(sample, axes, scale, tapered, domain, state_of);
    if (fit.status == fit_status::ok && sample.size() < points.size()) {
        fit.result = minimise_squares(Model(points, scale), fit.result.state);
        if (fit.result.converged && !domain.admits(fit.result.state.frame.z))
            fit.status = fit_status::outside_domain;
    }
    return fit;
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_AXIS_SEARCH_H
