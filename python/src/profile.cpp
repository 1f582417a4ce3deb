// SPDX-License-Identifier: Apache-2.0
#include "profile.h"

#include <cmath>
#include <memory>

#include <vantor/roundness_analysis.h>

#include "points.h"

namespace py = pybind11;

namespace vantor::python {

std::pair<py::array_t<double>, py::array_t<double>> polar_profile(const py::array& points,
                                                                  const numbers& circle) {
    const point_rows rows(points);
    const spanto::circle reference = element_from<spanto::circle>(circle);
    const vantor::polar_frame frame = vantor::polar_frame_about(reference.normal);
    std::unique_ptr<vantor::actual> set;
    {
        const py::gil_scoped_release release;
        set = rows.points(invalid_rows::drop);
    }
    const py::ssize_t n = set->numpoints();
    py::array_t<double> angles(n), radii(n);
    double* angle = angles.mutable_data();
    double* radius = radii.mutable_data();
    {
        const py::gil_scoped_release release;
        for (const spanto::point& p : *set) {
            const spanto::vector d = p - reference.centre;
            const double x = dot(d, frame.zero), y = dot(d, frame.quarter);
            *angle++ = std::atan2(y, x);
            *radius++ = std::hypot(x, y);
        }
    }
    return {angles, radii};
}

}  // namespace vantor::python
