// SPDX-License-Identifier: Apache-2.0
// Reports: what a command found, as JSON, and the same printed as aligned text.
#ifndef VANTOR_FRONT_REPORT_H
#define VANTOR_FRONT_REPORT_H

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>

#include <spanto/spanto.h>
#include <nlohmann/json.hpp>

#include "element_values.h"

namespace vantor::cli {

// A report keeps its keys in the order the command adds them; --json prints it as it is, the
// text form is printed from it, so both always say the same.
using report = nlohmann::ordered_json;

// Geometry values in reports: points and vectors as [x, y, z]; each element as an object named
// after its type with its values (element_values.h), e.g.
// {"circle": {"centre": [...], "normal": [...], "radius": r}}.
report to_report(const spanto::point& p);
report to_report(const spanto::vector& v);
template <class Element, class = decltype(element_values<Element>::kind)>
report to_report(const Element& e) {
    const numbers v = element_values<Element>::of(e);
    report values = report::object();
    std::size_t at = 0;
    for (const value_field& f : element_values<Element>::fields) {
        values[f.name] = f.size == 3 ? report::array({v[at], v[at + 1], v[at + 2]}) : report(v[at]);
        at += static_cast<std::size_t>(f.size);
    }
    return {{element_values<Element>::kind, std::move(values)}};
}

// An element's creation stamp (date yyyymmdd, time hhmmss) as "yyyy-mm-dd hh:mm:ss".
std::string stamp_text(std::int32_t date, std::int32_t time);

// A number with fixed decimals, without a minus sign on zero: (-0.0000004, 6) gives "0.000000".
std::string format_fixed(double value, int decimals);

// A length as the text form and the charts print it, `decimals` being those that resolve 1 nm
// in its unit (units.h; 6 in mm): five significant digits or `decimals` decimals, whichever
// shows more, trailing zeros kept; below 1e-4 (in the unit) five significant digits in exponent
// form. In mm "25.000031" and "0.0079120", in um "7.9120", in m "7.9120e-06"; zero "0.000000".
std::string format_length(double value, int decimals);

// Prints a report as text, one key a line with the values in a column; a nested object is
// printed as its key followed by its own lines, indented by two spaces. Underscores in keys
// become spaces; arrays of numbers are printed space-separated; true and false as yes and no. An
// array of objects with the same keys and no object among their values is printed as a table:
// its key, then a line of the keys as column headings and a line for each object, indented by
// two spaces; one with the same keys and objects among their values as one nested object
// each, headed "key 1", "key 2", ...
// Numbers are printed by their key, in the report's "unit" (mm without one): integers as they
// are; coordinates of points (centre, origin, apex, point0, point1, centroid, and a bounding
// box's min and max) to 1 nm; directions, normals, angles, UPR and the magnification (direction,
// normal, half_angle, phase_deg, upr, upr_limit, filter_upr, magnification) with six decimals;
// every other number as a length (format_length). Under "uncertainty" every number shows five
// significant digits: as a length, those of directions and angles without the 1 nm.
void print_text(const report& r, std::ostream& out);

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_REPORT_H
