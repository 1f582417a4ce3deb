// SPDX-License-Identifier: Apache-2.0
// A failed evaluation as Python receives it: vantor.EvaluationError (a ValueError) with the
// message and the library's status code (vantor::status_name), so that callers can tell too few
// points from a degenerate set or a refused request without reading the message.
#ifndef VANTOR_PYTHON_FAILURE_H
#define VANTOR_PYTHON_FAILURE_H

#include <stdexcept>
#include <string>

#include <vantor/fit.h>

namespace vantor::python {

// Thrown with or without the GIL; the translator raises it as vantor.EvaluationError.
struct failure : std::runtime_error {
    failure(const std::string& message, vantor::status code)
        : std::runtime_error(message), code(code) {}
    vantor::status code;
};

// Registers the translator of failure; once, when the module is made.
void register_failure_translator();

}  // namespace vantor::python

#endif  // VANTOR_PYTHON_FAILURE_H
