// SPDX-License-Identifier: Apache-2.0
// spanto::point: a position in 3-D space.
#ifndef SPANTO_POINT_H
#define SPANTO_POINT_H

#include "spanto/vector.h"

namespace spanto {

class trafo;

// A position. A default point is invalid (NaN coordinates).
struct point {
    double x, y, z;

    point() : x(nan), y(nan), z(nan) {}
    point(double x0, double y0, double z0) : x(x0), y(y0), z(z0) {}

    // True exactly when none of x, y, z is NaN (infinite coordinates count as valid).
    bool valid() const { return !(std::isnan(x) || std::isnan(y) || std::isnan(z)); }
    bool invalid() const { return !valid(); }
    void setinvalid() { x = y = z = nan; }

    // Euclidean distance to q.
    double distance(const point& q) const {
        const double dx = q.x - x, dy = q.y - y, dz = q.z - z;
        return std::sqrt(dx * dx + dy * dy + dz * dz);
    }

    // The component of (q - *this) along the unit vector of u: the signed distance of q from
    // this point, measured along u.
    double sdistance(const vector& u, const point& q) const {
        const vector d(q.x - x, q.y - y, q.z - z);
        return dot(d, u) / u.length();
    }

    // Coordinate-wise sum; used for centres and means ((a + b) * 0.5).
    point& operator+=(const point& p) {
        x += p.x;
        y += p.y;
        z += p.z;
        return *this;
    }
    point& operator+=(const vector& v) {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    point& operator-=(const vector& v) {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    point& operator*=(double s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    point& operator/=(double s) {
        x /= s;
        y /= s;
        z /= s;
        return *this;
    }
    // Moves the point by the transformation t.
    SPANTO_EXPORT point& operator*=(const trafo& t);
};

inline point operator+(point a, const point& b) { return a += b; }
inline point operator+(point p, const vector& v) { return p += v; }
inline point operator-(point p, const vector& v) { return p -= v; }
inline point operator*(point p, double s) { return p *= s; }
inline point operator*(double s, point p) { return p *= s; }

// The displacement from b to a.
inline vector operator-(const point& a, const point& b) {
    return vector(a.x - b.x, a.y - b.y, a.z - b.z);
}

}  // namespace spanto

#endif  // SPANTO_POINT_H
