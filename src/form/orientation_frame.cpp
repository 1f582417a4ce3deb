// SPDX-License-Identifier: Apache-2.0
#include "form/orientation_frame.h"

#include <cmath>

namespace vantor::detail {

namespace {

bool finite(double x, double y, double z) {
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
}

}  // namespace

std::string frame_of(const spanto::point& origin, const spanto::vector& direction, const char* what,
                     datum_frame& frame) {
    if (!finite(origin.x, origin.y, origin.z)) {
        return std::string("the ") + what + " has no finite point";
    }
    const spanto::vector d = direction.unit();
    if (!finite(direction.x, direction.y, direction.z) || !finite(d.x, d.y, d.z)) {
        return std::string("the ") + what + " has no direction";
    }
    frame.origin = origin;
    frame.d = d;
    frame.u = d.orthogonal();
    frame.v = d ^ frame.u;
    return std::string();
}

valid_set valid_rows_of(const actual& points, int fewest, const char* what) {
    valid_set s;
    const int n = points.numpoints();
    for (int i = 0; i < n; ++i) {
        const spanto::point& p = points[i];
        if (!p.valid()) continue;
        if (!finite(p.x, p.y, p.z)) {
            s.status = vantor::status::invalid_points;
            s.error = "a point has an infinite coordinate";
            return s;
        }
        s.rows.push_back(i);
    }
    if (static_cast<int>(s.rows.size()) < fewest) {
        s.status = vantor::status::too_few_points;
        s.error = std::string("too few points: ") + what + " needs at least " +
                  std::to_string(fewest) + " valid points, the set has " +
                  std::to_string(s.rows.size());
    }
    return s;
}

}  // namespace vantor::detail
