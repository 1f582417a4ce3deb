// SPDX-License-Identifier: Apache-2.0
#include "failure.h"

#include <exception>

#include <pybind11/pybind11.h>

namespace py = pybind11;

namespace vantor::python {

void register_failure_translator() {
    py::register_exception_translator([](std::exception_ptr thrown) {
        try {
            if (thrown) std::rethrow_exception(thrown);
        } catch (const failure& f) {
            const py::object type = py::module_::import("vantor._errors").attr("EvaluationError");
            const py::object error = type(f.what(), vantor::status_name(f.code));
            PyErr_SetObject(type.ptr(), error.ptr());
        }
    });
}

}  // namespace vantor::python
