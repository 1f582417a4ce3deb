// SPDX-License-Identifier: Apache-2.0
// The algebraic (Kasa) circle of points in the plane: the circle x^2 + y^2 = 2 a x + 2 b y + k
// that minimises the sum of squared algebraic residuals, from moments summed in one pass. It
// equals the least-squares (geometric) circle for points on a circle and lies close to it for
// points near one, so it is the start of the geometric fit.
#ifndef VANTOR_NUMERIC_KASA_CIRCLE_H
#define VANTOR_NUMERIC_KASA_CIRCLE_H

#include <cstddef>
#include <optional>

#include "numeric/planar.h"

namespace vantor {
namespace detail {

// Moments of points given relative to an origin among them (so that no sum holds large
// coordinates): sums of x, y, z = x^2 + y^2 and of their products.
struct circle_moments {
    std::size_t count = 0;
    double x = 0, y = 0, z = 0, xx = 0, xy = 0, yy = 0, xz = 0, yz = 0;

    void add(point2 p) {
        const double pz = p.x * p.x + p.y * p.y;
        ++count;
        x += p.x;
        y += p.y;
        z += pz;
        xx += p.x * p.x;
        xy += p.x * p.y;
        yy += p.y * p.y;
        xz += p.x * pz;
        yz += p.y * pz;
    }
};

// The Kasa circle, in the coordinates of the points summed. Empty when the points lie on one
// line (their spread across it below 1e-7 of their spread along it) or number fewer than 3.
std::optional<circle2> kasa_circle(const circle_moments& m);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_KASA_CIRCLE_H
