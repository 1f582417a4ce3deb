// SPDX-License-Identifier: Apache-2.0
#include <cmath>

#include "spanto/cylinder.h"

namespace spanto {

cylinder::cylinder(const point& o, const vector& d, double r) {
    const vector u = d.unit();
    if (o.invalid() || u.invalid() || !(r >= 0.0)) return;
    origin = o;
    direction = u;
    radius = r;
}

cylindersect::cylindersect(const cylinder& c, double from, double to) {
    if (c.invalid() || std::isnan(from) || std::isnan(to)) return;
    cylinder_ = c;
    from_ = from;
    to_ = to;
}

}  // namespace spanto
