// SPDX-License-Identifier: Apache-2.0
// The narrowest strip in the plane that holds a point set.
//
// The narrowest strip has one side flush with an edge of the points' convex hull, so rotating
// calipers over the hull (Andrew's monotone chain) find it exactly: for each edge the farthest
// vertex, found by a pointer that only moves forward. Linear after the sort.
#ifndef VANTOR_NUMERIC_MINIMUM_WIDTH_H
#define VANTOR_NUMERIC_MINIMUM_WIDTH_H

#include <cstddef>
#include <vector>

#include "numeric/planar.h"

namespace vantor {
namespace detail {

// The strip: its unit normal and the smallest and largest projection dot(normal, p) of the
// points (width = high - low), with the indices of points on the low and the high side.
struct strip2 {
    double width = 0.0;
    point2 normal{0.0, 0.0};
    double low = 0.0, high = 0.0;
    std::size_t lowest = 0, highest = 0;
};

// The convex hull, counter-clockwise, without collinear vertices: indices into `points`.
std::vector<std::size_t> convex_hull(const std::vector<point2>& points);

// The narrowest strip holding the points. Points that coincide (or none) have no strip
// direction: the normal is then (0, 0). Collinear points give width 0 and the normal across
// their line.
strip2 minimum_width_strip(const std::vector<point2>& points);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_MINIMUM_WIDTH_H
