// SPDX-License-Identifier: Apache-2.0
#include <cmath>

#include "spanto/cone.h"

namespace spanto {

cone::cone(const point& p0, double r0, const point& p1, double r1) {
    if (p0.invalid() || p1.invalid() || !(r0 >= 0.0) || !(r1 >= 0.0)) return;
    const vector d = p1 - p0;
    const vector u = d.unit();
    if (u.invalid()) return;
    p0_ = p0;
    p1_ = p1;
    u_ = u;
    r0_ = r0;
    r1_ = r1;
    slope_ = (r1 - r0) / d.length();
    // hypot avoids overflow of slope^2 for a very steep cone.
    cosine_ = 1.0 / std::hypot(1.0, slope_);
}

conesect::conesect(const cone& c, double from, double to) {
    if (c.invalid() || std::isnan(from) || std::isnan(to)) return;
    cone_ = c;
    from_ = from;
    to_ = to;
}

}  // namespace spanto
