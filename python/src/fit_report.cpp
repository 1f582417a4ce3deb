// SPDX-License-Identifier: Apache-2.0
#include "fit_report.h"

#include <memory>
#include <utility>
#include <variant>
#include <vector>

#include <pybind11/stl.h>

#include "error.h"
#include "fits.h"
#include "points.h"
#include "reference.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace vantor::python {
namespace {

std::optional<spanto::vector> direction_of(const std::optional<numbers>& v) {
    if (!v) return std::nullopt;
    if (v->size() != 3) throw py::value_error("direction: expected 3 numbers");
    return spanto::vector((*v)[0], (*v)[1], (*v)[2]);
}

// The options of a fit; ValueError with the library's reason when it refuses them.
vantor::fit_options options_of(const std::optional<numbers>& axis, double max_tilt,
                               double time_budget, double reject_beyond = 0.0) {
    vantor::fit_options options;
    if (const std::optional<spanto::vector> a = direction_of(axis)) options.axis = *a;
    options.max_tilt = max_tilt;
    options.time_budget = time_budget;
    options.reject_beyond = reject_beyond;
    const std::string refused = vantor::fit_options_refusal(options);
    if (!refused.empty()) throw py::value_error(refused);
    return options;
}

}  // namespace

vantor::criterion criterion_of(const std::string& name) {
    vantor::criterion c = vantor::criterion::gauss;
    if (!vantor::criterion_named(name.c_str(), c)) {
        std::string known;
        for (const vantor::criterion_info& i : vantor::criteria())
            known += (known.empty() ? "" : ", ") + std::string(i.name);
        throw py::value_error("unknown criterion '" + name + "' (" + known + ")");
    }
    return c;
}

py::object to_python(const cli::report& r) {
    switch (r.type()) {
        case cli::report::value_t::object: {
            py::dict d;
            for (const auto& item : r.items()) d[py::str(item.key())] = to_python(item.value());
            return std::move(d);
        }
        case cli::report::value_t::array: {
            py::list l;
            for (const cli::report& item : r) l.append(to_python(item));
            return std::move(l);
        }
        case cli::report::value_t::string:
            return py::str(r.get_ref<const std::string&>());
        case cli::report::value_t::boolean:
            return py::bool_(r.get<bool>());
        case cli::report::value_t::number_integer:
            return py::int_(r.get<std::int64_t>());
        case cli::report::value_t::number_unsigned:
            return py::int_(r.get<std::uint64_t>());
        case cli::report::value_t::number_float:
            return py::float_(r.get<double>());
        default:
            return py::none();
    }
}

py::dict fit(const py::array& points, const std::string& element, const std::string& criterion,
             const std::optional<numbers>& direction, const std::optional<numbers>& axis,
             double max_tilt, double time_budget, double reject_beyond) {
    const vantor::element_info* kind = vantor::element_named(element);
    if (kind == nullptr) {
        std::string known;
        for (const vantor::element_info& e : vantor::elements())
            known += (known.empty() ? "" : ", ") + std::string(e.name);
        throw py::value_error("unknown element '" + element + "' (" + known + ")");
    }
    const vantor::criterion c = criterion_of(criterion);
    const std::optional<spanto::vector> along = direction_of(direction);
    const vantor::fit_options options = options_of(axis, max_tilt, time_budget, reject_beyond);
    const point_rows rows(points);
    const auto [outcome, json] = without_gil([&] {
        const std::unique_ptr<vantor::actual> set = rows.points(invalid_rows::keep);
        cli::fitted f = cli::fit_element(*set, kind->kind, c, along, options);
        cli::report j = cli::fit_json(f);
        return std::make_pair(std::move(f), std::move(j));
    });
    const vantor::fit_report& r = outcome;
    // A failed fit: its reason and status, which the package raises as a FitError.
    if (!r.valid()) {
        return py::dict("error"_a = cli::reference_name(c, element) + ": " + r.error,
                        "status"_a = vantor::status_name(r.status));
    }
    py::list parameters;
    for (const vantor::fit_parameter& p : r.parameters) parameters.append(p.name);
    const element_values values =
        std::visit([](const auto& e) { return values_of(e); }, outcome.element);
    return py::dict("kind"_a = values.first, "numbers"_a = values.second, "points"_a = r.points,
                    "minimum"_a = r.minimum, "maximum"_a = r.maximum, "converged"_a = r.converged,
                    "parameters"_a = parameters, "json"_a = to_python(json));
}

py::tuple reference_form(const std::string& feature, const py::array& points,
                         const std::string& criterion, const std::optional<numbers>& direction,
                         const std::optional<numbers>& axis, double max_tilt, double time_budget) {
    const vantor::criterion c = criterion_of(criterion);
    const std::optional<spanto::vector> along = direction_of(direction);
    const vantor::fit_options options = options_of(axis, max_tilt, time_budget);
    const point_rows rows(points);
    const cli::reference_form form = without_gil([&] {
        const std::unique_ptr<vantor::actual> set = rows.points(invalid_rows::drop);
        return cli::form_about_reference(*set, feature, c, along, options);
    });
    const element_values datum = std::visit([](const auto& e) { return values_of(e); }, form.datum);
    const py::object proof = form.proof ? to_python(cli::proof_json(*form.proof)) : py::none();
    return py::make_tuple(form.value, form.minimum, form.maximum, form.extremes, datum.first,
                          datum.second, form.reference, proof, form.outliers,
                          outlier_warning(form.outliers));
}

py::list elements_table() {
    py::list rows;
    for (const vantor::element_info& e : vantor::elements()) {
        py::list criteria, parameters;
        for (const vantor::criterion c : e.criteria) criteria.append(vantor::criterion_name(c));
        for (const vantor::parameter_info& p : e.parameters)
            parameters.append(py::make_tuple(p.name, p.size));
        rows.append(py::make_tuple(e.name, e.form, e.fewest_points, py::tuple(criteria),
                                   py::tuple(parameters)));
    }
    return rows;
}

py::list criterion_names() {
    py::list names;
    for (const vantor::criterion_info& c : vantor::criteria()) names.append(c.name);
    return names;
}

py::object outlier_warning(int outliers) {
    return outliers > 0 ? py::object(py::str(cli::outlier_warning(outliers))) : py::none();
}

}  // namespace vantor::python
