// SPDX-License-Identifier: Apache-2.0
// A plane perpendicular to an axis direction, in which the circle fits see their points: a
// point's distance from an axis along the normal is the planar distance between their traces.
#ifndef VANTOR_FIT_PLANAR_FRAME_H
#define VANTOR_FIT_PLANAR_FRAME_H

#include <vector>

#include <spanto/point.h>
#include <spanto/vector.h>

#include "numeric/planar.h"
#include "vantor/actual.h"

namespace vantor::detail {

struct planar_frame {
    spanto::point origin;
    spanto::vector normal;  // unit
    spanto::vector a,
        b;  // orthonormal, perpendicular to the normal: normal.orthogonal(), normal ^ a

    planar_frame(const spanto::point& origin, const spanto::vector& normal)
        : origin(origin), normal(normal), a(normal.orthogonal()), b(normal ^ a) {}

    // The coordinates of p - origin along a and b.
    point2 trace(const spanto::point& p) const {
        const spanto::vector d = p - origin;
        return {spanto::dot(d, a), spanto::dot(d, b)};
    }
};

// The traces of the valid points: invalid points carry no position.
inline std::vector<point2> traces_of(const actual& points, const planar_frame& f) {
    std::vector<point2> planar;
    planar.reserve(static_cast<std::size_t>(points.numpoints()));
    for (const spanto::point& p : points) {
        if (p.valid()) planar.push_back(f.trace(p));
    }
    return planar;
}

}  // namespace vantor::detail

#endif  // VANTOR_FIT_PLANAR_FRAME_H
