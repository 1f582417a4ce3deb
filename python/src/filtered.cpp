// SPDX-License-Identifier: Apache-2.0
#include "filtered.h"

#include <memory>
#include <string>

#include <pybind11/stl.h>
#include <vantor/filtered_form.h>

#include "elements.h"
#include "failure.h"
#include "fits.h"
#include "points.h"

namespace py = pybind11;

namespace vantor::python {

py::tuple filtered_form(const std::string& feature, const py::array& points, double cutoff) {
    if (feature != "straightness" && feature != "flatness") {
        throw py::value_error("no filtered form for " + feature);
    }
    const point_rows rows(points);
    vantor::filtered_profile p;
    element_values datum;
    {
        const py::gil_scoped_release release;
        const std::unique_ptr<vantor::actual> set = rows.points(invalid_rows::drop);
        if (feature == "straightness") {
            const vantor::filtered_straightness s = vantor::filter_straightness(*set, cutoff);
            p = s;
            if (s.valid()) datum = values_of(s.line);
        } else {
            const vantor::filtered_flatness f = vantor::filter_flatness(*set, cutoff);
            p = f;
            if (f.valid()) datum = values_of(f.plane);
        }
    }
    if (!p.valid()) throw failure(p.error, p.status);
    const std::string warning = cli::joined_warning(p.warning, p.outliers);
    return py::make_tuple(p.t, p.p, p.v, p.q, p.median_spacing, p.outliers,
                          warning.empty() ? py::object(py::none()) : py::object(py::str(warning)),
                          datum.first, datum.second);
}

}  // namespace vantor::python
