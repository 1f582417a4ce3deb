// SPDX-License-Identifier: Apache-2.0
#include "size.h"

#include <memory>

#include <pybind11/stl.h>
#include <vantor/size.h>

#include "failure.h"
#include "fit_report.h"
#include "points.h"
#include "sections.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace vantor::python {

namespace {

vantor::element_kind element_of(const std::string& name) {
    const vantor::element_info* e = vantor::element_named(name);
    if (e == nullptr) throw py::value_error("unknown element '" + name + "'");
    return e->kind;
}

template <class Evaluate>
py::tuple evaluated(const py::array& points, Evaluate evaluate) {
    const point_rows rows(points);
    vantor::size_result r;
    {
        const py::gil_scoped_release release;
        const std::unique_ptr<vantor::actual> set = rows.points(invalid_rows::drop);
        r = evaluate(*set);
    }
    if (!r.valid()) throw failure(r.error, r.status);
    const vantor::size_statistics& s = r.statistics;
    return py::make_tuple(
        r.value, vantor::status_name(r.status), r.points,
        py::array_t<double>(static_cast<py::ssize_t>(r.sizes.size()), r.sizes.data()),
        py::make_tuple(s.count, s.maximum, s.minimum, s.average, s.median, s.range));
}

}  // namespace

py::tuple global_size(const py::array& points, const std::string& element,
                      const std::string& criterion) {
    const vantor::element_kind e = element_of(element);
    const vantor::criterion c = criterion_of(criterion);
    return evaluated(points, [&](const vantor::actual& set) { return global_size(set, e, c); });
}

py::tuple two_point_sizes(const py::array& points, const std::string& element,
                          const std::string& rule, int count, const std::vector<double>& at) {
    const vantor::element_kind e = element_of(element);
    const vantor::section_request request = request_of(rule, count, at);
    return evaluated(points,
                     [&](const vantor::actual& set) { return two_point_sizes(set, e, request); });
}

py::tuple section_sizes(const py::array& points, const std::string& criterion,
                        const std::string& rule, int count, const std::vector<double>& at) {
    const vantor::criterion c = criterion_of(criterion);
    const vantor::section_request request = request_of(rule, count, at);
    return evaluated(points,
                     [&](const vantor::actual& set) { return section_sizes(set, c, request); });
}

void register_sizes(py::module_& m) {
    m.def("global_size", &global_size, "points"_a, "element"_a, "criterion"_a);
    m.def("two_point_sizes", &two_point_sizes, "points"_a, "element"_a, "rule"_a, "count"_a,
          "at"_a);
    m.def("section_sizes", &section_sizes, "points"_a, "criterion"_a, "rule"_a, "count"_a, "at"_a);
}

}  // namespace vantor::python
