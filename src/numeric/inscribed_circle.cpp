// SPDX-License-Identifier: Apache-2.0
#include "numeric/inscribed_circle.h"

#include <algorithm>
#include <limits>

#include "numeric/sample.h"

namespace vantor {
namespace detail {
namespace {

// Points within this fraction of the data extent of the smallest distance count as nearest.
constexpr double contact_tolerance = 1e-12;
// A largest gap below pi by less than this (radians) counts as a half plane: a diametral pair is
// a saddle of f, not a maximum.
constexpr double angle_tolerance = 1e-12;
constexpr int max_steps = 10000;
// A chord between the two nearest directions shorter than this fraction of the smallest
// distance gives no reliable normal (its direction is mostly rounding); the centre then moves
// along the middle direction of their arc instead.
constexpr double shortest_chord = 1e-6;

}  // namespace

circle2 maximum_inscribed_circle(const std::vector<point2>& points, point2 start,
                                 solver_outcome* outcome) {
    solver_outcome ended;
    if (points.empty()) {
        if (outcome != nullptr) *outcome = ended;
        return {start, 0.0};
    }

    const std::vector<point2> local = offsets_from(points, start);
    const double extent = largest_norm(local);
    const double tolerance = contact_tolerance * extent;

    point2 centre{0.0, 0.0};
    point2 best_centre = centre;
    double best = -1.0;
    std::vector<std::size_t> nearest;
    std::vector<point2> nearest_offsets;
    for (int step = 0; step < max_steps; ++step) {
        ended.steps = step;
        double smallest = std::numeric_limits<double>::infinity();
        for (const point2& q : local) smallest = std::min(smallest, distance(q, centre));
        if (!(smallest > best)) {
            ended.converged = true;
            break;
        }
        best = smallest;
        best_centre = centre;
        if (smallest == 0.0) break;

        nearest.clear();
        nearest_offsets.clear();
        for (std::size_t i = 0; i < local.size(); ++i) {
            if (distance(local[i], centre) <= smallest + tolerance) {
                nearest.push_back(i);
                nearest_offsets.push_back(local[i] - centre);
            }
        }
        const angular_gap gap = largest_angular_gap(nearest_offsets, {0.0, 0.0});
        if (gap.angle < pi - angle_tolerance) {
            ended.converged = true;
            break;
        }

        // The nearest directions span the arc from `after` counter-clockwise to `before`; the
        // centre moves against the arc's middle direction, along the bisector of its ends.
        const point2 first = nearest_offsets[gap.after];
        const point2 last = nearest_offsets[gap.before];
        const double span = 2.0 * pi - gap.angle;
        const double middle_angle = std::atan2(first.y, first.x) + 0.5 * span;
        const point2 middle{std::cos(middle_angle), std::sin(middle_angle)};
        point2 direction = -1.0 * middle;
        const point2 chord = last - first;
        const double chord_length = norm(chord);
        if (chord_length > shortest_chord * smallest) {
            direction = (1.0 / chord_length) * point2{-chord.y, chord.x};
            if (dot(direction, middle) > 0.0) direction = -1.0 * direction;
        }

        // Ray shot: along centre + t * direction, point i becomes as near as `first` at
        // t = (|v_i|^2 - |v_first|^2) / (2 direction . (v_i - v_first)), v = offset from centre.
        const double first_squared = dot(first, first);
        double t_min = std::numeric_limits<double>::infinity();
        std::size_t k = 0;
        for (std::size_t i = 0; i < local.size(); ++i) {
            if (k < nearest.size() && nearest[k] == i) {
                ++k;
                continue;
            }
            const point2 v = local[i] - centre;
            const double approach = dot(direction, v - first);
            if (approach <= 0.0) continue;
            const double t = (dot(v, v) - first_squared) / (2.0 * approach);
            t_min = std::min(t_min, t);
        }
        if (!(t_min < std::numeric_limits<double>::infinity())) break;
        centre = centre + t_min * direction;
    }
    if (outcome != nullptr) *outcome = ended;

    const point2 result = best_centre + start;
    double radius = std::numeric_limits<double>::infinity();
    for (const point2& p : points) radius = std::min(radius, distance(p, result));
    return {result, radius};
}

circle2 maximum_inscribed_circle_coarse_first(const std::vector<point2>& points, point2 start) {
    constexpr std::size_t coarse_points = 4096;
    if (points.size() > coarse_points)
        start = maximum_inscribed_circle(strided_sample(points, coarse_points), start).centre;
    return maximum_inscribed_circle(points, start);
}

}  // namespace detail
}  // namespace vantor
