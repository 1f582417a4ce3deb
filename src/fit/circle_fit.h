// SPDX-License-Identifier: Apache-2.0
// Measurement hooks of the circle fit, for tests and benchmarks.
#ifndef VANTOR_FIT_CIRCLE_FIT_H
#define VANTOR_FIT_CIRCLE_FIT_H

namespace vantor::detail {

// The number of objective evaluations the last circle fit on this thread made.
int last_fit_evaluations();

// Whether circle fits on this thread refine the minimiser's result to the exact optimum of
// the criterion (on unless switched off). Off only to measure the minimiser alone.
void circle_refinement(bool on);

}  // namespace vantor::detail

#endif  // VANTOR_FIT_CIRCLE_FIT_H
