// SPDX-License-Identifier: Apache-2.0
// spanto::cone and spanto::conesect.
#ifndef SPANTO_CONE_H
#define SPANTO_CONE_H

#include <cmath>

#include "spanto/line.h"

namespace spanto {

// The circular cone whose surface passes through the circle of radius r0 about p0 and the
// circle of radius r1 about p1, both perpendicular to the axis p0 -> p1, extended without end
// in both directions (beyond the apex the surface continues as the opposite nappe).
//
// A default cone is invalid; so is one with an invalid or equal pair of points, or a negative
// or NaN radius.
class SPANTO_EXPORT cone {
  public:
    cone() = default;
    cone(const point& p0, double r0, const point& p1, double r1);

    bool valid() const { return p0_.valid() && u_.valid() && !std::isnan(r0_) && !std::isnan(r1_); }
    bool invalid() const { return !valid(); }
    void setinvalid() { *this = cone(); }

    // The axis through p0 towards p1.
    axis rotaxis() const { return axis(p0_, u_); }

    const point& point0() const { return p0_; }
    const point& point1() const { return p1_; }
    double radius0() const { return r0_; }
    double radius1() const { return r1_; }
    // Radius growth per unit length along the axis (p0 -> p1); tan of the half apex angle when
    // the radius grows towards p1.
    double slope() const { return slope_; }

    // Perpendicular distance of p from the surface: positive outside (away from the axis),
    // negative inside.
    double sdistance(const point& p) const {
        const vector d = p - p0_;
        const double t = dot(d, u_);
        const double rho = (d ^ u_).length();
        // In the meridian half-plane the surface is rho = |r0 + slope * t|; the perpendicular
        // distance from that generator is the radial gap times cos(half angle).
        return (rho - std::fabs(r0_ + slope_ * t)) * cosine_;
    }
    double distance(const point& p) const { return std::fabs(sdistance(p)); }

  private:
    point p0_;
    point p1_;
    vector u_;  // unit axis direction p0 -> p1
    double r0_ = nan;
    double r1_ = nan;
    double slope_ = nan;
    double cosine_ = nan;  // 1 / sqrt(1 + slope^2)
};

// A cone cut to a length along its axis. A default section is invalid.
class SPANTO_EXPORT conesect {
  public:
    conesect() = default;
    // The part of `c` between the axial positions `from` and `to`, measured from c.point0()
    // along the axis.
    conesect(const cone& c, double from, double to);

    bool valid() const { return cone_.valid() && !std::isnan(from_) && !std::isnan(to_); }
    bool invalid() const { return !valid(); }
    const cone& base() const { return cone_; }
    double from() const { return from_; }
    double to() const { return to_; }

  private:
    cone cone_;
    double from_ = nan;
    double to_ = nan;
};

}  // namespace spanto

#endif  // SPANTO_CONE_H
