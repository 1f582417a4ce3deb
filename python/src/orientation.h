// SPDX-License-Identifier: Apache-2.0
// Datums (vantor/datum.h), orientation tolerances and runouts (vantor/orientation.h).
#ifndef VANTOR_PYTHON_ORIENTATION_H
#define VANTOR_PYTHON_ORIENTATION_H

#include <pybind11/pybind11.h>

namespace vantor::python {

// Adds to the module (rows with a NaN coordinate left out; elements as numbers, elements.h;
// sections by `rule`, `count` and `at` as split_rows takes them):
//
// datum(kind, points, side, outward): the datum "plane" (outward: a direction out of the
// material), "axis", "circle_axis" or "centre" (side "hole" or "shaft") as (element kind,
// numbers, status name, fit objective).
//
// datum_system(features): the frame of A|B or A|B|C, each feature (type, points, side, outward)
// with type "face" or "round", as (origin, x, y, z, rotation_fixed, status name).
//
// orientation(tolerance, points, datum kind, datum numbers, angle, rule, count, at):
// parallelism, perpendicularity, angularity, axis_parallelism, axis_perpendicularity, as
// (value, status name, points, direction, minimum, maximum, centres (k, 3)).
//
// runout(tolerance, points, datum line numbers, rule, count, at, radii, half_width):
// circular_radial_runout, total_radial_runout, circular_axial_runout, total_axial_runout, as
// (value, status name, points, minimum, maximum, worst, circles [(position, points, minimum,
// maximum, value)]).
//
// Each throws ValueError for an unknown name and EvaluationError with the library's reason and
// status when the evaluation fails.
void add_orientation(pybind11::module_& m);

}  // namespace vantor::python

#endif  // VANTOR_PYTHON_ORIENTATION_H
