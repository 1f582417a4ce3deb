// SPDX-License-Identifier: Apache-2.0
#include "location.h"

#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/stl.h>
#include <vantor/datum.h>
#include <vantor/location.h>

#include "elements.h"
#include "failure.h"
#include "points.h"
#include "sections.h"

namespace py = pybind11;

namespace vantor::python {
namespace {

// The evaluation of `tolerance` on the points, with its datum converted; called with the GIL
// released, after the names were checked.
vantor::location_result evaluate(const std::string& tolerance, const vantor::actual& points,
                                 const numbers& datum, const vantor::actual* second,
                                 const vantor::section_request& request) {
    if (tolerance == "point_position") {
        return vantor::point_position(points, element_from<spanto::point>(datum));
    }
    if (tolerance == "circle_position") {
        return vantor::circle_position(points, element_from<spanto::line>(datum));
    }
    if (tolerance == "concentricity") {
        return vantor::concentricity(points, element_from<spanto::line>(datum));
    }
    if (tolerance == "axis_position") {
        return vantor::axis_position(points, element_from<spanto::line>(datum), request);
    }
    if (tolerance == "coaxiality") {
        return vantor::coaxiality(points, element_from<spanto::line>(datum), request);
    }
    if (tolerance == "plane_position") {
        return vantor::plane_position(points, element_from<spanto::plane>(datum));
    }
    return vantor::symmetry(points, *second, element_from<spanto::plane>(datum));
}

py::tuple location(const std::string& tolerance, const py::array& points, const numbers& datum,
                   const std::optional<py::array>& second, const std::string& rule, int count,
                   const std::vector<double>& at) {
    static const char* const names[] = {"point_position", "circle_position", "concentricity",
                                        "axis_position",  "coaxiality",      "plane_position",
                                        "symmetry"};
    bool known = false;
    for (const char* name : names) known = known || tolerance == name;
    if (!known) throw py::value_error("unknown location tolerance '" + tolerance + "'");
    if ((tolerance == "symmetry") != second.has_value()) {
        throw py::value_error("symmetry, and only symmetry, takes a second face");
    }
    const vantor::section_request request = request_of(rule, count, at);
    const point_rows rows(points);
    std::optional<point_rows> other;
    if (second) other.emplace(*second);
    vantor::location_result r;
    {
        const py::gil_scoped_release release;
        const std::unique_ptr<vantor::actual> set = rows.points(invalid_rows::drop);
        const std::unique_ptr<vantor::actual> face =
            other ? other->points(invalid_rows::drop) : nullptr;
        r = evaluate(tolerance, *set, datum, face.get(), request);
    }
    if (!r.valid()) throw failure(r.error, r.status);
    if (!std::isfinite(r.value)) {
        throw failure("the value is not finite (coordinates too large?)",
                      vantor::status::invalid_points);
    }
    return py::make_tuple(r.value, r.deviation, r.points, values_of(r.actual).second,
                          to_array(r.centres));
}

py::tuple common_datum_axis(const py::array& first, const std::string& first_side,
                            const py::array& second, const std::string& second_side) {
    const vantor::feature_side a = side_of(first_side), b = side_of(second_side);
    const point_rows rows_a(first), rows_b(second);
    vantor::datum_result<spanto::line> r;
    {
        const py::gil_scoped_release release;
        const std::unique_ptr<vantor::actual> set_a = rows_a.points(invalid_rows::drop);
        const std::unique_ptr<vantor::actual> set_b = rows_b.points(invalid_rows::drop);
        r = vantor::common_datum_axis(*set_a, a, *set_b, b);
    }
    if (!r.valid()) throw failure(r.error, r.status);
    return py::make_tuple(values_of(r.element).second, vantor::status_name(r.status));
}

}  // namespace

void add_location(py::module_& m) {
    using namespace pybind11::literals;
    m.def("location", &location, "tolerance"_a, "points"_a, "datum"_a, "second"_a, "rule"_a,
          "count"_a, "at"_a);
    m.def("common_datum_axis", &common_datum_axis, "first"_a, "first_side"_a, "second"_a,
          "second_side"_a);
}

}  // namespace vantor::python
