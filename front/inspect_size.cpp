// SPDX-License-Identifier: Apache-2.0
// Size tolerances of an inspection plan (ISO 14405-1).
#include <map>
#include <string>

#include <vantor/size.h>

#include "inspection_tolerances.h"

namespace vantor::cli {
namespace {

// ISO 14405-1's modifiers of the global sizes by criterion, and of the rank statistics in the
// order of vantor::size_statistic.
const std::map<std::string, const char*> modifiers = {
    {"gauss", "GG"}, {"zone", "GC"}, {"inscribed", "GX"}, {"circumscribed", "GN"}};
const char* const statistic_modifiers[] = {"SX", "SN", "SA", "SM", "SR"};

}  // namespace

tolerance_value size_tolerance(const inspection_plan& plan, const plan_tolerance& t) {
    plan.expect(t, {"size", "statistic", "nominal", "lower", "upper"}, 1, 0, 0);
    const plan_feature& f = *t.features[0];
    if (f.element == vantor::element_kind::plane)
        plan.fail(t, "feature", "a size is of a circle, cylinder or sphere");
    const double nominal = plan.number(t, "nominal");
    const double lower = nominal + plan.number(t, "lower");
    const double upper = nominal + plan.number(t, "upper");
    if (!(lower <= upper)) plan.fail(t, "upper", "\"upper\" must not be below \"lower\"");

    const std::string size = plan.optional_string(t, "size").value_or("two_point");
    std::optional<vantor::size_statistic> statistic;
    if (const auto name = plan.optional_string(t, "statistic")) {
        vantor::size_statistic s;
        if (!vantor::size_statistic_named(*name, s))
            plan.fail(t, "statistic",
                      "unknown statistic (maximum, minimum, average, median, range)");
        statistic = s;
    }
    vantor::size_result r;
    if (size == "two_point") {
        r = vantor::two_point_sizes(*f.points, f.element, f.sections);
    } else {
        vantor::criterion c;
        if (!vantor::criterion_named(size.c_str(), c))
            plan.fail(t, "size", "unknown size (two_point, gauss, zone, inscribed, circumscribed)");
        if (statistic && f.element == vantor::element_kind::sphere)
            plan.fail(t, "statistic", "a sphere has no sections");
        r = statistic ? vantor::section_sizes(*f.points, c, f.sections)
                      : vantor::global_size(*f.points, f.element, c);
    }
    if (!r) plan.fail(t, "", r.error, r.status);
    std::string modifier = size == "two_point" ? "LP" : modifiers.at(size);
    if (statistic) {
        modifier += std::string(" ") + statistic_modifiers[static_cast<int>(*statistic)];
        return {r.statistics.of(*statistic), lower, upper, r.status, modifier};
    }
    if (size != "two_point") return {r.value, lower, upper, r.status, modifier};
    // Without a statistic every two-point size must lie within the limits: the value shown is
    // the extreme that lies farther beyond its limit (or, within both, nearer to it).
    const double low = r.statistics.minimum;
    const double high = r.statistics.maximum;
    return {high - upper >= lower - low ? high : low, lower, upper, r.status, modifier};
}

}  // namespace vantor::cli
