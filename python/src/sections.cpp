// SPDX-License-Identifier: Apache-2.0
#include "sections.h"

#include <memory>

#include <pybind11/stl.h>
#include <vantor/sections.h>

#include "failure.h"
#include "points.h"

namespace py = pybind11;

namespace vantor::python {

vantor::section_request request_of(const std::string& rule, int count,
                                   const std::vector<double>& at) {
    vantor::section_request request;
    if (rule == "auto") {
        request.how = vantor::section_request::rule::gaps;
    } else if (rule == "count") {
        request = {vantor::section_request::rule::count, count, {}};
    } else if (rule == "at") {
        request = {vantor::section_request::rule::at, 0, at};
    } else if (rule != "whole") {
        throw py::value_error("unknown rule '" + rule + "'");
    }
    return request;
}

py::tuple split_rows(const py::array& points, const std::string& kind, const numbers& axis,
                     const std::string& rule, int count, const std::vector<double>& at) {
    const vantor::section_request request = request_of(rule, count, at);
    const point_rows rows(points);
    vantor::section_split split;
    {
        const py::gil_scoped_release release;
        const std::unique_ptr<vantor::actual> set = rows.points(invalid_rows::keep);
        if (kind == "circle") {
            split = split_sections(*set, element_from<spanto::circle>(axis).axisline(), request);
        } else if (kind == "line") {
            split = split_sections(*set, element_from<spanto::line>(axis), request);
        } else if (kind == "direction") {
            const spanto::vector direction(axis.at(0), axis.at(1), axis.at(2));
            split = split_sections(*set, direction, request);
        } else {
            split = split_sections(*set, request);
        }
    }
    if (!split.valid()) throw failure(split.error, split.status);
    py::list sections;
    for (std::size_t k = 0; k < split.sections.size(); ++k) {
        const vantor::section& s = split.sections[k];
        const py::object refusal =
            s.spread() > split.limit ? py::object(py::str(split.wide_message(k))) : py::none();
        sections.append(
            py::make_tuple(py::array_t<int>(static_cast<py::ssize_t>(s.rows.size()), s.rows.data()),
                           s.height, s.low, s.high, refusal));
    }
    return py::make_tuple(values_of(split.axis).second, split.radius, split.limit, sections);
}

}  // namespace vantor::python
