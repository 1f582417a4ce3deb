// SPDX-License-Identifier: Apache-2.0
#include "plans.h"

#include <optional>

#include "error.h"
#include "failure.h"
#include "fit_report.h"
#include "inspection.h"

namespace vantor::python {

pybind11::object inspect_plan(const std::string& path) {
    std::optional<cli::outcome> outcome;
    {
        const pybind11::gil_scoped_release release;
        try {
            outcome = cli::inspect(path);
        } catch (const cli::error& e) {
            throw failure(e.what(), e.code);
        }
    }
    return to_python(outcome->data);
}

}  // namespace vantor::python
