// SPDX-License-Identifier: Apache-2.0
#include "units.h"

#include <cmath>

#include "error.h"
#include "point_file.h"

namespace vantor::cli {

const std::array<length_unit, 4>& length_units() {
    static const std::array<length_unit, 4> table = {{
        {"mm", "mm", 1.0, 6},
        {"um", "\u00b5m", 1e-3, 3},
        {"m", "m", 1e3, 9},
        {"in", "in", 25.4, 8},  // 1e-8 in = 0.254 nm
    }};
    return table;
}

const length_unit* unit_named(std::string_view name) {
    // The micro sign, the Greek mu (which some keyboards give) and the old word.
    if (name == "\u00b5m" || name == "\u03bcm" || name == "micron") name = "um";
    if (name == "inch") name = "in";
    for (const length_unit& u : length_units()) {
        if (name == u.name) return &u;
    }
    return nullptr;
}

std::string unit_names() { return "mm, um (\u00b5m, micron), m or in (inch)"; }

int nanometre_decimals(const std::string& name) {
    const length_unit* u = unit_named(name);
    return u != nullptr ? u->decimals : 6;
}

void convert_points(point_file& in, const length_unit& from, const length_unit& to) {
    in.unit = to.name;
    if (from.millimetres == to.millimetres) return;
    const double factor = from.millimetres / to.millimetres;
    const auto overflows = [](double a, double b) { return std::isfinite(a) && !std::isfinite(b); };
    vantor::actual& points = *in.points;
    for (int i = 0; i < points.numpoints(); ++i) {
        spanto::point& p = points[i];
        const spanto::point scaled = p * factor;
        if (overflows(p.x, scaled.x) || overflows(p.y, scaled.y) || overflows(p.z, scaled.z)) {
            throw error(in.name + ": a coordinate is too large to convert from " + from.name +
                        " to " + to.name);
        }
        p = scaled;
    }
}

}  // namespace vantor::cli
