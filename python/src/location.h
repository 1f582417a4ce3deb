// SPDX-License-Identifier: Apache-2.0
// The location tolerances (vantor/location.h) and the common datum axis (vantor/datum.h).
#ifndef VANTOR_PYTHON_LOCATION_H
#define VANTOR_PYTHON_LOCATION_H

#include <pybind11/pybind11.h>

namespace vantor::python {

// Adds to the module:
//
// location(tolerance, points, datum, second, rule, count, at): the location tolerance
// `tolerance` of the rows of `points` (rows with a NaN coordinate left out) about the true
// position or datum given as numbers (elements.h):
//   point_position                   a point
//   circle_position, concentricity   a line
//   axis_position, coaxiality        a line; the sections cut by `rule` "whole", "auto", "count"
//                                    (`count` sections) or "at" (the heights `at`), as split_rows
//   plane_position                   a plane
//   symmetry                         a plane; `second` the other face's points (None otherwise)
// Returns (value, deviation, points, actual [x, y, z], centres (k, 3) array).
//
// common_datum_axis(first, first_side, second, second_side): the common datum axis A-B of two
// features, each side "hole" or "shaft", as (line numbers, status name).
//
// Both throw ValueError for an unknown name or rule, EvaluationError with the library's reason
// and status when the evaluation fails.
void add_location(pybind11::module_& m);

}  // namespace vantor::python

#endif  // VANTOR_PYTHON_LOCATION_H
