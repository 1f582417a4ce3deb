// SPDX-License-Identifier: Apache-2.0
// Seeded measured surfaces for the tests of the fits: points about the z axis of a random frame
// at a random place, with normal noise.
#ifndef VANTOR_TESTS_FIT_SURFACES_H
#define VANTOR_TESTS_FIT_SURFACES_H

#include <cmath>
#include <cstdint>
#include <random>

#include "vantor/actual.h"

namespace vantor {
namespace surfaces {

using spanto::point;
using spanto::vector;

inline constexpr double pi = 3.14159265358979323846;

// A seeded right-handed frame at a random place: the surfaces are generated about its z axis.
struct placement {
    point origin;
    vector x, y, z;

    explicit placement(std::mt19937_64& rng) {
        std::uniform_real_distribution<double> u(-1.0, 1.0);
        z = vector(u(rng), u(rng), u(rng)).unit();
        x = z.orthogonal();
        y = z ^ x;
        origin = point(50 * u(rng), 50 * u(rng), 50 * u(rng));
    }
    point at(double a, double b, double c) const { return origin + a * x + b * y + c * z; }
};

// Points at angles [0, sector) about the axis and heights [0, length), at radius
// radius + slope * height, off by N(0, noise) radially.
inline actual revolution(std::uint64_t seed, double radius, double slope, double sector,
                         double length, int n, double noise) {
    std::mt19937_64 rng(seed);
    const placement f(rng);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> gauss(0.0, noise);
    actual points(n);
    for (int i = 0; i < n; ++i) {
        const double a = sector * unit(rng), h = length * unit(rng);
        const double r = radius + slope * h + gauss(rng);
        points.append(f.at(r * std::cos(a), r * std::sin(a), h));
    }
    return points;
}

// A cap of a sphere: directions within `cap` radians of the pole.
inline actual sphere_cap(std::uint64_t seed, double radius, double cap, int n, double noise) {
    std::mt19937_64 rng(seed);
    const placement f(rng);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> gauss(0.0, noise);
    actual points(n);
    for (int i = 0; i < n; ++i) {
        const double polar = std::acos(1.0 - (1.0 - std::cos(cap)) * unit(rng));
        const double a = 2 * pi * unit(rng), r = radius + gauss(rng);
        points.append(f.at(r * std::sin(polar) * std::cos(a), r * std::sin(polar) * std::sin(a),
                           r * std::cos(polar)));
    }
    return points;
}

// A patch of a plane (or, with width 0, a line) with noise across it.
inline actual flat(std::uint64_t seed, double length, double width, int n, double noise) {
    std::mt19937_64 rng(seed);
    const placement f(rng);
    std::uniform_real_distribution<double> unit(-0.5, 0.5);
    std::normal_distribution<double> gauss(0.0, noise);
    actual points(n);
    for (int i = 0; i < n; ++i)
        points.append(
            f.at(length * unit(rng), width * unit(rng) + (width == 0) * gauss(rng), gauss(rng)));
    return points;
}

}  // namespace surfaces
}  // namespace vantor

#endif  // VANTOR_TESTS_FIT_SURFACES_H
