#include "fit/planar.h"

#include <algorithm>

namespace vantor {
namespace detail {

double coordinate_scale(const std::vector<point2>& points, point2 centre) {
    double scale = std::max(std::abs(centre.x), std::abs(centre.y));
    for (const point2& p : points) scale = std::max({scale, std::abs(p.x), std::abs(p.y)});
    return scale;
}

double largest_angular_gap(const std::vector<point2>& points, point2 centre) {
    const double two_pi = 2.0 * pi;
    std::vector<double> angles;
    angles.reserve(points.size());
    for (const point2& p : points) {
        const point2 d = p - centre;
        if (d.x != 0.0 || d.y != 0.0) angles.push_back(std::atan2(d.y, d.x));
    }
    if (angles.size() < 2) return two_pi;
    std::sort(angles.begin(), angles.end());
    double gap = two_pi - (angles.back() - angles.front());
    for (std::size_t i = 1; i < angles.size(); ++i) gap = std::max(gap, angles[i] - angles[i - 1]);
    return gap;
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
