// SPDX-License-Identifier: Apache-2.0
// spanto::plane.
#ifndef SPANTO_PLANE_H
#define SPANTO_PLANE_H

#include <cmath>

#include "spanto/point.h"

namespace spanto {

// The plane through `origin` with unit normal `normal`. A default plane is invalid; so is one
// built from a zero or non-finite normal or an invalid point.
//
// The distances assume a unit normal, as the constructor makes it; code that sets `normal`
// directly must keep it of unit length.
struct SPANTO_EXPORT plane {
    point origin;
    vector normal;

    plane() = default;
    plane(const point& p, const vector& n);

    bool valid() const { return origin.valid() && normal.valid(); }
    bool invalid() const { return !valid(); }
    void setinvalid() {
        origin.setinvalid();
        normal.setinvalid();
    }

    // Signed distance of p: positive on the side into which the normal points.
    double sdistance(const point& p) const { return dot(p - origin, normal); }
    double distance(const point& p) const { return std::fabs(sdistance(p)); }
};

}  // namespace spanto

#endif  // SPANTO_PLANE_H
