// SPDX-License-Identifier: Apache-2.0
#include "fit_commands.h"

#include <algorithm>

#include "command_report.h"
#include "criteria.h"
#include "error.h"

namespace vantor::cli {

report circle(const point_file& in, const std::optional<spanto::vector>& direction,
              const std::vector<vantor::criterion>& wanted) {
    report circles = report::object();
    spanto::vector normal;
    std::string first_failure;
    bool valid = false;
    for (const criterion_names& c : criteria()) {
        if (std::find(wanted.begin(), wanted.end(), c.id) == wanted.end()) continue;
        const fit_outcome f = fit_element(*in.points, element_kind::circle, c.id, direction);
        if (!f.report.valid()) {
            if (first_failure.empty()) {
                first_failure =
                    in.name + ": " + reference_name(c.id, "circle") + ": " + f.report.error;
            }
            circles[c.option] = {{"valid", false},
                                 {"status", vantor::status_name(f.report.status)},
                                 {"error", f.report.error}};
            continue;
        }
        valid = true;
        const spanto::circle& fitted = std::get<spanto::circle>(f.element);
        normal = fitted.normal;
        circles[c.option] = {{"status", vantor::status_name(f.report.status)},
                             {"centre", to_report(fitted.centre)},
                             {"normal", to_report(fitted.normal)},
                             {"radius", fitted.radius},
                             {"deviation", f.report.deviation}};
        add_outliers(circles[c.option], f.report.outliers);
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
    r["element"] = names_of(element).name;
    report& fits = r["fits"] = report::object();
    for (const criterion_names& c : criteria()) {
        if (std::find(wanted.begin(), wanted.end(), c.id) == wanted.end()) continue;
        fits[c.option] =
            fit_json(fit_element(*in.points, element, c.id, direction, options).report);
    }
    return r;
}

std::vector<std::string> failed_fits(const report& r) {
    std::vector<std::string> failures;
    const bool circles = r.contains("circles");
    const std::string element = circles ? "circle" : r.at("element").get<std::string>();
    const report& fits = r.at(circles ? "circles" : "fits");
    for (const criterion_names& c : criteria()) {
        const auto f = fits.find(c.option);
        if (f == fits.end() || f->value("valid", true)) continue;
        failures.push_back(r.at("file").get<std::string>() + ": " + reference_name(c.id, element) +
                           ": " + f->at("error").get<std::string>());
    }
    return failures;
}

}  // namespace vantor::cli
