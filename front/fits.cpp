// SPDX-License-Identifier: Apache-2.0
#include "fits.h"

#include <utility>

#include "error.h"

namespace vantor::cli {
namespace {

using vantor::criterion;

template <typename Element>
fit_outcome outcome_of(vantor::fit_result<Element>&& r) {
    Element element = r.element;
    return {std::move(static_cast<vantor::fit_report&>(r)), element};
}

report parameter_json(const double (&v)[3], int size) {
    return size == 3 ? report::array({v[0], v[1], v[2]}) : report(v[0]);
}

}  // namespace

const std::array<element_names, 6>& elements() {
    // The criteria the fitting interface defines for each element (the others it refuses as
    // not defined for the element).
    static const std::array<element_names, 6> table = {{
        {element_kind::line, "line", {criterion::gauss, criterion::zone}},
        {element_kind::plane, "plane", {criterion::gauss, criterion::zone}},
        {element_kind::circle,
         "circle",
         {criterion::gauss, criterion::zone, criterion::inscribed, criterion::circumscribed}},
        {element_kind::sphere,
         "sphere",
         {criterion::gauss, criterion::zone, criterion::inscribed, criterion::circumscribed}},
        {element_kind::cylinder,
         "cylinder",
         {criterion::gauss, criterion::zone, criterion::inscribed, criterion::circumscribed}},
        {element_kind::cone, "cone", {criterion::gauss, criterion::zone}},
    }};
    return table;
}

const element_names* element_named(const std::string& name) {
    for (const element_names& e : elements()) {
        if (name == e.name) return &e;
    }
    return nullptr;
}

const element_names& names_of(element_kind kind) {
    return elements()[static_cast<std::size_t>(kind)];
}

fit_outcome fit_element(const vantor::actual& points, element_kind kind, criterion c,
                        const std::optional<spanto::vector>& direction,
                        const vantor::fit_options& options) {
    if (direction && kind != element_kind::circle) {
        throw error(std::string("only a circle is fitted along a direction, not a ") +
                    names_of(kind).name);
    }
    switch (kind) {
        case element_kind::line:
            return outcome_of(vantor::fit_line(points, c, options));
        case element_kind::plane:
            return outcome_of(vantor::fit_plane(points, c, options));
        case element_kind::circle:
            return outcome_of(direction ? vantor::fit_circle(points, *direction, c, options)
                                        : vantor::fit_circle(points, c, options));
        case element_kind::sphere:
            return outcome_of(vantor::fit_sphere(points, c, options));
        case element_kind::cylinder:
            return outcome_of(vantor::fit_cylinder(points, c, options));
        case element_kind::cone:
            return outcome_of(vantor::fit_cone(points, c, options));
    }
    throw error("unknown element");
}

std::optional<fit_proof> proof_of(const vantor::fit_report& r) {
    if (r.criterion == criterion::gauss) return std::nullopt;
    return fit_proof{r.objective, r.bound, r.gap, r.proof_tolerance, r.proved};
}

report proof_json(const fit_proof& p) {
    return {{"objective", p.objective},
            {"bound", p.bound},
            {"gap", p.gap},
            {"tolerance", p.tolerance},
            {"proved", p.proved}};
}

report fit_json(const vantor::fit_report& r) {
    report j = {{"valid", r.valid()}, {"status", vantor::status_name(r.status)}};
    if (!r.valid()) {
        j["error"] = r.error;
        return j;
    }
    for (const vantor::fit_parameter& p : r.parameters) j[p.name] = parameter_json(p.value, p.size);
    j["deviation"] = r.deviation;
    j["rms"] = r.rms;
    j["iterations"] = r.iterations;
    report uncertainty = nullptr;
    if (r.has_uncertainty) {
        for (const vantor::fit_parameter& p : r.parameters) {
            uncertainty[p.name] = parameter_json(p.uncertainty, p.size);
        }
    }
    j["uncertainty"] = std::move(uncertainty);
    if (const std::optional<fit_proof> proof = proof_of(r)) {
        j["contacts"] = r.contacts;
        j["proof"] = proof_json(*proof);
    }
    add_outliers(j, r.outliers);
    if (!r.rejected.empty()) j["rejected"] = r.rejected;
    return j;
}

std::string outlier_warning(int outliers) {
    const bool one = outliers == 1;
    return std::to_string(outliers) + (one ? " point stands" : " points stand") +
           " more than 8 standard deviations of the others from the element: the form value "
           "measures " +
           (one ? "it" : "them") +
           ", not the surface (vantor fit --reject K leaves such points out)";
}

std::string joined_warning(const std::string& first, int outliers) {
    if (outliers == 0) return first;
    return (first.empty() ? "" : first + "; ") + outlier_warning(outliers);
}

void add_outliers(report& r, int outliers) {
    if (outliers == 0) return;
    r["outliers"] = outliers;
    r["warning"] = outlier_warning(outliers);
}

}  // namespace vantor::cli
