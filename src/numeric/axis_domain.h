// SPDX-License-Identifier: Apache-2.0
// The directions a fit of an axial element (line, cylinder, cone) may give its axis: every
// direction, or those within a largest tilt of an approximate axis (the nominal direction from
// a drawing). Axes have no orientation: a direction and its opposite are the same axis.
#ifndef VANTOR_NUMERIC_AXIS_DOMAIN_H
#define VANTOR_NUMERIC_AXIS_DOMAIN_H

#include <algorithm>
#include <cmath>

#include "numeric/spatial.h"

namespace vantor {
namespace detail {

struct axis_domain {
    // Unit approximate axis; ignored when `max_tilt` is a right angle or more.
    point3 axis{0.0, 0.0, 1.0};
    // The largest angle, in radians, between an admitted axis and `axis`.
    double max_tilt = 2.0;

    // Every direction is admitted.
    bool unrestricted() const { return !(max_tilt < 0.5 * 3.14159265358979323846); }

    // The angle in [0, pi/2] between the axis along unit `d` and `axis`.
    double tilt_of(point3 d) const {
        const double c = std::min(1.0, std::abs(dot(d, axis)));
        const double s = norm(cross(d, axis));
        return std::atan2(s, c);
    }

    // True when the axis along unit `d` is admitted (within rounding of the boundary).
    bool admits(point3 d) const { return unrestricted() || tilt_of(d) <= max_tilt + 1e-12; }
};

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_AXIS_DOMAIN_H
