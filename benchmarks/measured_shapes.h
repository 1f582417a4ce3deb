// SPDX-License-Identifier: Apache-2.0
// Measured shapes for the fitting benchmarks, defined by formulas without a random generator so
// that benchmarks/scipy_fits.py computes the very same points. Point i of n:
//   wobble(i) = sin(12.9898 i), a deterministic stand-in for noise in [-1, 1];
//   golden(i) = frac(0.6180339887498949 i), plastic(i) = frac(0.7548776662466927 i).
#ifndef VANTOR_BENCHMARKS_MEASURED_SHAPES_H
#define VANTOR_BENCHMARKS_MEASURED_SHAPES_H

#include <cmath>

#include "vantor/actual.h"

namespace shapes {

constexpr double two_pi = 6.283185307179586;

inline double wobble(long i) { return std::sin(12.9898 * static_cast<double>(i)); }
inline double golden(long i) { return std::fmod(0.6180339887498949 * static_cast<double>(i), 1.0); }
inline double plastic(long i) {
    return std::fmod(0.7548776662466927 * static_cast<double>(i), 1.0);
}

// The frame of the axial shapes: axis a = unit(0.1, -0.2, 1), b = unit(a ^ (1, 0, 0)), c = a ^ b.
struct frame {
    spanto::vector a, b, c;
    frame() : a(spanto::vector(0.1, -0.2, 1).unit()) {
        b = (a ^ spanto::vector(1, 0, 0)).unit();
        c = a ^ b;
    }
};

// A shaft: radius 12 with three lobes of 4 um and 2 um noise, 40 long, axis from (10, 20, 30).
inline vantor::actual cylinder(long n) {
    const frame f;
    const spanto::point o(10, 20, 30);
    vantor::actual points(static_cast<int>(n));
    for (long i = 0; i < n; ++i) {
        const double t = two_pi * golden(i), z = 40 * plastic(i);
        const double r = 12 + 0.004 * std::cos(3 * t) + 0.002 * wobble(i);
        points.append(o + (r * std::cos(t)) * f.b + (r * std::sin(t)) * f.c + z * f.a);
    }
    return points;
}

// The shaft of cylinder() measured as 10 sections 4 apart: each point moved along the axis to
// the section below it.
inline vantor::actual shaft_sections(long n) {
    const frame f;
    const vantor::actual points = cylinder(n);
    vantor::actual sections(static_cast<int>(n));
    for (long i = 0; i < n; ++i) {
        const double z = 40 * plastic(i), level = 4 * std::floor(z / 4);
        sections.append(points[static_cast<int>(i)] + (level - z) * f.a);
    }
    return sections;
}

// A taper: radius 8 + z tan(15 degrees) over z in [0, 30], the same axis and form error.
inline vantor::actual cone(long n) {
    const frame f;
    const spanto::point o(10, 20, 30);
    const double slope = std::tan(15.0 / 180.0 * 3.141592653589793);
    vantor::actual points(static_cast<int>(n));
    for (long i = 0; i < n; ++i) {
        const double t = two_pi * golden(i), z = 30 * plastic(i);
        const double r = 8 + slope * z + 0.004 * std::cos(3 * t) + 0.002 * wobble(i);
        points.append(o + (r * std::cos(t)) * f.b + (r * std::sin(t)) * f.c + z * f.a);
    }
    return points;
}

// A reference ball: radius 12.7 about (150, 80, 35), spherical Fibonacci directions, 1 um
// noise.
inline vantor::actual sphere(long n) {
    vantor::actual points(static_cast<int>(n));
    for (long i = 0; i < n; ++i) {
        const double z = 1 - 2 * (static_cast<double>(i) + 0.5) / static_cast<double>(n);
        const double phi = two_pi * golden(i), s = std::sqrt(1 - z * z);
        const double r = 12.7 + 0.001 * wobble(i);
        points.append(150 + r * s * std::cos(phi), 80 + r * s * std::sin(phi), 35 + r * z);
    }
    return points;
}

// A face 100 x 100 in the plane through (10, 20, 30) across the axis a, 3 um noise.
inline vantor::actual plane(long n) {
    const frame f;
    vantor::actual points(static_cast<int>(n));
    for (long i = 0; i < n; ++i) {
        const double u = 100 * golden(i) - 50, v = 100 * plastic(i) - 50;
        points.append(spanto::point(10, 20, 30) + u * f.b + v * f.c + (0.003 * wobble(i)) * f.a);
    }
    return points;
}

// An edge 200 long along the axis a, 3 um noise across it.
inline vantor::actual line(long n) {
    const frame f;
    vantor::actual points(static_cast<int>(n));
    for (long i = 0; i < n; ++i) {
        const double t = 200 * golden(i) - 100;
        points.append(spanto::point(10, 20, 30) + t * f.a + (0.003 * wobble(i)) * f.b +
                      (0.003 * wobble(i + 7)) * f.c);
    }
    return points;
}

// A closed roundness profile: radius 25 with three lobes of 10 um and 2 um noise about
// (40, -15) at height 3, at n equally spaced angles.
inline vantor::actual profile(long n) {
    vantor::actual points(static_cast<int>(n));
    for (long i = 0; i < n; ++i) {
        const double t = two_pi * static_cast<double>(i) / static_cast<double>(n);
        const double r = 25 + 0.01 * std::cos(3 * t) + 0.002 * wobble(i);
        points.append(40 + r * std::cos(t), -15 + r * std::sin(t), 3);
    }
    return points;
}

}  // namespace shapes

#endif  // VANTOR_BENCHMARKS_MEASURED_SHAPES_H
