// SPDX-License-Identifier: Apache-2.0
#include "spanto/sphere.h"

namespace spanto {

sphere::sphere(const point& c, double r) {
    if (c.invalid() || !(r >= 0.0)) return;
    centre = c;
    radius = r;
}

}  // namespace spanto
