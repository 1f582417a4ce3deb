// SPDX-License-Identifier: Apache-2.0
// The narrowest strip holding a set of planar points (its minimum width), by the convex hull and
// rotating calipers.
#ifndef VANTOR_NUMERIC_NARROWEST_STRIP_H
#define VANTOR_NUMERIC_NARROWEST_STRIP_H

#include <vector>

#include "numeric/planar.h"

namespace vantor {
namespace detail {

// A strip {p : low <= dot(normal, p) <= high} with a unit normal.
struct strip2 {
    point2 normal = {0.0, 0.0};
    double low = 0.0;
    double high = 0.0;
    bool valid = false;  // false for fewer than two distinct points
};

// The narrowest strip holding every point. Its normal is perpendicular to an edge of the points'
// convex hull: a strip's width along a normal u is the hull's extent along u, which between two
// consecutive edge normals is the distance between two fixed vertices, d(theta) = |v . u|, a
// concave function of the angle there, so its minimum lies at an edge normal. Of equal widths
// the first hull edge's (counter-clockwise from the lowest, then leftmost point) is taken.
// Points that all lie on one line give width 0 and the normal across that line. Hull vertices
// closer than merge_fraction times the points' extent are taken as one: the direction of so
// short an edge is rounding noise (points on one line seen in a rotated frame form such
// clusters). Not valid when every point lies within that distance of the first.
constexpr double merge_fraction = 1e-12;
strip2 narrowest_strip(std::vector<point2> points);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_NARROWEST_STRIP_H
