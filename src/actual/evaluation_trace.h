// SPDX-License-Identifier: Apache-2.0
// The trace lines that every evaluation on a point set shares: its entry, the point set it
// measures, and the failure on a set without points.
#ifndef VANTOR_ACTUAL_EVALUATION_TRACE_H
#define VANTOR_ACTUAL_EVALUATION_TRACE_H

#include "core/trace.h"
#include "vantor/actual.h"

namespace vantor::detail {

// "+<operation>" at level 3: entering an evaluation.
inline void trace_entry(const char* operation) { VANTOR_TRACE(3, "+%s\n", operation); }

// " <operation>: actual=<address>, #=<count>" at level 4: the point set evaluated.
inline void trace_points(const char* operation, const actual& points) {
    VANTOR_TRACE(4, " %s: actual=%p, #=%d\n", operation, static_cast<const void*>(&points),
                 points.numpoints());
}

// "*<operation>: no valid points (k=<k>)" at level 1: the evaluation of a set without a valid
// point (k, its first valid index, is negative).
inline void trace_no_valid_points(const char* operation, int k) {
    VANTOR_TRACE(1, "*%s: no valid points (k=%d)\n", operation, k);
}

}  // namespace vantor::detail

#endif  // VANTOR_ACTUAL_EVALUATION_TRACE_H
