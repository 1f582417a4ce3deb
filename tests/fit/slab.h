// SPDX-License-Identifier: Apache-2.0
// The exact minimum-zone plane of a small set, by exhaustion: the reference of the zone plane's
// tests.
#ifndef VANTOR_TESTS_FIT_SLAB_H
#define VANTOR_TESTS_FIT_SLAB_H

#include <algorithm>
#include <cmath>

#include "vantor/actual.h"

namespace vantor {
namespace slab {

// The width of the points across the unit normal n.
inline double width_across(const actual& points, const spanto::vector& n) {
    double low = INFINITY, high = -INFINITY;
    for (const spanto::point& p : points) {
        const double h = spanto::dot(n, p - spanto::point(0, 0, 0));
        low = std::min(low, h);
        high = std::max(high, h);
    }
    return high - low;
}

// The narrowest slab touches the points at three points on one side (its normal that of their
// plane) or at two pairs on two edges (its normal across both edges): the narrowest width over
// every such normal. O(n^5): for sets of a few dozen points.
inline double exact_width(const actual& points) {
    const int n = points.numpoints();
    double best = INFINITY;
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            for (int k = 0; k < n; ++k)
                for (int l = k + 1; l < n; ++l) {
                    const spanto::vector normal = (points[j] - points[i]) ^ (points[l] - points[k]);
                    if (normal.length() > 0)
                        best = std::min(best, width_across(points, normal.unit()));
                }
    return best;
}

}  // namespace slab
}  // namespace vantor

#endif  // VANTOR_TESTS_FIT_SLAB_H
