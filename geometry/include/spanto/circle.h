// SPDX-License-Identifier: Apache-2.0
// spanto::circle and spanto::arc.
#ifndef SPANTO_CIRCLE_H
#define SPANTO_CIRCLE_H

#include <cmath>

#include "spanto/line.h"
#include "spanto/tolerance.h"

namespace spanto {

// The circle about `centre` in the plane with unit normal `normal`, of radius `radius`. Its
// axis is the line through the centre along the normal. A default circle is invalid; so is one
// with a zero or non-finite normal, a negative or NaN radius, an invalid centre, or one built
// through three collinear points.
//
// The distances assume a unit normal, as the constructors make it; code that sets `normal`
// directly must keep it of unit length.
struct SPANTO_EXPORT circle {
    point centre;
    vector normal;
    double radius = nan;

    circle() = default;
    // The circle through p1, p2 and p3, with normal the unit vector of (p2 - p1) ^ (p3 - p1).
    // Invalid when the points are collinear (or so nearly collinear that the cross product
    // vanishes against rounding: |(p2 - p1) ^ (p3 - p1)| <= collinear_tolerance * |p2 - p1| *
    // |p3 - p1|, spanto/tolerance.h).
    circle(const point& p1, const point& p2, const point& p3);
    circle(const point& centre, const vector& normal, double radius);

    bool valid() const { return centre.valid() && normal.valid() && !std::isnan(radius); }
    bool invalid() const { return !valid(); }
    void setinvalid() {
        centre.setinvalid();
        normal.setinvalid();
        radius = nan;
    }

    // The axis: the line through the centre along the normal.
    line axisline() const {
        line l;
        l.origin = centre;
        l.direction = normal;
        return l;
    }

    // The 3-D distance of p from the circle's curve, with the sign of (distance from the axis -
    // radius): positive outside, negative inside.
    double sdistance(const point& p) const {
        const vector d = p - centre;
        const double h = dot(d, normal);
        const double e = (d ^ normal).length() - radius;
        const double dist = std::sqrt(e * e + h * h);
        return e < 0.0 ? -dist : dist;
    }

    // 3-D distance of p from the circle's curve.
    double distance(const point& p) const { return std::fabs(sdistance(p)); }

    // The point of the curve nearest to p. For a point on the axis every point of the curve is
    // equally near; the one in the direction normal.orthogonal() from the centre is returned.
    point nearest(const point& p) const;
};

// A circular arc: the part of a circle that starts at `start` and turns by `angle` radians
// about the normal (right-hand rule). A default arc is invalid.
class SPANTO_EXPORT arc {
  public:
    arc() = default;
    // The arc about `centre` in the plane with normal `normal` (scaled to unit length), from
    // `start` through `angle` radians. The radius is the distance of `start` from the axis;
    // invalid when any argument is invalid or the normal is zero.
    arc(const point& centre, const vector& normal, const point& start, double angle);

    bool valid() const {
        return centre_.valid() && normal_.valid() && start_.valid() && !std::isnan(angle_);
    }
    bool invalid() const { return !valid(); }

    const point& centre() const { return centre_; }
    const vector& normal() const { return normal_; }
    const point& start() const { return start_; }
    double angle() const { return angle_; }
    double radius() const { return radius_; }
    // The end point: `start` turned by `angle` about the axis.
    point end() const;

  private:
    point centre_;
    vector normal_;
    point start_;
    double angle_ = nan;
    double radius_ = nan;
};

}  // namespace spanto

#endif  // SPANTO_CIRCLE_H
