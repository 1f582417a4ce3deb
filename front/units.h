// SPDX-License-Identifier: Apache-2.0
// Units of length: the unit of a file's coordinates (--input-unit) and of a report's lengths
// (--unit), and the conversion of the points from one to the other.
#ifndef VANTOR_FRONT_UNITS_H
#define VANTOR_FRONT_UNITS_H

#include <array>
#include <string>
#include <string_view>

namespace vantor::cli {

struct point_file;

struct length_unit {
    const char* name;    // as the options take it and the reports state it: "um"
    const char* symbol;  // as the charts print it: "\u00b5m"
    double millimetres;  // its length in millimetres (an inch is 25.4 mm exactly)
    int decimals;        // the decimals that resolve 1 nm in it: 6 for mm
};

// mm, um, m, in.
const std::array<length_unit, 4>& length_units();

// The unit `name` names: its name, "\u00b5m", "\u03bcm" or "micron" for um, "inch" for in;
// null for any other text.
const length_unit* unit_named(std::string_view name);

// The names unit_named() takes, for help and messages: "mm, um (\u00b5m, micron), m or in (inch)".
std::string unit_names();

// The decimals that resolve 1 nm in the unit called `name`; 6 (millimetres) for an empty or
// unknown name.
int nanometre_decimals(const std::string& name);

// Converts the coordinates of `in` from `from` to `to` and states `to` as its unit. Throws error
// when a finite coordinate has no finite value in `to`.
void convert_points(point_file& in, const length_unit& from, const length_unit& to);

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_UNITS_H
