// SPDX-License-Identifier: Apache-2.0
// Straightness and flatness of filtered profiles (vantor/filtered_form.h) for Python.
#ifndef VANTOR_PYTHON_FILTERED_H
#define VANTOR_PYTHON_FILTERED_H

#include <string>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

namespace vantor::python {

// The filtered form of `feature` ("straightness" or "flatness") of the valid rows of `points`
// with the cutoff wavelength `cutoff`, as (t, p, v, q, median spacing, outliers, warning or None,
// datum kind, datum numbers); the warning joins the sparse sampling's and the outliers' as the
// tool's report does. Throws ValueError when the evaluation fails, with the reason.
pybind11::tuple filtered_form(const std::string& feature, const pybind11::array& points,
                              double cutoff);

}  // namespace vantor::python

#endif  // VANTOR_PYTHON_FILTERED_H
