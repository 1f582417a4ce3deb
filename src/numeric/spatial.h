// SPDX-License-Identifier: Apache-2.0
// Space coordinates shared by the 3-D fits: plain points and vectors, the few operations on
// them, and the orthonormal frames in which the fits linearise their models.
#ifndef VANTOR_NUMERIC_SPATIAL_H
#define VANTOR_NUMERIC_SPATIAL_H

#include <cmath>

namespace vantor {
namespace detail {

// A point or a vector in space.
struct point3 {
    double x, y, z;
};

inline point3 operator+(point3 a, point3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline point3 operator-(point3 a, point3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline point3 operator*(double s, point3 a) { return {s * a.x, s * a.y, s * a.z}; }
inline double dot(point3 a, point3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline point3 cross(point3 a, point3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double norm(point3 a) { return std::sqrt(dot(a, a)); }
// The unit vector along a; a must not be zero.
inline point3 unit(point3 a) { return (1.0 / norm(a)) * a; }

// A right-handed orthonormal frame: x and y span the plane perpendicular to z. The fits of
// axial elements keep their current axis as z, so that a step changes the axis by small
// amounts in x and y.
struct frame3 {
    point3 x, y, z;

    // Coordinates of v in the frame.
    point3 local(point3 v) const { return {dot(v, x), dot(v, y), dot(v, z)}; }
};

// A frame whose z is the unit vector along `axis` (not zero). Its x is the unit vector of
// axis ^ e, e the coordinate axis along which `axis` has its smallest absolute component,
// so that x is never nearly parallel to the axis.
inline frame3 frame_about(point3 axis) {
    const point3 z = unit(axis);
    const double ax = std::abs(z.x), ay = std::abs(z.y), az = std::abs(z.z);
    const point3 e = ax <= ay && ax <= az ? point3{1, 0, 0}
                     : ay <= az           ? point3{0, 1, 0}
                                          : point3{0, 0, 1};
    const point3 x = unit(cross(z, e));
    return {x, cross(z, x), z};
}

// The frame turned about its z so that its x points along the part of `toward` across z (the
// frame itself when that part is zero).
inline frame3 facing(const frame3& f, const point3& toward) {
    const point3 across = toward - dot(toward, f.z) * f.z;
    if (!(norm(across) > 0.0)) return f;
    const point3 x = unit(across);
    return {x, cross(f.z, x), f.z};
}

// The frame turned so that its z becomes the unit vector of z + a x + b y: a rotation by
// the angle atan(|(a, b)|) about the axis perpendicular to z and to the tilt. Exact for every
// (a, b), so a step of the fits never leaves the unit sphere.
inline frame3 tilted(const frame3& f, double a, double b) {
    const double t = std::sqrt(a * a + b * b);
    if (t == 0.0) return f;
    // Rotation in the plane of z and w = (a x + b y) / t by the angle atan(t).
    const double c = 1.0 / std::sqrt(1.0 + t * t);
    const double s = t * c;
    const point3 w = (1.0 / t) * (a * f.x + b * f.y);
    const point3 z = c * f.z + s * w;
    const point3 w_turned = c * w - s * f.z;
    // x keeps its component across w; its component along w turns with w. Normalised again
    // so that rounding does not accumulate over many steps.
    const point3 x = unit(f.x + dot(f.x, w) * (w_turned - w));
    const point3 zn = unit(z);
    const point3 xn = unit(x - dot(x, zn) * zn);
    return {xn, cross(zn, xn), zn};
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_SPATIAL_H
