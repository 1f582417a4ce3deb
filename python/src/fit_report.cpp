#include "fit_report.h"

#include <pybind11/numpy.h>

namespace py = pybind11;
using namespace pybind11::literals;

namespace vantor::python {
namespace {

// Three values as an array, one as a float.
py::object parameter_value(const double (&v)[3], int size) {
    if (size == 3) return py::array_t<double>(3, v);
    return py::float_(v[0]);
}

}  // namespace

py::dict fit_dict(const fit_outcome& outcome) {
    const vantor::fit_report& r = outcome.report;
    if (!r.valid()) throw py::value_error(r.error);
    py::dict parameters, uncertainty;
    for (const vantor::fit_parameter& p : r.parameters) {
        parameters[p.name] = parameter_value(p.value, p.size);
        uncertainty[p.name] = parameter_value(p.uncertainty, p.size);
    }
    return py::dict("kind"_a = outcome.element.first, "numbers"_a = outcome.element.second,
                    "points"_a = r.points, "deviation"_a = r.deviation, "minimum"_a = r.minimum,
                    "maximum"_a = r.maximum, "rms"_a = r.rms, "iterations"_a = r.iterations,
                    "converged"_a = r.converged, "parameters"_a = parameters,
                    "uncertainty"_a = r.has_uncertainty ? py::object(uncertainty) : py::none(),
                    "contacts"_a = py::array_t<int>(static_cast<py::ssize_t>(r.contacts.size()),
                                                    r.contacts.data()));
}

}  // namespace vantor::python
