// SPDX-License-Identifier: Apache-2.0
#include "numeric/minimum_width.h"

#include <algorithm>
#include <numeric>

namespace vantor {
namespace detail {

std::vector<std::size_t> convex_hull(const std::vector<point2>& points) {
    std::vector<std::size_t> order(points.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&points](std::size_t a, std::size_t b) {
        return points[a].x < points[b].x ||
               (points[a].x == points[b].x && points[a].y < points[b].y);
    });
    order.erase(std::unique(order.begin(), order.end(),
                            [&points](std::size_t a, std::size_t b) {
                                return points[a].x == points[b].x && points[a].y == points[b].y;
                            }),
                order.end());
    if (order.size() < 3) return order;
    std::vector<std::size_t> hull(2 * order.size());
    std::size_t k = 0;
    // Keeps a strict left turn at each vertex: collinear points are dropped.
    const auto turns_left = [&](std::size_t a, std::size_t b, std::size_t c) {
        return cross(points[b] - points[a], points[c] - points[a]) > 0.0;
    };
    for (std::size_t i = 0; i < order.size(); ++i) {  // lower hull
        while (k >= 2 && !turns_left(hull[k - 2], hull[k - 1], order[i])) --k;
        hull[k++] = order[i];
    }
    for (std::size_t i = order.size() - 1, t = k + 1; i-- > 0;) {  // upper hull
        while (k >= t && !turns_left(hull[k - 2], hull[k - 1], order[i])) --k;
        hull[k++] = order[i];
    }
    hull.resize(k - 1);  // the last point is the first
    return hull;
}

strip2 minimum_width_strip(const std::vector<point2>& points) {
    strip2 best;
    const std::vector<std::size_t> hull = convex_hull(points);
    if (hull.size() < 2) return best;
    const auto strip_across = [&](point2 normal) {
        strip2 s;
        s.normal = normal;
        s.low = s.high = dot(normal, points[hull[0]]);
        s.lowest = s.highest = hull[0];
        for (const std::size_t i : hull) {
            const double d = dot(normal, points[i]);
            if (d < s.low) s.low = d, s.lowest = i;
            if (d > s.high) s.high = d, s.highest = i;
        }
        s.width = s.high - s.low;
        return s;
    };
    const auto across = [&](std::size_t i, std::size_t j) {
        const point2 e = points[j] - points[i];
        return (1.0 / norm(e)) * point2{-e.y, e.x};
    };
    if (hull.size() == 2) return strip_across(across(hull[0], hull[1]));
    const std::size_t h = hull.size();
    const auto vertex = [&](std::size_t i) { return points[hull[i % h]]; };
    // For edge i -> i + 1 the vertex farthest from its line: cross(e, v - start) grows to it
    // and falls after it on a convex polygon, and the farthest vertex of the next edge lies no
    // earlier.
    std::size_t far = 1;
    double narrowest = 0.0;
    std::size_t edge = h;
    for (std::size_t i = 0; i < h; ++i) {
        const point2 a = vertex(i), e = vertex(i + 1) - a;
        const auto height = [&](std::size_t j) { return cross(e, vertex(j) - a); };
        if (far < i + 1) far = i + 1;
        for (std::size_t steps = 0; steps < h && height(far + 1) > height(far); ++steps) ++far;
        const double width = height(far) / norm(e);
        if (edge == h || width < narrowest) narrowest = width, edge = i;
    }
    return strip_across(across(hull[edge], hull[(edge + 1) % h]));
}

}  // namespace detail
}  // namespace vantor
