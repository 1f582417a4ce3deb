// SPDX-License-Identifier: Apache-2.0
// spanto::cylinder and spanto::cylindersect.
#ifndef SPANTO_CYLINDER_H
#define SPANTO_CYLINDER_H

#include <cmath>

#include "spanto/line.h"

namespace spanto {

// The infinite circular cylinder of radius `radius` about the axis through `origin` along the
// unit vector `direction`. A default cylinder is invalid; so is one with an invalid point, a
// zero or non-finite direction or a negative or NaN radius.
//
// The distances assume a unit direction, as the constructors make it; code that sets
// `direction` directly must keep it of unit length.
struct SPANTO_EXPORT cylinder {
    point origin;
    vector direction;
    double radius = nan;

    cylinder() = default;
    cylinder(const point& origin, const vector& direction, double radius);

    bool valid() const { return origin.valid() && direction.valid() && !std::isnan(radius); }
    bool invalid() const { return !valid(); }
    void setinvalid() {
        origin.setinvalid();
        direction.setinvalid();
        radius = nan;
    }

    // The axis line.
    line axisline() const {
        line l;
        l.origin = origin;
        l.direction = direction;
        return l;
    }

    // Distance from the axis minus the radius: positive outside, negative inside.
    double sdistance(const point& p) const { return ((p - origin) ^ direction).length() - radius; }
    double distance(const point& p) const { return std::fabs(sdistance(p)); }
};

// A cylinder cut to a length along its axis. A default section is invalid.
class SPANTO_EXPORT cylindersect {
  public:
    cylindersect() = default;
    // The part of `c` between the axial positions `from` and `to`, measured from c.origin
    // along c.direction.
    cylindersect(const cylinder& c, double from, double to);

    bool valid() const { return cylinder_.valid() && !std::isnan(from_) && !std::isnan(to_); }
    bool invalid() const { return !valid(); }
    const cylinder& base() const { return cylinder_; }
    double from() const { return from_; }
    double to() const { return to_; }

  private:
    cylinder cylinder_;
    double from_ = nan;
    double to_ = nan;
};

}  // namespace spanto

#endif  // SPANTO_CYLINDER_H
