#include "numeric/minimax_circle.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numeric/circumscribed_circle.h"
#include "numeric/inscribed_circle.h"
#include "numeric/sample.h"
#include "numeric/zone_circle.h"

namespace vantor {
namespace detail {

namespace {

constexpr int rounds_on_candidates = 10;
constexpr double band_fraction = 0.02;
constexpr std::size_t added_per_round = 64;

std::vector<point2> gather(const std::vector<point2>& points,
                           const std::vector<std::size_t>& indices) {
    std::vector<point2> subset;
    subset.reserve(indices.size());
    for (std::size_t i : indices) subset.push_back(points[i]);
    return subset;
}

// The circle of the criterion for `subset`.
minimax_circle solve(std::vector<point2>&& subset, point2 start, minimax_criterion criterion) {
    minimax_circle m{};
    m.candidates = subset.size();
    switch (criterion) {
        case minimax_criterion::zone: {
            const zone2 z = minimum_zone_circle(subset, start, &m.outcome);
            m.centre = z.centre;
            m.inner = z.inner;
            m.outer = z.outer;
            break;
        }
        case minimax_criterion::inscribed: {
            const circle2 c = maximum_inscribed_circle(subset, start, &m.outcome);
            m.centre = c.centre;
            m.inner = m.outer = c.radius;
            break;
        }
        case minimax_criterion::circumscribed: {
            const circle2 c = minimum_circumscribed_circle(std::move(subset));
            m.centre = c.centre;
            m.inner = m.outer = c.radius;
            m.outcome = {0, true};
            break;
        }
    }
    return m;
}

}  // namespace

minimax_circle solve_minimax_circle(const std::vector<point2>& points, point2 start,
                                    minimax_criterion criterion) {
    // Squared distances from the start: no square root per point.
    std::vector<double> squares(points.size());
    double lowest = std::numeric_limits<double>::infinity(), highest = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const point2 d = points[i] - start;
        squares[i] = dot(d, d);
        lowest = std::min(lowest, squares[i]);
        highest = std::max(highest, squares[i]);
    }
    const double low = std::sqrt(lowest), high = std::sqrt(highest);
    const double band = band_fraction * (high - low);
    const bool near_inner = criterion != minimax_criterion::circumscribed;
    const bool near_outer = criterion != minimax_criterion::inscribed;
    const double inner_limit = (low + band) * (low + band);
    const double outer_limit = high - band > 0.0 ? (high - band) * (high - band) : 0.0;
    std::vector<std::size_t> candidates;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if ((near_inner && squares[i] <= inner_limit) || (near_outer && squares[i] >= outer_limit))
            candidates.push_back(i);
    }
    // The maximum inscribed circle is determined when the points surround the start; the
    // candidates, if they do, answer for all.
    if (criterion == minimax_criterion::inscribed &&
        !surrounded(gather(points, candidates), start) && !surrounded(points, start)) {
        minimax_circle none{};
        none.surrounded = false;
        return none;
    }

    const double tolerance = 1e-12 * high;
    std::vector<char> chosen(points.size(), 0);
    for (std::size_t i : candidates) chosen[i] = 1;
    for (int round = 0;; ++round) {
        const bool everything = round >= rounds_on_candidates;
        minimax_circle m =
            solve(everything ? std::vector<point2>(points) : gather(points, candidates), start,
                  criterion);
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
