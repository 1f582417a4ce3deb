// SPDX-License-Identifier: Apache-2.0
// What the six form evaluations share: their common trace lines (actual/evaluation_trace.h), the
// path taken when a point set has no valid point, and the one-sided zone width.
#ifndef VANTOR_FORM_EVALUATION_H
#define VANTOR_FORM_EVALUATION_H

#include "actual/evaluation_trace.h"
#include "actual/extremes.h"
#include "core/trace.h"
#include "vantor/actual.h"
#include "vantor/feature.h"

namespace vantor::detail {

// The failure of an evaluation on a set without a valid point (k negative): traces
// "*<operation>: no valid points (k=<k>)" at level 1, marks the feature invalid and returns
// false.
inline bool reject_no_valid_points(feature& f, const char* operation, int k) {
    trace_no_valid_points(operation, k);
    f.setinvalid();
    return false;
}

// The failure of an evaluation given a null point set: marks the feature invalid and returns
// false.
inline bool reject_missing_points(feature& f) {
    f.setinvalid();
    return false;
}

// The width of the smallest zone that holds the signed deviations low..high and the datum
// (deviation 0): high when every deviation is strictly positive, -low when every one is
// strictly negative, otherwise high - low.
inline double one_sided_width(const extremes& e) {
    if (e.high > 0.0 && e.low > 0.0) return e.high;
    if (e.high < 0.0 && e.low < 0.0) return -e.low;
    return e.high - e.low;
}

}  // namespace vantor::detail

#endif  // VANTOR_FORM_EVALUATION_H
