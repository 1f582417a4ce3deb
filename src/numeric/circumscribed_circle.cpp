// SPDX-License-Identifier: Apache-2.0
#include "numeric/circumscribed_circle.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>

namespace vantor {
namespace detail {
namespace {

circle2 diametral_circle(point2 a, point2 b) {
    const point2 centre = 0.5 * (a + b);
    return {centre, std::max(distance(a, centre), distance(b, centre))};
}

// The smallest circle with a, b and c on its boundary, as needed by Welzl's algorithm: the
// circumcircle, or for (nearly) collinear points the diametral circle of the farthest pair.
circle2 boundary_circle(point2 a, point2 b, point2 c) {
    if (const std::optional<point2> centre = circumcentre(a, b, c))
        return {*centre,
                std::max({distance(a, *centre), distance(b, *centre), distance(c, *centre)})};
    const double ab = distance(a, b);
    const double ac = distance(a, c);
    const double bc = distance(b, c);
    if (ab >= ac && ab >= bc) return diametral_circle(a, b);
    return ac >= bc ? diametral_circle(a, c) : diametral_circle(b, c);
}

// Moves points[index] to the front, keeping the order of the others.
void move_to_front(std::vector<point2>& points, std::size_t index) {
    std::rotate(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(index),
                points.begin() + static_cast<std::ptrdiff_t>(index) + 1);
}

// Welzl's loops over `local` (points relative to the middle of their bounding box, whose
// half diagonal is `extent`), which are shuffled and reordered in place. Returns the circle in
// the same coordinates.
circle2 smallest_enclosing(std::vector<point2>& local, double extent) {
    // Fisher-Yates with a fixed seed; the index is reduced from the engine's output directly so
    // that the order is the same with every standard library.
    std::mt19937_64 engine(0x5eed);
    for (std::size_t i = local.size() - 1; i > 0; --i)
        std::swap(local[i], local[static_cast<std::size_t>(engine() % (i + 1))]);

    // Outside by more than the tolerance, compared in squares: no square root per point.
    const double tolerance = 16.0 * std::numeric_limits<double>::epsilon() * extent;
    const auto outside = [tolerance](point2 p, const circle2& c) {
        const point2 d = p - c.centre;
        const double reach = c.radius + tolerance;
        return dot(d, d) > reach * reach;
    };

    circle2 c{local[0], 0.0};
    for (std::size_t i = 1; i < local.size(); ++i) {
        if (!outside(local[i], c)) continue;
        c = {local[i], 0.0};
        for (std::size_t j = 0; j < i; ++j) {
            if (!outside(local[j], c)) continue;
            c = diametral_circle(local[i], local[j]);
            for (std::size_t k = 0; k < j; ++k) {
                if (!outside(local[k], c)) continue;
                c = boundary_circle(local[i], local[j], local[k]);
                move_to_front(local, k);
            }
            move_to_front(local, j);
        }
        move_to_front(local, i);
    }
    return c;
}

// The middle of the bounding box of the points and its half diagonal.
void bounding_middle(const std::vector<point2>& points, point2& middle, double& extent) {
    point2 low = points.front();
    point2 high = points.front();
    for (const point2& p : points) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y)};
    }
    middle = 0.5 * (low + high);
    extent = 0.5 * distance(low, high);
}

}  // namespace

circle2 minimum_circumscribed_circle(const std::vector<point2>& points) {
    if (points.empty()) return {{0.0, 0.0}, 0.0};
    point2 origin;
    double extent = 0.0;
    bounding_middle(points, origin, extent);
    std::vector<point2> local = offsets_from(points, origin);
    const point2 centre = smallest_enclosing(local, extent).centre + origin;
    double radius = 0.0;
    for (const point2& p : points) radius = std::max(radius, distance(p, centre));
    return {centre, radius};
}

circle2 minimum_circumscribed_circle(std::vector<point2>&& points) {
    if (points.empty()) return {{0.0, 0.0}, 0.0};
    point2 origin;
    double extent = 0.0;
    bounding_middle(points, origin, extent);
    for (point2& p : points) p = p - origin;
    const point2 centre = smallest_enclosing(points, extent).centre;
    double radius = 0.0;
    for (const point2& p : points) radius = std::max(radius, distance(p, centre));
    return {centre + origin, radius};
}

}  // namespace detail
}  // namespace vantor
