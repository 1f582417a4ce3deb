// SPDX-License-Identifier: Apache-2.0
#include "elements.h"

#include <cmath>
#include <type_traits>
#include <variant>

#include <vantor/fit.h>

#include "error.h"

namespace py = pybind11;

namespace vantor::python {
namespace {

// Calls f(E*) (a null pointer naming the type) for the alternative E of the variant whose kind is
// `kind`; false when none is.
template <class F, class... E>
bool with_kind(const std::string& kind, const F& f, const std::variant<E...>*) {
    return ((kind == cli::element_values<E>::kind && (f(static_cast<E*>(nullptr)), true)) || ...);
}

void check_finite(const std::string& kind, const numbers& v) {
    for (const double x : v) {
        if (!std::isfinite(x)) throw py::value_error(kind + ": every number must be finite");
    }
}

}  // namespace

numbers make_element(const std::string& kind, const numbers& v) {
    if (kind == "point") {
        cli::check_count("point", 3, v);
        check_finite(kind, v);
        return v;
    }
    numbers made;
    const bool known = with_kind(
        kind,
        [&](auto* type) {
            using Element = std::remove_pointer_t<decltype(type)>;
            using values = cli::element_values<Element>;
            try {
                cli::check_count(values::kind, cli::size<Element>(), v);
                check_finite(kind, v);
                made = values::of(values::made(v));
            } catch (const cli::error& e) {
                throw py::value_error(e.what());
            }
        },
        static_cast<vantor::fitted_element*>(nullptr));
    if (!known) throw py::value_error("unknown element kind '" + kind + "'");
    return made;
}

template <>
spanto::point element_from(const numbers& v) {
    if (v.size() != 3)
        throw py::value_error("point: expected 3 numbers, got " + std::to_string(v.size()));
    return spanto::point(v[0], v[1], v[2]);
}

element_values values_of(const spanto::point& p) { return {"point", {p.x, p.y, p.z}}; }

vantor::feature_side side_of(const std::string& side) {
    if (side == "hole") return vantor::feature_side::hole;
    if (side == "shaft") return vantor::feature_side::shaft;
    throw pybind11::value_error("a feature's side is 'hole' or 'shaft', not '" + side + "'");
}

}  // namespace vantor::python
