// SPDX-License-Identifier: Apache-2.0
#include <cmath>

#include "spanto/circle.h"
#include "spanto/tolerance.h"
#include "spanto/trafo.h"

namespace spanto {

circle::circle(const point& p1, const point& p2, const point& p3) {
    if (p1.invalid() || p2.invalid() || p3.invalid()) return;
    const vector a = p2 - p1;
    const vector b = p3 - p1;
    const vector n = a ^ b;
    // The negated comparison also rejects NaN from non-finite coordinates.
    if (!(n.length() > collinear_tolerance * a.length() * b.length())) return;
    const double aa = dot(a, a), bb = dot(b, b), nn = dot(n, n);
    // Circumcentre relative to p1: ((|a|^2 b - |b|^2 a) ^ n) / (2 |n|^2). Both terms are
    // formed from edge vectors of p1, so no large absolute coordinates enter the products.
    const vector offset = ((aa * b - bb * a) ^ n) / (2.0 * nn);
    *this = circle(p1 + offset, n, offset.length());
}

circle::circle(const point& c, const vector& n, double r) {
    const vector u = n.unit();
    if (c.invalid() || u.invalid() || !(r >= 0.0)) return;
    centre = c;
    normal = u;
    radius = r;
}

point circle::nearest(const point& p) const {
    const vector d = p - centre;
    const vector radial = d - dot(d, normal) * normal;
    const double len = radial.length();
    const vector towards = len == 0.0 ? normal.orthogonal() : radial / len;
    return centre + radius * towards;
}

arc::arc(const point& centre, const vector& normal, const point& start, double angle) {
    const vector u = normal.unit();
    if (centre.invalid() || u.invalid() || start.invalid() || std::isnan(angle)) return;
    centre_ = centre;
    normal_ = u;
    start_ = start;
    angle_ = angle;
    radius_ = ((start - centre) ^ u).length();
}

point arc::end() const { return trafo(axis(centre_, normal_), angle_).apply(start_); }

}  // namespace spanto
