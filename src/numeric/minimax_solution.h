// SPDX-License-Identifier: Apache-2.0
// What the minimax solver reports, the tunables and tolerances of a run, and the passes every
// part of it makes over the points: residuals and gradients of a subset, residuals of all.
#ifndef VANTOR_NUMERIC_MINIMAX_SOLUTION_H
#define VANTOR_NUMERIC_MINIMAX_SOLUTION_H

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
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

// The solver's tunables, in one place: what the rounds take as candidates, how the trust region
// moves, when a result is certified. The defaults are those every fit of the library uses.
struct tunables {
    // Candidates: the points within this fraction of the residuals' spread from each bounded
    // extreme, at most `candidate_limit` a side (the most extreme), and at least the
    // `candidate_minimum` most extreme; each round adds at most `added_per_round` a side, and
    // after `rounds_on_candidates` rounds the solver runs on all points.
    double band_fraction = 0.02;
    std::size_t candidate_limit = 4096;
    std::size_t candidate_minimum = 64;
    std::size_t added_per_round = 256;
    int rounds_on_candidates = 10;
    // The trust-region steps of one run on a subset, and the trust radius's range (scaled
    // units). The radius may grow far beyond the points' extent, so that a zone that flattens
    // without bound shows so in a few steps.
    int max_steps = 5000;
    double smallest_trust_radius = 1e-9;
    double largest_trust_radius = 1e6;
    // A zone whose distances from a centre or axis exceed this many extents is flattening
    // towards a plane.
    double flat_zone = 1e3;
    // Residuals within this fraction of the residuals' magnitude of an extreme are contacts.
    double contact_fraction = 1e-12;
    // The certificate's stationarity: below this, or below curvature_margin sqrt(kappa
    // tolerance) where the contacts' residuals curve by kappa.
    double stationarity_tolerance = 1e-9;
    double curvature_margin = 4.0;
    // Second-order steps after this many steps held back by the trust region on too few
    // contacts, for at most `newton_iterations`.
    int steps_before_newton = 3;
    int newton_iterations = 30;
};

constexpr double eps = std::numeric_limits<double>::epsilon();

// What a run needs besides its model: the extent bound of the points (the largest distance of a
// point from the centroid), the tolerances derived from it, and the tunables.
struct limits {
    double bound;
    double lp_tolerance;       // in units of the fit
    double contact_tolerance;  // in lengths
    tunables tuning{};
};

inline limits limits_for(double bound, double low, double high, double unit,
                         const tunables& t = {}) {
    const double magnitude = bound + std::max(std::abs(low), std::abs(high));
    return {bound, 8.0 * eps * magnitude / unit, t.contact_fraction * magnitude, t};
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

}  // namespace minimax
}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_MINIMAX_SOLUTION_H
