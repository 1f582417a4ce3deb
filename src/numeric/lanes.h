// SPDX-License-Identifier: Apache-2.0
// Vectors of two doubles, the width of one SIMD register (SSE2, NEON): GCC and Clang map the
// type to the target's registers and instructions. The passes over millions of points that
// bound a fit's time take two points a step in them, since no compiler's vectoriser does so
// on its own for an array of point records.
#ifndef VANTOR_NUMERIC_LANES_H
#define VANTOR_NUMERIC_LANES_H

#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vantor {
namespace detail {

typedef double two_doubles __attribute__((vector_size(16)));
// The result of comparing two_doubles: all bits set in a lane where the comparison holds.
typedef long long two_masks __attribute__((vector_size(16)));

// The square roots of both lanes in one instruction where the target has one; std::sqrt on
// each lane would be two scalar roots, each with a check for errno.
inline two_doubles square_roots(two_doubles v) {
#if defined(__SSE2__)
    return _mm_sqrt_pd(v);
#else
    return two_doubles{std::sqrt(v[0]), std::sqrt(v[1])};
#endif
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_LANES_H
