// SPDX-License-Identifier: Apache-2.0
// Why a fit of the numeric core did not give an element.
#ifndef VANTOR_NUMERIC_FIT_STATUS_H
#define VANTOR_NUMERIC_FIT_STATUS_H

namespace vantor {
namespace detail {

enum class fit_status {
    ok,
    not_converged,   // the iteration met no convergence test within its limit
    undetermined,    // J^T J is singular at the result: the points do not fix every parameter
    no_start,        // no start element could be built from the points
    apex_inside,     // a cone whose apex lies among the points (radius < 0 at their centroid)
    cylindrical,     // a cone of half angle 0 to working precision (|tan| <= 1e-12): no apex
    outside_domain,  // every optimum the search reached has its axis outside the given domain
};

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_FIT_STATUS_H
