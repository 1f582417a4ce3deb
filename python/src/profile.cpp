#include "profile.h"

#include <memory>

#include "points.h"
#include "roundness_plot.h"

namespace py = pybind11;

namespace vantor::python {

std::pair<py::array_t<double>, py::array_t<double>> polar_profile(const py::array& points,
                                                                  const numbers& circle) {
    const point_rows rows(points);
    const cli::polar_frame frame(element_from<spanto::circle>(circle));
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
            const cli::polar at = frame.project(p);
            *angle++ = at.angle;
            *radius++ = at.radius;
        }
    }
    return {angles, radii};
}

}  // namespace vantor::python
