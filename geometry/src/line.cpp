// SPDX-License-Identifier: Apache-2.0
#include <cmath>

#include "spanto/line.h"

namespace spanto {

line::line(const point& a, const point& b) {
    if (a.invalid() || b.invalid()) return;
    const vector u = (b - a).unit();
    if (u.invalid()) return;
    origin = a;
    direction = u;
}

line::line(const point& p, const vector& d) {
    const vector u = d.unit();
    if (p.invalid() || u.invalid()) return;
    origin = p;
    direction = u;
}

double line::angle(const line& other) const {
    // atan2 keeps full accuracy near 0 and pi, where acos of the dot product does not.
    return std::atan2((direction ^ other.direction).length(), dot(direction, other.direction));
}

lineseg::lineseg(const point& a, const point& b) {
    if (a.invalid() || b.invalid()) return;
    start_ = a;
    end_ = b;
}

}  // namespace spanto
