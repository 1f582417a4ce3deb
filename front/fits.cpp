// SPDX-License-Identifier: Apache-2.0
#include "fits.h"

#include <utility>

#include "error.h"

namespace vantor::cli {
namespace {

using vantor::criterion;

report parameter_json(const double (&v)[3], int size) {
    return size == 3 ? report::array({v[0], v[1], v[2]}) : report(v[0]);
}

}  // namespace

fitted fit_element(const vantor::actual& points, element_kind kind, criterion c,
                   const std::optional<spanto::vector>& direction,
                   const vantor::fit_options& options) {
    if (!direction) return vantor::fit(points, kind, c, options);
    if (kind != element_kind::circle) {
        throw error(std::string("only a circle is fitted along a direction, not a ") +
                    vantor::info_of(kind).name);
    }
    vantor::fit_result<spanto::circle> circle = vantor::fit_circle(points, *direction, c, options);
    fitted any;
    any.element = circle.element;
    static_cast<vantor::fit_report&>(any) = std::move(static_cast<vantor::fit_report&>(circle));
    return any;
}

std::string reference_name(criterion c, const std::string& element) {
    const vantor::criterion_info* info = vantor::info_of(c);
    if (info == nullptr) throw error("unknown criterion " + std::to_string(static_cast<int>(c)));
    return std::string(info->adjective) + " " + element;
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
