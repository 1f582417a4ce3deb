// SPDX-License-Identifier: Apache-2.0
// The extremes scan shared by the form evaluations and the point-set queries.
#ifndef VANTOR_ACTUAL_EXTREMES_H
#define VANTOR_ACTUAL_EXTREMES_H

#include <spanto/point.h>

namespace vantor::detail {

// The smallest and largest of a run of measured values.
struct extremes {
    double low;
    double high;
};

// Folds one value into e: `high` is replaced only by a strictly larger value and `low` only by
// a strictly smaller one, so equal values change nothing and a NaN never replaces either.
inline void fold_value(double d, extremes& e) {
    if (d > e.high) e.high = d;
    if (d < e.low) e.low = d;
}

// Folds the extremes of a later run of values into e, with the same result as folding that
// run's values one by one, provided both runs started from the same extremes: among equal
// values (+0 and -0) the earlier one stays.
inline void fold_run(const extremes& later, extremes& e) {
    if (later.high > e.high) e.high = later.high;
    if (later.low < e.low) e.low = later.low;
}

// Folds distance(p) of every point in [begin, end), in order, into e (see fold_value).
template <typename Distance>
inline void fold_extremes(const spanto::point* begin, const spanto::point* end,
                          const Distance& distance, extremes& e) {
    for (const spanto::point* p = begin; p != end; ++p) fold_value(distance(*p), e);
}

// The extremes of distance(p) over points[first] .. points[n - 1]: both start at the value of
// points[first], then every later point is folded in. Requires 0 <= first < n.
template <typename Distance>
inline extremes scan_extremes(const spanto::point* points, int first, int n,
                              const Distance& distance) {
    const double d = distance(points[first]);
    extremes e{d, d};
    fold_extremes(points + first + 1, points + n, distance, e);
    return e;
}

}  // namespace vantor::detail

#endif  // VANTOR_ACTUAL_EXTREMES_H
