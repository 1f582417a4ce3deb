// SPDX-License-Identifier: Apache-2.0
// The centroid and the centred scatter matrix of a point set, and its principal axes.
//
// One pass sums the offsets d of the points from the first point and their products d d^T,
// in blocks of 512 points whose sums are then added up (so that no sum runs over millions of
// terms); the centred matrix is M = S - n m m^T, m the mean offset. The offsets are of the size
// of the set's extent wherever the set lies, so points far from the origin lose no digits, and
// the cancellation in S - n m m^T (m is at most the extent) costs no more than the eigenvalue
// decomposition of M loses anyway (an absolute error of the rounding of its largest
// eigenvalue). The pass takes two points a step in vectors of two doubles, a SIMD register
// wide, since no compiler's vectoriser does so on its own for an array of x, y, z records;
// the pass then runs as fast as memory delivers the points.
#ifndef VANTOR_NUMERIC_SCATTER_H
#define VANTOR_NUMERIC_SCATTER_H

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "numeric/lanes.h"
#include "numeric/spatial.h"

namespace vantor {
namespace detail {

struct scatter3 {
    std::size_t count = 0;  // the points summed
    point3 centroid{0, 0, 0};
    double matrix[3][3] = {};  // sum of (p - centroid)(p - centroid)^T
    // The size of the coordinates: the centroid's largest absolute coordinate plus the root
    // mean square distance of the points from it.
    double magnitude = 0.0;

    // False when a coordinate was infinite or too large (the sums are then not finite).
    bool finite() const;
};

// Why sums over points with finite coordinates are not finite: products of coordinates beyond
// about 1e150 pass the largest double.
constexpr const char* coordinates_too_large =
    "the coordinates are too large to compute with (beyond about 1e150, where squares overflow)";

// The principal axes of a scatter matrix: its eigenvalues in ascending order (each the sum of
// squared offsets of the points along its axis) and the unit eigenvectors.
struct principal_axes {
    double sum_of_squares[3];
    point3 axis[3];
};

principal_axes principal_axes_of(const scatter3& s);

// The extent of points centred on their centroid: the root mean square of their distances from
// it, from their principal axes or from the points themselves. The unit of lengths in the
// stopping tests of the fits.
double extent_of(const principal_axes& axes, std::size_t count);
double extent_of(const std::vector<point3>& centred);

// True when the spread of the points along principal axis k is negligible against their
// spread along the largest axis: a ratio of sums of squares below 1e-14 (a spread below 1e-7
// of the extent, the resolution of an eigenvalue decomposition, whose small eigenvalues carry
// an absolute error of the rounding of the largest), or no more than the rounding of the
// coordinates themselves.
bool negligible_spread(const scatter3& s, const principal_axes& axes, int k);

// Sums of offsets and of their products, two points a step.
struct offset_sums {
    two_doubles n{}, x{}, y{}, z{}, xx{}, xy{}, xz{}, yy{}, yz{}, zz{};

    // Folds in the offsets of two points; lanes with a NaN offset count nothing.
    void add(two_doubles dx, two_doubles dy, two_doubles dz) {
        const two_doubles zero{0.0, 0.0}, one{1.0, 1.0};
        const two_masks valid = (dx == dx) & (dy == dy) & (dz == dz);
        dx = valid ? dx : zero;
        dy = valid ? dy : zero;
        dz = valid ? dz : zero;
        n += valid ? one : zero;
        x += dx;
        y += dy;
        z += dz;
        xx += dx * dx;
        xy += dx * dy;
        xz += dx * dz;
        yy += dy * dy;
        yz += dy * dz;
        zz += dz * dz;
    }
};

// The scatter from the sums of n offsets from `reference` (the ten sums in the order of
// offset_sums: n, x, y, z, xx, xy, xz, yy, yz, zz).
scatter3 scatter_from_sums(const double (&sums)[10], const point3& reference);

// The scatter of the points in [begin, end) whose coordinates are all numbers (points with a
// NaN coordinate are left out). Point is any type with members x, y and z.
template <class Point>
scatter3 scatter_of(const Point* begin, const Point* end) {
    const Point* reference = begin;
    while (reference != end &&
           (std::isnan(reference->x) || std::isnan(reference->y) || std::isnan(reference->z)))
        ++reference;
    if (reference == end) return scatter3();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const two_doubles rx{reference->x, reference->x}, ry{reference->y, reference->y},
        rz{reference->z, reference->z};

    // The valid points in pairs, in blocks of 512 valid points: the same pairs and blocks
    // wherever rows with NaN lie between them, so that a set sums exactly as its valid rows do.
    double totals[10] = {};
    constexpr int block = 512;
    offset_sums sums;
    int in_block = 0;
    const auto fold = [&] {
        const two_doubles* lanes[10] = {&sums.n,  &sums.x,  &sums.y,  &sums.z,  &sums.xx,
                                        &sums.xy, &sums.xz, &sums.yy, &sums.yz, &sums.zz};
        for (int k = 0; k < 10; ++k) totals[k] += (*lanes[k])[0] + (*lanes[k])[1];
        sums = offset_sums();
        in_block = 0;
    };
    const Point* pending = nullptr;
    for (const Point* p = reference; p < end; ++p) {
        if (std::isnan(p->x) || std::isnan(p->y) || std::isnan(p->z)) continue;
        if (pending == nullptr) {
            pending = p;
            continue;
        }
        sums.add(two_doubles{pending->x, p->x} - rx, two_doubles{pending->y, p->y} - ry,
                 two_doubles{pending->z, p->z} - rz);
        pending = nullptr;
        if ((in_block += 2) == block) fold();
    }
    // An odd point last, beside a NaN that counts nothing.
    if (pending != nullptr)
        sums.add(two_doubles{pending->x, nan} - rx, two_doubles{pending->y, nan} - ry,
                 two_doubles{pending->z, nan} - rz);
    fold();
    return scatter_from_sums(totals, {reference->x, reference->y, reference->z});
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_SCATTER_H
