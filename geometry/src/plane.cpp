// SPDX-License-Identifier: Apache-2.0
#include "spanto/plane.h"

namespace spanto {

plane::plane(const point& p, const vector& n) {
    const vector u = n.unit();
    if (p.invalid() || u.invalid()) return;
    origin = p;
    normal = u;
}

}  // namespace spanto
