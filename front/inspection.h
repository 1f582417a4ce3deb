// SPDX-License-Identifier: Apache-2.0
// vantor inspect PLAN: every tolerance of an inspection plan (docs/inspection.md) evaluated from
// the measured points of its features.
#ifndef VANTOR_FRONT_INSPECTION_H
#define VANTOR_FRONT_INSPECTION_H

#include <string>

#include "command_report.h"
#include "json_lines.h"

namespace vantor::cli {

// The tolerances a plan may give, in the order the documentation lists them.
const std::vector<const char*>& tolerance_names();

// Evaluates the plan at `path`. The report: "plan" (the path), "unit" when the plan states one,
// "tolerances" with one object each, in the plan's order: "tolerance", "feature", "datums" (as
// the plan gives them, "" for none), "modifier" (a size's ISO 14405-1 modifiers, "LP SA" for
// the average two-point size, "GX" for the inscribed diameter; "" for the others), "value", "lower"
// and "upper" (the limits of value: 0 and the limit for a geometric tolerance, nominal + lower and
// nominal + upper for a size), "within" and "status" (ok, or not_proved when the optimum of a
// minimax fit it rests on is not proved); then "out", the number outside their limits. The outcome
// is within when none is. Throws error naming the plan's line for a plan that is not allowed and
// for a tolerance whose evaluation fails (with the library's status), and a point file's own
// message for a point file that cannot be read: a plan is evaluated whole or not at all.
outcome inspect(const std::string& path);
// The same for a plan already read (parse_json_lines); "plan" is its name.
outcome inspect(const json_lines& plan);

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_INSPECTION_H
