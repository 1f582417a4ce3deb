// SPDX-License-Identifier: Apache-2.0
// Shared helpers of the geometry tests: pi and a component-wise comparison of points and vectors.
#ifndef TESTS_GEOMETRY_NEAR_H
#define TESTS_GEOMETRY_NEAR_H

#include <gtest/gtest.h>

#include <cmath>

#include "spanto/text.h"

namespace spanto_test {

inline const double pi = std::acos(-1.0);

// True when every component of a and b differs by at most tol (false for NaN).
template <class T>
::testing::AssertionResult near(const T& a, const T& b, double tol = 1e-12) {
    if (std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol && std::fabs(a.z - b.z) <= tol) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << spanto::toa(a) << " != " << spanto::toa(b);
}

}  // namespace spanto_test

#endif  // TESTS_GEOMETRY_NEAR_H
