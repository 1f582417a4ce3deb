// SPDX-License-Identifier: Apache-2.0
#include "orientation.h"

#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/stl.h>
#include <vantor/datum.h>
#include <vantor/orientation.h>

#include "elements.h"
#include "failure.h"
#include "points.h"
#include "sections.h"

namespace py = pybind11;

namespace vantor::python {
namespace {

spanto::vector vector_of(const numbers& v) {
    if (v.size() != 3) throw py::value_error("a direction is three numbers");
    return spanto::vector(v[0], v[1], v[2]);
}

py::tuple datum(const std::string& kind, const py::array& points, const std::string& side,
                const numbers& outward) {
    const point_rows rows(points);
    if (kind == "plane") {
        const spanto::vector out = vector_of(outward);
        vantor::datum_result<spanto::plane> r;
        {
            const py::gil_scoped_release release;
            r = vantor::datum_plane(*rows.points(invalid_rows::drop), out);
        }
        if (!r) throw failure(r.error, r.status);
        const element_values v = values_of(r.element);
        return py::make_tuple(v.first, v.second, vantor::status_name(r.status), r.fit.objective);
    }
    const vantor::feature_side s = side_of(side);
    if (kind == "centre") {
        vantor::datum_result<spanto::point> r;
        {
            const py::gil_scoped_release release;
            r = vantor::datum_centre(*rows.points(invalid_rows::drop), s);
        }
        if (!r) throw failure(r.error, r.status);
        return py::make_tuple("point", values_of(r.element).second, vantor::status_name(r.status),
                              r.fit.objective);
    }
    if (kind != "axis" && kind != "circle_axis")
        throw py::value_error("unknown datum '" + kind + "'");
    vantor::datum_result<spanto::line> r;
    {
        const py::gil_scoped_release release;
        const std::unique_ptr<vantor::actual> set = rows.points(invalid_rows::drop);
        r = kind == "axis" ? vantor::datum_axis(*set, s) : vantor::datum_circle_axis(*set, s);
    }
    if (!r) throw failure(r.error, r.status);
    const element_values v = values_of(r.element);
    return py::make_tuple(v.first, v.second, vantor::status_name(r.status), r.fit.objective);
}

py::tuple datum_system(
    const std::vector<std::tuple<std::string, py::array, std::string, numbers>>& features) {
    if (features.size() < 2 || features.size() > 3)
        throw py::value_error("a datum system has two or three datums");
    std::vector<point_rows> rows;
    for (const auto& f : features) rows.emplace_back(std::get<1>(f));
    std::vector<std::unique_ptr<vantor::actual>> sets(features.size());
    vantor::datum_feature given[3];
    for (std::size_t k = 0; k < features.size(); ++k) {
        const std::string& type = std::get<0>(features[k]);
        if (type != "face" && type != "round")
            throw py::value_error("a datum feature is 'face' or 'round', not '" + type + "'");
        sets[k] = rows[k].points(invalid_rows::drop);
        given[k] = type == "face"
                       ? vantor::datum_feature::face(*sets[k], vector_of(std::get<3>(features[k])))
                       : vantor::datum_feature::round(*sets[k], side_of(std::get<2>(features[k])));
    }
    vantor::datum_frame f;
    {
        const py::gil_scoped_release release;
        f = vantor::datum_system(given[0], given[1], given[2]);
    }
    if (!f) throw failure(f.error, f.status);
    const auto v = [](const spanto::vector& d) { return numbers{d.x, d.y, d.z}; };
    return py::make_tuple(values_of(f.origin).second, v(f.x), v(f.y), v(f.z), f.rotation_fixed,
                          vantor::status_name(f.status));
}

py::tuple orientation(const std::string& tolerance, const py::array& points,
                      const std::string& datum_kind, const numbers& datum, double angle,
                      const std::string& rule, int count, const std::vector<double>& at) {
    const bool plane = datum_kind == "plane";
    if (!plane && datum_kind != "line") throw py::value_error("a datum is a plane or a line");
    const bool known =
        tolerance == "parallelism" || tolerance == "perpendicularity" ||
        (plane && (tolerance == "angularity" || tolerance == "axis_perpendicularity")) ||
        tolerance == "axis_parallelism";
    if (!known)
        throw py::value_error(tolerance + " about a datum " + datum_kind + " is not evaluated");
    if (tolerance == "parallelism" && !plane)
        throw py::value_error("parallelism of a surface is to a datum plane");
    const vantor::section_request request = request_of(rule, count, at);
    const point_rows rows(points);
    const std::optional<spanto::plane> datum_plane =
        plane ? std::optional<spanto::plane>(element_from<spanto::plane>(datum)) : std::nullopt;
    const std::optional<spanto::line> datum_line =
        plane ? std::nullopt : std::optional<spanto::line>(element_from<spanto::line>(datum));
    vantor::orientation_result r;
    {
        const py::gil_scoped_release release;
        const std::unique_ptr<vantor::actual> set = rows.points(invalid_rows::drop);
        const vantor::actual& p = *set;
        if (plane) {
            const spanto::plane& d = *datum_plane;
            if (tolerance == "parallelism") r = vantor::parallelism(p, d);
            if (tolerance == "perpendicularity") r = vantor::perpendicularity(p, d);
            if (tolerance == "angularity") r = vantor::angularity(p, d, angle);
            if (tolerance == "axis_parallelism") r = vantor::axis_parallelism(p, d, request);
            if (tolerance == "axis_perpendicularity")
                r = vantor::axis_perpendicularity(p, d, request);
        } else {
            const spanto::line& d = *datum_line;
            r = tolerance == "perpendicularity" ? vantor::perpendicularity(p, d)
                                                : vantor::axis_parallelism(p, d, request);
        }
    }
    if (!r) throw failure(r.error, r.status);
    const spanto::vector& d = r.direction;
    return py::make_tuple(r.value, vantor::status_name(r.status), r.points, numbers{d.x, d.y, d.z},
                          r.minimum, r.maximum, to_array(r.centres));
}

py::tuple runout(const std::string& tolerance, const py::array& points, const numbers& datum,
                 const std::string& rule, int count, const std::vector<double>& at,
                 const std::vector<double>& radii, double half_width) {
    if (tolerance != "circular_radial_runout" && tolerance != "total_radial_runout" &&
        tolerance != "circular_axial_runout" && tolerance != "total_axial_runout")
        throw py::value_error("unknown runout '" + tolerance + "'");
    const vantor::section_request request = request_of(rule, count, at);
    const point_rows rows(points);
    const spanto::line d = element_from<spanto::line>(datum);
    vantor::runout_result r;
    {
        const py::gil_scoped_release release;
        const std::unique_ptr<vantor::actual> set = rows.points(invalid_rows::drop);
        if (tolerance == "circular_radial_runout")
            r = vantor::circular_radial_runout(*set, d, request);
        if (tolerance == "total_radial_runout") r = vantor::total_radial_runout(*set, d);
        if (tolerance == "circular_axial_runout")
            r = vantor::circular_axial_runout(*set, d, radii, half_width);
        if (tolerance == "total_axial_runout") r = vantor::total_axial_runout(*set, d);
    }
    if (!r) throw failure(r.error, r.status);
    py::list circles;
    for (const vantor::runout_circle& c : r.circles)
        circles.append(py::make_tuple(c.position, c.points, c.minimum, c.maximum, c.value));
    return py::make_tuple(r.value, vantor::status_name(r.status), r.points, r.minimum, r.maximum,
                          r.worst, circles);
}

}  // namespace

void add_orientation(py::module_& m) {
    using namespace pybind11::literals;
    m.def("datum", &datum, "kind"_a, "points"_a, "side"_a, "outward"_a);
    m.def("datum_system", &datum_system, "features"_a);
    m.def("orientation", &orientation, "tolerance"_a, "points"_a, "datum_kind"_a, "datum"_a,
          "angle"_a, "rule"_a, "count"_a, "at"_a);
    m.def("runout", &runout, "tolerance"_a, "points"_a, "datum"_a, "rule"_a, "count"_a, "at"_a,
          "radii"_a, "half_width"_a);
}

}  // namespace vantor::python
