// The centroid and the centred scatter matrix of a point set, and its principal axes.
//
// The scatter matrix is summed block by block, in offsets from the first point: each block is
// centred on its own mean (computed first, while the block is in cache), and the blocks are
// merged with the update of Chan, Golub and LeVeque, M = M_a + M_b + d d^T n_a n_b / n with d
// the difference of the block means. No sum ever holds raw second moments or coordinates far
// from the data, so points far from the origin lose no more digits than their own coordinates
// carry, and the points are read once.
#ifndef VANTOR_NUMERIC_SCATTER_H
#define VANTOR_NUMERIC_SCATTER_H

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "numeric/spatial.h"

namespace vantor {
namespace detail {

struct scatter3 {
    std::size_t count = 0;  // the points summed
    point3 centroid{0, 0, 0};
    double matrix[3][3] = {};  // sum of (p - centroid)(p - centroid)^T
    double magnitude = 0.0;    // the largest absolute coordinate of a point

    // False when a coordinate was infinite (the sums are then not finite).
    bool finite() const;
    // Folds in the summary of further points.
    void merge(const scatter3& other);
};

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

// The scatter of the points in [begin, end) whose coordinates are all numbers (points with a
// NaN coordinate are left out). Point is any type with members x, y and z.
template <class Point>
scatter3 scatter_of(const Point* begin, const Point* end) {
    const auto valid = [](const Point* p) {
        return !(std::isnan(p->x) || std::isnan(p->y) || std::isnan(p->z));
    };
    // Everything is summed relative to the first valid point, so that the sums hold offsets of
    // the size of the set's extent, whatever its distance from the origin.
    const Point* reference = begin;
    while (reference != end && !valid(reference)) ++reference;
    scatter3 total;
    if (reference == end) return total;
    const point3 r{reference->x, reference->y, reference->z};

    constexpr std::ptrdiff_t block = 512;
    for (const Point* first = reference; first < end; first += std::min(block, end - first)) {
        const Point* last = first + std::min(block, end - first);
        double sx = 0.0, sy = 0.0, sz = 0.0, largest = 0.0;
        std::size_t n = 0;
        for (const Point* p = first; p != last; ++p) {
            if (!valid(p)) continue;
            sx += p->x - r.x;
            sy += p->y - r.y;
            sz += p->z - r.z;
            largest = std::max({largest, std::abs(p->x), std::abs(p->y), std::abs(p->z)});
            ++n;
        }
        if (n == 0) continue;
        const double inverse = 1.0 / static_cast<double>(n);
        const point3 mean{sx * inverse, sy * inverse, sz * inverse};
        double xx = 0.0, xy = 0.0, xz = 0.0, yy = 0.0, yz = 0.0, zz = 0.0;
        for (const Point* p = first; p != last; ++p) {
            if (!valid(p)) continue;
            const double dx = (p->x - r.x) - mean.x, dy = (p->y - r.y) - mean.y,
                         dz = (p->z - r.z) - mean.z;
            xx += dx * dx;
            xy += dx * dy;
            xz += dx * dz;
            yy += dy * dy;
            yz += dy * dz;
            zz += dz * dz;
        }
        scatter3 b;
        b.count = n;
        b.centroid = mean;
        b.magnitude = largest;
        b.matrix[0][0] = xx;
        b.matrix[0][1] = b.matrix[1][0] = xy;
        b.matrix[0][2] = b.matrix[2][0] = xz;
        b.matrix[1][1] = yy;
        b.matrix[1][2] = b.matrix[2][1] = yz;
        b.matrix[2][2] = zz;
        total.merge(b);
    }
    total.centroid = total.centroid + r;
    return total;
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_SCATTER_H
