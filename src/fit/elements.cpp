// SPDX-License-Identifier: Apache-2.0
// The table of criteria and elements (vantor/fit.h), and the fit that dispatches through it.
#include <string>
#include <utility>

#include "vantor/fit.h"

namespace vantor {
namespace {

// An element's own fit, its result carried as any fitted element.
template <class Element,
          fit_result<Element> (*own_fit)(const actual&, criterion, const fit_options&)>
fit_result<fitted_element> any_fit(const actual& points, criterion c, const fit_options& options) {
    fit_result<Element> r = own_fit(points, c, options);
    fit_result<fitted_element> any;
    any.element = r.element;
    static_cast<fit_report&>(any) = std::move(static_cast<fit_report&>(r));
    return any;
}

// fit_circle is overloaded: this is the one in the points' least-squares plane.
fit_result<spanto::circle> circle_in_plane(const actual& points, criterion c,
                                           const fit_options& options) {
    return fit_circle(points, c, options);
}

}  // namespace

const std::array<criterion_info, 4>& criteria() {
    static const std::array<criterion_info, 4> table = {{
        {criterion::gauss, "gauss", "least squares", "least-squares", "LSC"},
        {criterion::zone, "zone", "minimum zone", "minimum-zone", "MZC"},
        {criterion::inscribed, "inscribed", "maximum inscribed", "maximum-inscribed", "MIC"},
        {criterion::circumscribed, "circumscribed", "minimum circumscribed",
         "minimum-circumscribed", "MCC"},
    }};
    return table;
}

const criterion_info* info_of(criterion c) {
    for (const criterion_info& i : criteria()) {
        if (i.criterion == c) return &i;
    }
    return nullptr;
}

const char* criterion_name(criterion c) {
    const criterion_info* i = info_of(c);
    return i == nullptr ? nullptr : i->name;
}

bool criterion_named(const char* name, criterion& c) {
    if (name == nullptr) return false;
    for (const criterion_info& i : criteria()) {
        if (std::string(name) == i.name) {
            c = i.criterion;
            return true;
        }
    }
    return false;
}

const std::array<element_info, 6>& elements() {
    using c = criterion;
    static const std::array<element_info, 6> table = {{
        {element_kind::line,
         "line",
         "straightness",
         2,
         {c::gauss, c::zone},
         {{"origin", 3}, {"direction", 3}},
         any_fit<spanto::line, fit_line>},
        {element_kind::plane,
         "plane",
         "flatness",
         3,
         {c::gauss, c::zone},
         {{"origin", 3}, {"normal", 3}},
         any_fit<spanto::plane, fit_plane>},
        {element_kind::circle,
         "circle",
         "roundness",
         3,
         {c::gauss, c::zone, c::inscribed, c::circumscribed},
         {{"centre", 3}, {"normal", 3}, {"radius", 1}},
         any_fit<spanto::circle, circle_in_plane>},
        {element_kind::sphere,
         "sphere",
         "sphericity",
         4,
         {c::gauss, c::zone, c::inscribed, c::circumscribed},
         {{"centre", 3}, {"radius", 1}},
         any_fit<spanto::sphere, fit_sphere>},
        {element_kind::cylinder,
         "cylinder",
         "cylindricity",
         5,
         {c::gauss, c::zone, c::inscribed, c::circumscribed},
         {{"origin", 3}, {"direction", 3}, {"radius", 1}},
         any_fit<spanto::cylinder, fit_cylinder>},
        {element_kind::cone,
         "cone",
         "conicity",
         6,
         {c::gauss, c::zone},
         {{"apex", 3}, {"direction", 3}, {"half_angle", 1}},
         any_fit<spanto::cone, fit_cone>},
    }};
    return table;
}

const element_info& info_of(element_kind kind) {
    return elements()[static_cast<std::size_t>(kind)];
}

const element_info* element_named(const std::string& name) {
    for (const element_info& e : elements()) {
        if (name == e.name) return &e;
    }
    return nullptr;
}

fit_result<fitted_element> fit(const actual& points, element_kind kind, criterion c,
                               const fit_options& options) {
    const auto row = static_cast<std::size_t>(kind);
    if (row < elements().size()) return elements()[row].fit(points, c, options);
    fit_result<fitted_element> unknown;
    unknown.criterion = c;
    unknown.status = status::refused;
    unknown.error = "unknown element " + std::to_string(static_cast<int>(kind));
    unknown.element = spanto::line();
    return unknown;
}

}  // namespace vantor
