// SPDX-License-Identifier: Apache-2.0
// A random rigid move of a part and its datum together, for invariance tests.
#ifndef VANTOR_TESTS_FORM_RIGID_MOVE_H
#define VANTOR_TESTS_FORM_RIGID_MOVE_H

#include <cmath>
#include <random>

#include <spanto/spanto.h>

#include "vantor/actual.h"

namespace vantor::testing {

// A rotation by a random angle about a random axis, then a translation by `distance` in a random
// direction.
struct rigid_move {
    spanto::vector axis, shift;
    double angle;

    rigid_move(std::mt19937& rng, double distance) {
        std::normal_distribution<double> normal;
        std::uniform_real_distribution<double> turn(0.1, 3.0);
        axis = spanto::vector(normal(rng), normal(rng), normal(rng)).unit();
        shift = distance * spanto::vector(normal(rng), normal(rng), normal(rng)).unit();
        angle = turn(rng);
    }
    spanto::vector turned(const spanto::vector& v) const {  // Rodrigues' formula
        const double c = std::cos(angle), s = std::sin(angle);
        return c * v + s * (axis ^ v) + ((1.0 - c) * dot(axis, v)) * axis;
    }
    spanto::point moved(const spanto::point& p) const {
        const spanto::vector q = turned(p - spanto::point(0.0, 0.0, 0.0)) + shift;
        return spanto::point(q.x, q.y, q.z);
    }
    actual moved(const actual& points) const {
        actual out(points.numpoints());
        for (const spanto::point& p : points) out.append(moved(p));
        return out;
    }
    spanto::plane moved(const spanto::plane& p) const {
        return spanto::plane(moved(p.origin), turned(p.normal));
    }
    spanto::line moved(const spanto::line& l) const {
        return spanto::line(moved(l.origin), turned(l.direction));
    }
};

}  // namespace vantor::testing

#endif  // VANTOR_TESTS_FORM_RIGID_MOVE_H
