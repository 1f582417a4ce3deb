// SPDX-License-Identifier: Apache-2.0
#include "numeric/narrowest_strip.h"

#include <algorithm>
#include <cmath>

namespace vantor {
namespace detail {

namespace {

// The convex hull, counter-clockwise from the lowest (then leftmost) point, without collinear
// vertices (Andrew's monotone chain).
std::vector<point2> convex_hull(std::vector<point2>& points) {
    std::sort(points.begin(), points.end(),
              [](point2 a, point2 b) { return a.y < b.y || (a.y == b.y && a.x < b.x); });
    points.erase(std::unique(points.begin(), points.end(),
                             [](point2 a, point2 b) { return a.x == b.x && a.y == b.y; }),
                 points.end());
    const std::size_t n = points.size();
    if (n < 3) return points;
    std::vector<point2> hull(2 * n);
    std::size_t k = 0;
    for (std::size_t i = 0; i < n; ++i) {
        while (k >= 2 && cross(hull[k - 1] - hull[k - 2], points[i] - hull[k - 2]) <= 0) --k;
        hull[k++] = points[i];
    }
    for (std::size_t i = n - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && cross(hull[k - 1] - hull[k - 2], points[i] - hull[k - 2]) <= 0) --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    return hull;
}

// The hull without vertices within `merge` of the vertex before: the normal of so short an edge
// is rounding noise, and so is the height of the vertices of its cluster above it.
std::vector<point2> merged(const std::vector<point2>& hull, double merge) {
    std::vector<point2> kept;
    for (const point2& v : hull) {
        if (kept.empty() || distance(v, kept.back()) > merge) kept.push_back(v);
    }
    while (kept.size() > 1 && distance(kept.back(), kept.front()) <= merge) kept.pop_back();
    return kept;
}

}  // namespace

strip2 narrowest_strip(std::vector<point2> points) {
    strip2 best;
    if (points.empty()) return best;
    // Local coordinates keep the digits of points far from the origin.
    const point2 origin = points.front();
    double size = 0.0;
    for (point2& p : points) {
        p = p - origin;
        size = std::max({size, std::abs(p.x), std::abs(p.y)});
    }
    const std::vector<point2> hull = merged(convex_hull(points), merge_fraction * size);
    const std::size_t h = hull.size();
    if (h < 2) return best;
    auto height = [&hull, h](point2 a, point2 inward, std::size_t j) {
        return dot(inward, hull[j % h] - a);
    };
    double width = HUGE_VAL;
    // Rotating calipers: `far` is the vertex farthest from edge i's line. It is found by a scan
    // for the first edge, and then only advances.
    std::size_t far = 0;
    for (std::size_t i = 0; i < h; ++i) {
        const point2 a = hull[i], b = hull[(i + 1) % h];
        const point2 edge = b - a;
        const double length = norm(edge);
        const point2 inward = {-edge.y / length, edge.x / length};
        if (i == 0) {
            for (std::size_t j = 1; j < h; ++j)
                if (height(a, inward, j) > height(a, inward, far)) far = j;
        }
        while (height(a, inward, far + 1) > height(a, inward, far)) ++far;
        const double w = height(a, inward, far);
        if (w < width) {
            width = w;
            best.normal = {-inward.x, -inward.y};
            best.high = dot(best.normal, a);
            best.low = best.high - w;
        }
    }
    // Back to the caller's coordinates.
    const double shift = dot(best.normal, origin);
    best.low += shift;
    best.high += shift;
    best.valid = true;
    return best;
}

}  // namespace detail
}  // namespace vantor
