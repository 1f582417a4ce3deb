#include "numeric/planar.h"

#include <algorithm>
#include <limits>

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

bool surrounded(const std::vector<point2>& points, point2 centre) {
    constexpr int sectors = 4096;  // each under pi / 2048 wide
    struct sector {
        double low = std::numeric_limits<double>::infinity();
        double high = -std::numeric_limits<double>::infinity();
    };
    std::vector<sector> bins(sectors);
    bool any = false;
    for (const point2& p : points) {
        const point2 d = p - centre;
        if (d.x == 0.0 && d.y == 0.0) continue;
        const double angle = std::atan2(d.y, d.x);
        const int k = std::min(sectors - 1, static_cast<int>((angle + pi) / (2.0 * pi) * sectors));
        sector& bin = bins[static_cast<std::size_t>(std::max(0, k))];
        bin.low = std::min(bin.low, angle);
        bin.high = std::max(bin.high, angle);
        any = true;
    }
    if (!any) return false;
    // Walk the occupied sectors in angular order; the gaps between them include the closing
    // one from the last round to the first.
    double first = 0.0, previous = 0.0;
    bool started = false;
    for (const sector& bin : bins) {
        if (bin.low > bin.high) continue;
        if (!started) {
            first = bin.low;
            started = true;
        } else if (!(bin.low - previous < pi)) {
            return false;
        }
        previous = bin.high;
    }
    return first + 2.0 * pi - previous < pi;
}

std::optional<point2> circumcentre(point2 a, point2 b, point2 c) {
    const point2 u = b - a;
    const point2 v = c - a;
    const double twice_area = cross(u, v);
    if (!(std::abs(twice_area) > 1e-14 * norm(u) * norm(v))) return std::nullopt;
    const double uu = dot(u, u);
    const double vv = dot(v, v);
    const double s = 0.5 / twice_area;
    return point2{a.x + s * (v.y * uu - u.y * vv), a.y + s * (u.x * vv - v.x * uu)};
}

}  // namespace detail
}  // namespace vantor
