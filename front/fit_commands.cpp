// SPDX-License-Identifier: Apache-2.0
#include "fit_commands.h"

#include <algorithm>

#include "command_report.h"
#include "error.h"
#include "fits.h"

namespace vantor::cli {

report circle(const point_file& in, const std::optional<spanto::vector>& direction,
              const std::vector<vantor::criterion>& wanted) {
    report circles = report::object();
    spanto::vector normal;
    std::string first_failure;
    bool valid = false;
    for (const vantor::criterion_info& c : vantor::criteria()) {
        if (std::find(wanted.begin(), wanted.end(), c.criterion) == wanted.end()) continue;
        const fitted f = fit_element(*in.points, element_kind::circle, c.criterion, direction);
        if (!f.valid()) {
            if (first_failure.empty()) {
                first_failure =
                    in.name + ": " + reference_name(c.criterion, "circle") + ": " + f.error;
            }
            circles[c.name] = {
                {"valid", false}, {"status", vantor::status_name(f.status)}, {"error", f.error}};
            continue;
        }
        valid = true;
        const spanto::circle& fitted = std::get<spanto::circle>(f.element);
        normal = fitted.normal;
        circles[c.name] = {{"status", vantor::status_name(f.status)},
                           {"centre", to_report(fitted.centre)},
                           {"normal", to_report(fitted.normal)},
                           {"radius", fitted.radius},
                           {"deviation", f.deviation}};
        add_outliers(circles[c.name], f.outliers);
    }
    if (!valid) throw error(first_failure);
    report r = file_summary(in);
    r["direction"] = to_report(direction ? *direction : normal);
    r["direction_from"] = direction_source(direction);
    r["circles"] = std::move(circles);
    return r;
}

report fit(const point_file& in, element_kind element, const std::vector<vantor::criterion>& wanted,
           const std::optional<spanto::vector>& direction, const vantor::fit_options& options) {
    report r = file_summary(in);
    r["element"] = vantor::info_of(element).name;
    report& fits = r["fits"] = report::object();
    for (const vantor::criterion_info& c : vantor::criteria()) {
        if (std::find(wanted.begin(), wanted.end(), c.criterion) == wanted.end()) continue;
        fits[c.name] = fit_json(fit_element(*in.points, element, c.criterion, direction, options));
    }
    return r;
}

std::vector<std::string> failed_fits(const report& r) {
    std::vector<std::string> failures;
    const bool circles = r.contains("circles");
    const std::string element = circles ? "circle" : r.at("element").get<std::string>();
    const report& fits = r.at(circles ? "circles" : "fits");
    for (const vantor::criterion_info& c : vantor::criteria()) {
        const auto f = fits.find(c.name);
        if (f == fits.end() || f->value("valid", true)) continue;
        failures.push_back(r.at("file").get<std::string>() + ": " +
                           reference_name(c.criterion, element) + ": " +
                           f->at("error").get<std::string>());
    }
    return failures;
}

}  // namespace vantor::cli
