// SPDX-License-Identifier: Apache-2.0
// Thinning of a point set onto a regular grid over its bounding box.
#include "vantor/actual.h"

#include <algorithm>
#include <cmath>

namespace vantor {

using spanto::point;

namespace {

// A grid of `divisions` cells per axis, the cell edge `cell_factor` times the extent of the
// box. Each factor is slightly larger than 1 / divisions, so that the largest coordinate of the
// box still falls into the last cell.
struct grid {
    int divisions;
    double cell_factor;
};

constexpr int max_divisions = 5;

// The grid for a target of the given capacity: as many cells as fit; no grid (0 divisions) for
// a capacity of 8 or less.
grid grid_for_capacity(int capacity) {
    if (capacity > 125) return {5, 0.201};
    if (capacity > 64) return {4, 0.251};
    if (capacity > 27) return {3, 0.334};
    if (capacity > 8) return {2, 0.501};
    return {0, 0.0};
}

// The inverse cell edge along an axis of the given extent; 0 for a zero or non-finite extent,
// which puts every point into the first cell along that axis.
double inverse_cell_edge(double extent, double cell_factor) {
    if (!(extent > 0.0) || !std::isfinite(extent)) return 0.0;
    return 1.0 / (extent * cell_factor);
}

// The cell along an axis: offset * inverse_edge truncated toward zero, clamped into the grid
// (NaN to cell 0), so that no input converts an out-of-range value to an integer.
int cell_index(double offset, double inverse_edge, int divisions) {
    const double t = offset * inverse_edge;
    if (!(t > 0.0)) return 0;
    if (t >= divisions - 1) return divisions - 1;
    return static_cast<int>(t);
}

}  // namespace

int actual::simplify(actual& target) const {
    const grid g = grid_for_capacity(target.maxpoints());
    if (g.divisions == 0) return 0;
    // The box of the valid points: seeded with the first one, so that an invalid point 0 does
    // not leave the box (and with it the grid) undefined; bbox then folds in the rest.
    const point* first = std::find_if(begin(), end(), [](const point& p) { return p.valid(); });
    if (first == end()) return 0;
    point lo = *first, hi = *first;
    bbox(lo, hi, true);
    const int m = g.divisions;
    const double fx = inverse_cell_edge(hi.x - lo.x, g.cell_factor);
    const double fy = inverse_cell_edge(hi.y - lo.y, g.cell_factor);
    const double fz = inverse_cell_edge(hi.z - lo.z, g.cell_factor);

    // Every cell keeps the last valid point in index order that falls into it. All reading is
    // done here, before the target (which may be this set) is reset.
    point cells[max_divisions * max_divisions * max_divisions];
    for (const point& p : *this) {
        if (p.invalid()) continue;
        const int ix = cell_index(p.x - lo.x, fx, m);
        const int iy = cell_index(p.y - lo.y, fy, m);
        const int iz = cell_index(p.z - lo.z, fz, m);
        cells[(iz * m + iy) * m + ix] = p;
    }

    target.reset();
    for (int c = 0; c < m * m * m; ++c) {
        if (cells[c].valid()) target.append(cells[c]);
    }
    return target.numpoints();
}

}  // namespace vantor
