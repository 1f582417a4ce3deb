// SPDX-License-Identifier: Apache-2.0
// spanto::line, spanto::axis and spanto::lineseg.
#ifndef SPANTO_LINE_H
#define SPANTO_LINE_H

#include "spanto/point.h"

namespace spanto {

// An infinite straight line through `origin` along the unit vector `direction`. A default
// line is invalid; so is one built from two equal points or from a zero or non-finite
// direction.
//
// The distances and the nearest point assume a unit direction, as the constructors make it;
// code that sets `direction` directly must keep it of unit length.
struct SPANTO_EXPORT line {
    point origin;
    vector direction;

    line() = default;
    // The line through a towards b.
    line(const point& a, const point& b);
    // The line through p along d (scaled to unit length).
    line(const point& p, const vector& d);

    bool valid() const { return origin.valid() && direction.valid(); }
    bool invalid() const { return !valid(); }
    void setinvalid() {
        origin.setinvalid();
        direction.setinvalid();
    }

    // Euclidean distance of p from the line.
    double distance(const point& p) const { return ((p - origin) ^ direction).length(); }

    // The foot of p on the line: the point of the line nearest to p.
    point nearest(const point& p) const { return origin + dot(p - origin, direction) * direction; }

    // The angle between the two directions, in radians, 0 to pi.
    double angle(const line& other) const;
};

// A line used as an axis of rotation; usable wherever a line is taken.
struct SPANTO_EXPORT axis : line {
    axis() = default;
    axis(const point& a, const point& b) : line(a, b) {}
    axis(const point& p, const vector& d) : line(p, d) {}
    explicit axis(const line& l) : line(l) {}
};

// A straight segment between two points. A default segment is invalid.
class SPANTO_EXPORT lineseg {
  public:
    lineseg() = default;
    // The segment from a to b; invalid when either point is invalid.
    lineseg(const point& a, const point& b);

    bool valid() const { return start_.valid() && end_.valid(); }
    bool invalid() const { return !valid(); }
    const point& start() const { return start_; }
    const point& end() const { return end_; }
    double length() const { return start_.distance(end_); }

  private:
    point start_;
    point end_;
};

}  // namespace spanto

#endif  // SPANTO_LINE_H
