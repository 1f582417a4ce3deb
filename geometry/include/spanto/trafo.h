// SPDX-License-Identifier: Apache-2.0
// spanto::trafo: rigid transformations.
#ifndef SPANTO_TRAFO_H
#define SPANTO_TRAFO_H

#include "spanto/line.h"

namespace spanto {

// A rigid transformation p -> R p + t (rotation R, translation t).
class SPANTO_EXPORT trafo {
  public:
    // The identity.
    trafo();
    // The translation by v.
    explicit trafo(const vector& v);
    // The rotation by `angle` radians about the axis a (right-hand rule about a.direction,
    // about the line through a.origin). An invalid axis gives a transformation that makes
    // every point invalid.
    trafo(const axis& a, double angle);

    // The image of p, and of the free vector v (rotation only).
    point apply(const point& p) const;
    vector apply(const vector& v) const;

    // Composition: (a * b).apply(p) == a.apply(b.apply(p)); the right-hand one acts first.
    friend SPANTO_EXPORT trafo operator*(const trafo& a, const trafo& b);

  private:
    double r_[3][3];
    double t_[3];
};

}  // namespace spanto

#endif  // SPANTO_TRAFO_H
