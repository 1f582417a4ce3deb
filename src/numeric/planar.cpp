// SPDX-License-Identifier: Apache-2.0
#include "numeric/planar.h"

#include <algorithm>
#include <limits>

#include <spanto/tolerance.h>

namespace vantor {
namespace detail {

std::vector<point2> offsets_from(const std::vector<point2>& points, point2 origin) {
    std::vector<point2> offsets;
    offsets.reserve(points.size());
    for (const point2& p : points) offsets.push_back(p - origin);
    return offsets;
}

double largest_norm(const std::vector<point2>& vectors) {
    double largest = 0.0;
    for (const point2& v : vectors) largest = std::max(largest, norm(v));
    return largest;
}

angular_gap largest_angular_gap(const std::vector<point2>& points, point2 centre) {
    struct direction {
        double angle;
        std::size_t index;
    };
    std::vector<direction> directions;
    directions.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const point2 d = points[i] - centre;
        if (d.x != 0.0 || d.y != 0.0) directions.push_back({std::atan2(d.y, d.x), i});
    }
    if (directions.empty()) return {2.0 * pi, points.size(), points.size()};
    std::sort(directions.begin(), directions.end(),
              [](const direction& a, const direction& b) { return a.angle < b.angle; });
    // The closing gap, from the last direction round to the first.
    angular_gap gap{2.0 * pi - (directions.back().angle - directions.front().angle),
                    directions.back().index, directions.front().index};
    for (std::size_t i = 1; i < directions.size(); ++i) {
        const double angle = directions[i].angle - directions[i - 1].angle;
        if (angle > gap.angle) gap = {angle, directions[i - 1].index, directions[i].index};
    }
    return gap;
}

std::optional<point2> circumcentre(point2 a, point2 b, point2 c) {
    const point2 u = b - a;
    const point2 v = c - a;
    const double twice_area = cross(u, v);
    if (!(std::abs(twice_area) > spanto::collinear_tolerance * norm(u) * norm(v))) {
        return std::nullopt;
    }
    const double uu = dot(u, u);
    const double vv = dot(v, v);
    const double s = 0.5 / twice_area;
    return point2{a.x + s * (v.y * uu - u.y * vv), a.y + s * (u.x * vv - v.x * uu)};
}

}  // namespace detail
}  // namespace vantor
