// SPDX-License-Identifier: Apache-2.0
#include "analysis.h"

#include <memory>
#include <utility>

#include <pybind11/stl.h>

#include "fit_report.h"
#include "points.h"
#include "roundness_command.h"

namespace py = pybind11;

namespace vantor::python {
namespace {

cli::roundness_datum datum_of(const std::string& kind, const numbers& v) {
    if (kind == "circle") return element_from<spanto::circle>(v);
    if (kind == "line") return element_from<spanto::line>(v);
    if (kind == "direction") {
        if (v.size() != 3) throw py::value_error("direction: expected 3 numbers");
        return spanto::vector(v[0], v[1], v[2]);
    }
    if (!kind.empty()) throw py::value_error("no roundness datum of kind '" + kind + "'");
    return std::monostate();
}

// The numbers of a circle as the report gives it (JSON numbers read back to the same doubles).
numbers circle_numbers(const cli::report& r) {
    const cli::report& c = r.at("circle");
    numbers v;
    for (const char* key : {"centre", "normal"}) {
        for (const cli::report& x : c.at(key)) v.push_back(x.get<double>());
    }
    v.push_back(c.at("radius").get<double>());
    return v;
}

}  // namespace

py::tuple roundness_analysis(const py::array& points, const std::string& kind, const numbers& datum,
                             double filter_upr, const std::optional<std::string>& reference,
                             int harmonics) {
    const cli::roundness_datum about = datum_of(kind, datum);
    cli::roundness_options options;
    options.filter = filter_upr;  // always given, so that the analysis runs: 0 is no filter
    if (reference) options.reference = criterion_of(*reference);
    if (harmonics > 0) options.harmonics = harmonics;
    const point_rows rows(points);
    cli::report r = without_gil([&] {
        cli::point_file in;
        in.name = "roundness";  // so that the program's messages read "roundness: <reason>"
        in.points = rows.points(invalid_rows::drop);
        return cli::roundness(in, about, cli::tolerance(), std::nullopt, options).data;
    });
    for (const char* key : {"file", "points", "direction_from"}) r.erase(key);
    return py::make_tuple(to_python(r), circle_numbers(r.at("datum")));
}

}  // namespace vantor::python
