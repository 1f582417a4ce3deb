// Vectors of two doubles, the width of one SIMD register (SSE2, NEON): GCC and Clang map the
// type to the target's registers and instructions. The passes over millions of points that
// bound a fit's time take two points a step in them, since no compiler's vectoriser does so
// on its own for an array of point records.
#ifndef VANTOR_NUMERIC_LANES_H
#define VANTOR_NUMERIC_LANES_H

namespace vantor {
namespace detail {

typedef double two_doubles __attribute__((vector_size(16)));
// The result of comparing two_doubles: all bits set in a lane where the comparison holds.
typedef long long two_masks __attribute__((vector_size(16)));

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_LANES_H
