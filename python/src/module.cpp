// SPDX-License-Identifier: Apache-2.0
// vantor._core: the C++ side of the Python package. The package `vantor` gives the public
// interface; this module takes plain values (arrays, kind names and numbers) and returns them.
#include <memory>
#include <optional>
#include <string>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <vantor/fit.h>
#include <vantor/version.h>

#include "analysis.h"
#include "command_report.h"
#include "elements.h"
#include "failure.h"
#include "files.h"
#include "filtered.h"
#include "fit_report.h"
#include "forms.h"
#include "location.h"
#include "orientation.h"
#include "plans.h"
#include "points.h"
#include "profile.h"
#include "reference.h"
#include "sections.h"
#include "size.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace vantor::python {
namespace {

// The form value of the valid rows of `points` (converted and evaluated with the GIL released)
// as (value, minimum, maximum, extremes, datum kind, datum numbers, outliers, warning).
py::tuple form(const std::string& feature, const py::array& points, const std::string& kind,
               const numbers& datum) {
    const point_rows rows(points);
    std::optional<form_outcome> outcome;
    {
        const py::gil_scoped_release release;
        const std::unique_ptr<vantor::actual> set = rows.points(invalid_rows::drop);
        outcome = evaluate_form(feature, *set, kind, datum);
    }
    return py::make_tuple(outcome->value, outcome->minimum, outcome->maximum, outcome->extremes,
                          outcome->datum.first, outcome->datum.second, outcome->outliers,
                          outlier_warning(outcome->outliers));
}

}  // namespace
}  // namespace vantor::python

PYBIND11_MODULE(_core, m) {
    using namespace vantor::python;
    m.doc() = "The C++ side of the vantor package (use the package, not this module).";
    register_failure_translator();
    m.def("version", [] { return std::string(vantor::version()); });
    m.def("make_element", &make_element, "kind"_a, "numbers"_a);
    m.def("form", &form, "feature"_a, "points"_a, "kind"_a, "datum"_a);
    m.def("filtered_form", &filtered_form, "feature"_a, "points"_a, "cutoff"_a);
    m.def("elements", &elements_table);
    m.def("criteria", &criterion_names);
    m.def("fit", &fit, "points"_a, "element"_a, "criterion"_a, "direction"_a, "axis"_a,
          "max_tilt"_a, "time_budget"_a, "reject_beyond"_a);
    m.def("reference_form", &reference_form, "feature"_a, "points"_a, "criterion"_a, "direction"_a,
          "axis"_a, "max_tilt"_a, "time_budget"_a);
    // The criterion of the reference fitted for a form value without a datum: the program's.
    m.attr("default_reference") = vantor::criterion_name(vantor::cli::default_reference);
    // The verdict about a value, by the program's rule (cli::verdict).
    m.def(
        "verdict",
        [](double value, double nominal, double lower, double upper) {
            return to_python(vantor::cli::verdict(value, nominal, lower, upper));
        },
        "value"_a, "nominal"_a, "lower"_a, "upper"_a);
    m.def("load", &load_points, "path"_a, "columns"_a);
    m.def("save", &save_points, "path"_a, "points"_a, "text"_a, "force"_a);
    m.def("polar_profile", &polar_profile, "points"_a, "circle"_a);
    m.def("roundness_analysis", &roundness_analysis, "points"_a, "kind"_a, "datum"_a,
          "filter_upr"_a, "reference"_a, "harmonics"_a);
    m.def("split_rows", &split_rows, "points"_a, "kind"_a, "axis"_a, "rule"_a, "count"_a, "at"_a);
    add_location(m);
    add_orientation(m);
    register_sizes(m);
    m.def("inspect", &inspect_plan, "path"_a);
}
