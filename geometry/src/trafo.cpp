// SPDX-License-Identifier: Apache-2.0
#include <cmath>

#include "spanto/trafo.h"

namespace spanto {

trafo::trafo() : trafo(vector(0.0, 0.0, 0.0)) {}

trafo::trafo(const vector& v) : r_{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}} {
    t_[0] = v.x;
    t_[1] = v.y;
    t_[2] = v.z;
}

trafo::trafo(const axis& a, double angle) {
    // The direction is normalised again because the members of an axis are public.
    const vector k = a.direction.unit();
    if (k.invalid() || a.origin.invalid()) {
        // Every image of this transformation is invalid.
        for (auto& row : r_) {
            for (double& e : row) e = nan;
        }
        for (double& e : t_) e = nan;
        return;
    }
    const double c = std::cos(angle), s = std::sin(angle);
    const double h = std::sin(0.5 * angle);
    const double v = 2.0 * h * h;  // 1 - cos(angle), without cancellation for small angles
    const double kv[3] = {k.x, k.y, k.z};
    // Rodrigues: R = cos I + sin [k]x + (1 - cos) k k^T.
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) r_[i][j] = v * kv[i] * kv[j];
        r_[i][i] += c;
    }
    r_[0][1] -= s * k.z;
    r_[0][2] += s * k.y;
    r_[1][0] += s * k.z;
    r_[1][2] -= s * k.x;
    r_[2][0] -= s * k.y;
    r_[2][1] += s * k.x;
    // The axis point stays fixed: t = o - R o.
    const point& o = a.origin;
    const vector ro = apply(vector(o.x, o.y, o.z));
    t_[0] = o.x - ro.x;
    t_[1] = o.y - ro.y;
    t_[2] = o.z - ro.z;
}

vector trafo::apply(const vector& v) const {
    return vector(r_[0][0] * v.x + r_[0][1] * v.y + r_[0][2] * v.z,
                  r_[1][0] * v.x + r_[1][1] * v.y + r_[1][2] * v.z,
                  r_[2][0] * v.x + r_[2][1] * v.y + r_[2][2] * v.z);
}

point trafo::apply(const point& p) const {
    const vector r = apply(vector(p.x, p.y, p.z));
    return point(r.x + t_[0], r.y + t_[1], r.z + t_[2]);
}

trafo operator*(const trafo& a, const trafo& b) {
    trafo ab;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            ab.r_[i][j] =
                a.r_[i][0] * b.r_[0][j] + a.r_[i][1] * b.r_[1][j] + a.r_[i][2] * b.r_[2][j];
        }
        ab.t_[i] = a.r_[i][0] * b.t_[0] + a.r_[i][1] * b.t_[1] + a.r_[i][2] * b.t_[2] + a.t_[i];
    }
    return ab;
}

point& point::operator*=(const trafo& t) { return *this = t.apply(*this); }

}  // namespace spanto
