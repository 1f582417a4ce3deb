// SPDX-License-Identifier: Apache-2.0
// spanto::sphere.
#ifndef SPANTO_SPHERE_H
#define SPANTO_SPHERE_H

#include <cmath>

#include "spanto/point.h"

namespace spanto {

// The sphere about `centre` of radius `radius`. A default sphere is invalid; so is one with
// an invalid centre or a negative or NaN radius.
struct SPANTO_EXPORT sphere {
    point centre;
    double radius = nan;

    sphere() = default;
    sphere(const point& centre, double radius);

    bool valid() const { return centre.valid() && !std::isnan(radius); }
    bool invalid() const { return !valid(); }
    void setinvalid() {
        centre.setinvalid();
        radius = nan;
    }

    // Distance from the centre minus the radius: positive outside, negative inside.
    double sdistance(const point& p) const { return centre.distance(p) - radius; }
    double distance(const point& p) const { return std::fabs(sdistance(p)); }
};

}  // namespace spanto

#endif  // SPANTO_SPHERE_H
