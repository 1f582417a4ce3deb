// SPDX-License-Identifier: Apache-2.0
// Tolerances of the geometry layer's predicates, which the library's planar solvers share.
#ifndef SPANTO_TOLERANCE_H
#define SPANTO_TOLERANCE_H

namespace spanto {

// Three points a, b, c count as collinear when |(b - a) ^ (c - a)| <= collinear_tolerance *
// |b - a| * |c - a|, that is when the sine of the angle at a is at most this. Forming the cross
// product of two edges loses a few units in the last place of their product (2.2e-16 each),
// and more when the edges are long and nearly parallel; 1e-14, some 45 units, leaves a margin
// above that rounding, while every turn a measurement can resolve (a sine of 1e-12 is a micron
// over a kilometre) stays a turn.
inline constexpr double collinear_tolerance = 1e-14;

}  // namespace spanto

#endif  // SPANTO_TOLERANCE_H
