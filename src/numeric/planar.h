// SPDX-License-Identifier: Apache-2.0
// Plane coordinates shared by the exact circle solvers: points already projected into the fitting
// plane, the circles they produce, and the few geometric helpers the solvers have in common.
#ifndef VANTOR_NUMERIC_PLANAR_H
#define VANTOR_NUMERIC_PLANAR_H

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <vector>

#include "numeric/sample.h"

namespace vantor {
namespace detail {

constexpr double pi = 3.14159265358979323846;

struct point2 {
    double x, y;
};

struct circle2 {
    point2 centre;
    double radius;
};

// How an iterative planar solver ended: the steps it took and whether it stopped at its
// optimality test (rather than at its step limit or for want of a direction to go).
struct solver_outcome {
    int steps = 0;
    bool converged = false;
};

inline point2 operator-(point2 a, point2 b) { return {a.x - b.x, a.y - b.y}; }
inline point2 operator+(point2 a, point2 b) { return {a.x + b.x, a.y + b.y}; }
inline point2 operator*(double s, point2 a) { return {s * a.x, s * a.y}; }
inline double dot(point2 a, point2 b) { return a.x * b.x + a.y * b.y; }
// z component of the cross product: positive when b lies counter-clockwise of a.
inline double cross(point2 a, point2 b) { return a.x * b.y - a.y * b.x; }
// sqrt rather than hypot: coordinates of measured points are far from overflow, and hypot
// costs several times as much in the solvers' inner loops.
inline double norm(point2 a) { return std::sqrt(a.x * a.x + a.y * a.y); }
inline double distance(point2 a, point2 b) { return norm(a - b); }

// The points relative to `origin`. The solvers work in such local coordinates, with the origin
// near the data, so that sets far from the coordinate origin keep their digits.
std::vector<point2> offsets_from(const std::vector<point2>& points, point2 origin);

// The largest norm of the vectors; 0 for none.
double largest_norm(const std::vector<point2>& vectors);

// The largest angle between angularly neighbouring points as seen from `centre`: `angle` in
// radians in [0, 2 pi], the gap running counter-clockwise from points[before] to points[after].
// Points that coincide with the centre have no direction and are ignored; with a single
// remaining point the gap is 2 pi and before == after; with none, also before == after ==
// points.size(). The points surround the centre (a closed profile) exactly when the gap is below
// pi; a gap of pi or more means all of them lie in one closed half plane through the centre.
struct angular_gap {
    double angle;
    std::size_t before, after;
};
angular_gap largest_angular_gap(const std::vector<point2>& points, point2 centre);

// True when the points surround `centre` (a closed profile): every angular gap between
// neighbouring directions is below pi, exactly when largest_angular_gap(points, centre).angle
// < pi. Linear time for any number of points: the directions are binned into sectors that
// keep their smallest and largest angle, and a gap of pi or more cannot lie within a sector,
// so it shows between occupied sectors. Points: a sequence of point2 with size() and
// operator[] (numeric/sample.h).
template <class Points = std::vector<point2>>
bool surrounded(const Points& points, point2 centre) {
    constexpr int sectors = 4096;  // each under pi / 2048 wide
    struct sector {
        double low = std::numeric_limits<double>::infinity();
        double high = -std::numeric_limits<double>::infinity();
    };
    std::vector<sector> bins(sectors);
    bool any = false;
    note_pass(points);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const point2 d = points[i] - centre;
        if (d.x == 0.0 && d.y == 0.0) continue;
        const double angle = std::atan2(d.y, d.x);
        const int k = std::min(sectors - 1, static_cast<int>((angle + pi) / (2.0 * pi) * sectors));
        sector& bin = bins[static_cast<std::size_t>(std::max(0, k))];
        bin.low = std::min(bin.low, angle);
        bin.high = std::max(bin.high, angle);
        any = true;
    }
    if (!any) return false;
    // Walk the occupied sectors in angular order; the gaps between them include the closing
    // one from the last round to the first.
    double first = 0.0, previous = 0.0;
    bool started = false;
    for (const sector& bin : bins) {
        if (bin.low > bin.high) continue;
        if (!started) {
            first = bin.low;
            started = true;
        } else if (!(bin.low - previous < pi)) {
            return false;
        }
        previous = bin.high;
    }
    return first + 2.0 * pi - previous < pi;
}

// The centre of the circle through a, b and c, computed relative to a for accuracy. Empty when
// the points are collinear against rounding, by the geometry layer's test:
// |cross(b - a, c - a)| <= spanto::collinear_tolerance * |b - a| * |c - a|.
std::optional<point2> circumcentre(point2 a, point2 b, point2 c);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_PLANAR_H
