// SPDX-License-Identifier: Apache-2.0
// The splitter of points measured as several profiles along an axis (vantor/sections.h).
#ifndef VANTOR_PYTHON_SECTIONS_H
#define VANTOR_PYTHON_SECTIONS_H

#include <string>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <vantor/sections.h>

#include "elements.h"

namespace vantor::python {

// The request of `rule` "whole", "auto", "count" (`count` sections) or "at" (cuts at the heights
// `at`); throws ValueError for another rule.
vantor::section_request request_of(const std::string& rule, int count,
                                   const std::vector<double>& at);

// The sections of the rows of `points` (rows with a NaN coordinate belong to none) along the
// axis of `kind`: "circle" or "line" (the datum's numbers), "direction" (three numbers: the axis
// along it through the least-squares circle's centre) or "" (the points' own axis), cut by
// `rule` "whole", "auto", "count" (`count` sections) or "at" (the heights `at`). Returns
// (axis line numbers, radius, limit, [(rows, height, low, high, refusal), ...]), refusal being
// why the section is not one profile or None. Throws ValueError with the reason the split fails.
pybind11::tuple split_rows(const pybind11::array& points, const std::string& kind,
                           const numbers& axis, const std::string& rule, int count,
                           const std::vector<double>& at);

}  // namespace vantor::python

#endif  // VANTOR_PYTHON_SECTIONS_H
