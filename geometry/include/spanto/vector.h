// SPDX-License-Identifier: Apache-2.0
// spanto::vector: a free vector in 3-D space.
#ifndef SPANTO_VECTOR_H
#define SPANTO_VECTOR_H

#include <cmath>
#include <limits>

#include "spanto/export.h"

namespace spanto {

// The "invalid" value of every coordinate and scalar in this library.
inline constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// A direction or displacement. A default vector is invalid (NaN components); the constructor
// keeps the components as given.
struct vector {
    double x, y, z;

    vector() : x(nan), y(nan), z(nan) {}
    vector(double x0, double y0, double z0) : x(x0), y(y0), z(z0) {}

    // True exactly when no component is NaN.
    bool valid() const { return !(std::isnan(x) || std::isnan(y) || std::isnan(z)); }
    bool invalid() const { return !valid(); }
    void setinvalid() { x = y = z = nan; }

    // Euclidean length.
    double length() const { return std::sqrt(x * x + y * y + z * z); }

    // The vector scaled to length 1; invalid when the length is zero or not finite.
    vector unit() const {
        const double len = length();
        if (!(len > 0.0) || !std::isfinite(len)) return vector();
        return vector(x / len, y / len, z / len);
    }

    // The unit vector of (*this ^ e), where e is the coordinate axis along which this vector
    // has its smallest absolute component (x before y before z on ties). Fits depend on this
    // choice, so it is fixed.
    SPANTO_EXPORT vector orthogonal() const;

    vector& operator+=(const vector& v) {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    vector& operator-=(const vector& v) {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    vector& operator*=(double s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    vector& operator/=(double s) {
        x /= s;
        y /= s;
        z /= s;
        return *this;
    }
};

inline vector operator+(vector a, const vector& b) { return a += b; }
inline vector operator-(vector a, const vector& b) { return a -= b; }
inline vector operator-(const vector& a) { return vector(-a.x, -a.y, -a.z); }
inline vector operator*(double s, vector v) { return v *= s; }
inline vector operator*(vector v, double s) { return v *= s; }
inline vector operator/(vector v, double s) { return v /= s; }

// Dot product.
inline double dot(const vector& a, const vector& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Cross product.
inline vector operator^(const vector& a, const vector& b) {
    return vector(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

}  // namespace spanto

#endif  // SPANTO_VECTOR_H
