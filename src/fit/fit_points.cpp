#include "fit/fit_points.h"

#include "fit/fit_report.h"

namespace vantor {
namespace detail {

spanto::vector oriented(const spanto::vector& v) {
    const double decisive = v.z != 0.0 ? v.z : v.y != 0.0 ? v.y : v.x;
    return decisive < 0.0 ? -v : v;
}

bool scatter_for_fit(const actual& points, const char* element, int needed, fit_report& report,
                     scatter3& s, std::string& reason) {
    s = scatter_of(points.begin(), points.end());
    report.points = static_cast<int>(s.count);
    if (s.count < static_cast<std::size_t>(needed)) {
        reason = too_few_points(element, needed, s.count);
        return false;
    }
    if (!s.finite()) {
        reason = "a point has an infinite coordinate";
        return false;
    }
    return true;
}

std::vector<point3> offsets_of(const actual& points, const point3& origin) {
    std::vector<point3> offsets;
    offsets.reserve(static_cast<std::size_t>(points.numpoints()));
    for (const spanto::point& p : points) {
        if (p.valid()) offsets.push_back({p.x - origin.x, p.y - origin.y, p.z - origin.z});
    }
    return offsets;
}

}  // namespace detail
}  // namespace vantor
