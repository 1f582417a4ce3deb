// SPDX-License-Identifier: Apache-2.0
#include "numeric/zone_circle.h"

#include <algorithm>
#include <limits>

#include "numeric/small_lp.h"

namespace vantor {
namespace detail {
namespace {

constexpr int max_steps = 500;
constexpr int max_working_set_passes = 200;
constexpr double eps = std::numeric_limits<double>::epsilon();
// The working sets keep the points whose modelled distance lies within a band of the outer or
// inner extreme: a thousandth of the modelled width, and never less than a thousand times the
// rounding tolerance, so that nearly tight points stay in the LP and the sets stay small.
constexpr double band_of_width = 1e-3;
constexpr double band_of_tolerance = 1e3;
// The trust radius of the model step starts at half the zone width, kept between the data's
// extent and this fraction of it (a zero width would otherwise allow no step at all).
constexpr double smallest_trust_radius = 1e-9;

// Distances of the points from a centre with their gradients with respect to the centre.
struct linearisation {
    std::vector<double> distance;
    std::vector<point2> gradient;
    double smallest = 0.0, largest = 0.0;
};

void linearise(const std::vector<point2>& local, point2 centre, linearisation& lin) {
    lin.distance.resize(local.size());
    lin.gradient.resize(local.size());
    lin.smallest = std::numeric_limits<double>::infinity();
    lin.largest = 0.0;
    for (std::size_t i = 0; i < local.size(); ++i) {
        const point2 d = centre - local[i];
        const double dist = norm(d);
        lin.distance[i] = dist;
        lin.gradient[i] = dist > 0.0 ? (1.0 / dist) * d : point2{0.0, 0.0};
        lin.smallest = std::min(lin.smallest, dist);
        lin.largest = std::max(lin.largest, dist);
    }
}

double zone_width(const std::vector<point2>& local, point2 centre) {
    double smallest = std::numeric_limits<double>::infinity();
    double largest = 0.0;
    for (const point2& q : local) {
        const double dist = distance(q, centre);
        smallest = std::min(smallest, dist);
        largest = std::max(largest, dist);
    }
    return largest - smallest;
}

void add_once(std::vector<std::size_t>& set, std::size_t index) {
    if (std::find(set.begin(), set.end(), index) == set.end()) set.push_back(index);
}

// The trust-region step: minimises max_i (d_i + g_i . s) - min_i (d_i + g_i . s) over
// |s|_inf <= radius. The working sets of outer and inner constraints persist between calls, so
// that the contacts of the last step seed the next. Returns the step and the model's width.
struct model_step {
    point2 step;
    double width;
};

model_step solve_model(const linearisation& lin, double radius, std::vector<std::size_t>& outer,
                       std::vector<std::size_t>& inner, double tolerance) {
    // Variables x = (s_x + radius, s_y + radius, a, b) >= 0 with r_out = high - a and
    // r_in = low + b; high and low bound every model distance over the box, so x = 0 is
    // feasible. Maximising a + b minimises r_out - r_in.
    std::vector<double> a, b, x;
    const std::vector<double> c{0.0, 0.0, 1.0, 1.0};
    model_step result{{0.0, 0.0}, std::numeric_limits<double>::infinity()};
    for (int pass = 0; pass < max_working_set_passes; ++pass) {
        double high = -std::numeric_limits<double>::infinity();
        double low = std::numeric_limits<double>::infinity();
        for (std::size_t i : outer) high = std::max(high, lin.distance[i]);
        for (std::size_t i : inner) low = std::min(low, lin.distance[i]);
        high += 2.0 * radius;
        low -= 2.0 * radius;

        a.clear();
        b.clear();
        for (std::size_t i : outer) {
            const point2 g = lin.gradient[i];
            a.insert(a.end(), {g.x, g.y, 1.0, 0.0});
            b.push_back(high - lin.distance[i] + radius * (g.x + g.y));
        }
        for (std::size_t i : inner) {
            const point2 g = lin.gradient[i];
            a.insert(a.end(), {-g.x, -g.y, 0.0, 1.0});
            b.push_back(lin.distance[i] - low - radius * (g.x + g.y));
        }
        a.insert(a.end(), {1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0});
        b.insert(b.end(), {2.0 * radius, 2.0 * radius});
        // x = 0 is feasible and the box bounds the step, so even a simplex stopped by its pivot
        // limit leaves a feasible vertex in x; the model is then merely less improved.
        maximise_lp(a, b, c, x);
        const point2 step{std::clamp(x[0] - radius, -radius, radius),
                          std::clamp(x[1] - radius, -radius, radius)};
        const double r_out = high - x[2];
        const double r_in = low + x[3];

        // The model over all points at this step; its most violating points join the sets.
        double model_high = -std::numeric_limits<double>::infinity();
        double model_low = std::numeric_limits<double>::infinity();
        std::size_t highest = 0, lowest = 0;
        for (std::size_t i = 0; i < lin.distance.size(); ++i) {
            const double value = lin.distance[i] + dot(lin.gradient[i], step);
            if (value > model_high) {
                model_high = value;
                highest = i;
            }
            if (value < model_low) {
                model_low = value;
                lowest = i;
            }
        }
        if (model_high - model_low < result.width) result = {step, model_high - model_low};
        bool added = false;
        if (model_high > r_out + tolerance &&
            std::find(outer.begin(), outer.end(), highest) == outer.end()) {
            outer.push_back(highest);
            added = true;
        }
        if (model_low < r_in - tolerance &&
            std::find(inner.begin(), inner.end(), lowest) == inner.end()) {
            inner.push_back(lowest);
            added = true;
        }
        if (!added) break;
    }
    return result;
}

// Keeps the constraints that are (nearly) tight at the model step, so the sets stay small.
void keep_contacts(const linearisation& lin, point2 step, double tolerance,
                   std::vector<std::size_t>& outer, std::vector<std::size_t>& inner) {
    double high = -std::numeric_limits<double>::infinity();
    double low = std::numeric_limits<double>::infinity();
    for (std::size_t i : outer) high = std::max(high, lin.distance[i] + dot(lin.gradient[i], step));
    for (std::size_t i : inner) low = std::min(low, lin.distance[i] + dot(lin.gradient[i], step));
    const double band = std::max(band_of_tolerance * tolerance, band_of_width * (high - low));
    const auto loose = [&](std::size_t i, bool is_outer) {
        const double value = lin.distance[i] + dot(lin.gradient[i], step);
        return is_outer ? value < high - band : value > low + band;
    };
    outer.erase(
        std::remove_if(outer.begin(), outer.end(), [&](std::size_t i) { return loose(i, true); }),
        outer.end());
    inner.erase(
        std::remove_if(inner.begin(), inner.end(), [&](std::size_t i) { return loose(i, false); }),
        inner.end());
}

}  // namespace

zone2 minimum_zone_circle(const std::vector<point2>& points, point2 start,
                          solver_outcome* outcome) {
    solver_outcome ended;
    if (points.empty()) {
        if (outcome != nullptr) *outcome = {0, true};
        return {start, 0.0, 0.0};
    }

    const std::vector<point2> local = offsets_from(points, start);
    const double extent = largest_norm(local);
    const double tolerance = 8.0 * eps * extent;

    point2 centre{0.0, 0.0};
    linearisation lin;
    linearise(local, centre, lin);
    double width = lin.largest - lin.smallest;
    double radius = std::clamp(0.5 * width, smallest_trust_radius * extent, extent);
    std::vector<std::size_t> outer, inner;
    ended.converged = !(width > 0.0);
    for (int step = 0; step < max_steps && width > 0.0; ++step) {
        ended.steps = step + 1;
        for (std::size_t i = 0; i < local.size(); ++i) {
            if (lin.distance[i] == lin.largest) add_once(outer, i);
            if (lin.distance[i] == lin.smallest) add_once(inner, i);
        }
        const model_step model = solve_model(lin, radius, outer, inner, tolerance);
        const double predicted = width - model.width;
        if (!(predicted > tolerance)) {
            ended.converged = true;
            break;
        }

        const point2 trial = centre + model.step;
        const double trial_width = zone_width(local, trial);
        const double ratio = (width - trial_width) / predicted;
        const double step_length = std::max(std::abs(model.step.x), std::abs(model.step.y));
        if (ratio > 0.75 && step_length > 0.9 * radius)
            radius = std::min(2.0 * radius, extent);
        else if (ratio < 0.25)
            radius = 0.25 * step_length;
        if (trial_width < width) {
            keep_contacts(lin, model.step, tolerance, outer, inner);
            centre = trial;
            linearise(local, centre, lin);
            width = lin.largest - lin.smallest;
        }
        if (!(width > 0.0) || radius <= 4.0 * eps * std::max(extent, norm(centre))) {
            ended.converged = true;
            break;
        }
    }
    if (outcome != nullptr) *outcome = ended;

    const point2 result = centre + start;
    zone2 zone{result, std::numeric_limits<double>::infinity(), 0.0};
    for (const point2& p : points) {
        const double dist = distance(p, result);
        zone.inner = std::min(zone.inner, dist);
        zone.outer = std::max(zone.outer, dist);
    }
    return zone;
}

}  // namespace detail
}  // namespace vantor
