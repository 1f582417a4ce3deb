// SPDX-License-Identifier: Apache-2.0
// Inspection plans, evaluated by the command-line tool's own runner (front/inspection.h).
#ifndef VANTOR_PYTHON_PLANS_H
#define VANTOR_PYTHON_PLANS_H

#include <string>

#include <pybind11/pybind11.h>

namespace vantor::python {

// The report of `vantor --json inspect PLAN` as a dict, evaluated with the GIL released. Throws
// vantor.EvaluationError with the runner's message (naming the plan's line) and status.
pybind11::object inspect_plan(const std::string& path);

}  // namespace vantor::python

#endif  // VANTOR_PYTHON_PLANS_H
