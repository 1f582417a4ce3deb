// SPDX-License-Identifier: Apache-2.0
// The roundness analysis (vantor/roundness_analysis.h) for Python, made by the program's own
// roundness command with its analysis options, so that the result is its report.
#ifndef VANTOR_PYTHON_ANALYSIS_H
#define VANTOR_PYTHON_ANALYSIS_H

#include <optional>
#include <string>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "elements.h"

namespace vantor::python {

// The roundness analysis of the valid rows of `points` (NaN rows left out) by cli::roundness
// with the analysis options, about the datum of `kind`: "circle" or "line" (its numbers),
// "direction" (three numbers: the circle fitted along it) or "" (the circle fitted in the
// least-squares plane). `filter_upr` is the Gaussian filter's cutoff in UPR (0: no filter),
// `reference` a criterion name (None: the program's choice for the datum) and `harmonics` the
// number of dominant harmonics to report (0: none). Converts and analyses with the GIL released.
// Returns (report, datum numbers): the program's JSON report as a dict, without the file's
// "file", "points" and "direction_from", and the numbers of its datum circle. Throws ValueError
// with the reason for an unknown criterion, bad points or a failed analysis ("roundness: ...").
pybind11::tuple roundness_analysis(const pybind11::array& points, const std::string& kind,
                                   const numbers& datum, double filter_upr,
                                   const std::optional<std::string>& reference, int harmonics);

}  // namespace vantor::python

#endif  // VANTOR_PYTHON_ANALYSIS_H
