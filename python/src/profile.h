// SPDX-License-Identifier: Apache-2.0
// The roundness profile in polar coordinates, for the plot helper.
#ifndef VANTOR_PYTHON_PROFILE_H
#define VANTOR_PYTHON_PROFILE_H

#include <utility>

#include <pybind11/numpy.h>

#include "elements.h"

namespace vantor::python {

// The valid points in the library's polar frame about the axis of `circle` (its numbers, see
// elements.h), the frame of the tool's roundness chart: two arrays, the angles (radians, -pi to
// pi) and the distances from the circle's axis. Computed with the GIL released.
std::pair<pybind11::array_t<double>, pybind11::array_t<double>> polar_profile(
    const pybind11::array& points, const numbers& circle);

}  // namespace vantor::python

#endif  // VANTOR_PYTHON_PROFILE_H
