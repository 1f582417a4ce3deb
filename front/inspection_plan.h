// SPDX-License-Identifier: Apache-2.0
// An inspection plan as read from its JSON file: the features (points, element, material side)
// and the tolerances with their datums and limits, each with the plan line it comes from. The
// format is in docs/inspection.md.
#ifndef VANTOR_FRONT_INSPECTION_PLAN_H
#define VANTOR_FRONT_INSPECTION_PLAN_H

#include <cmath>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <spanto/spanto.h>
#include <vantor/actual.h>
#include <vantor/datum.h>
#include <vantor/fit.h>
#include <vantor/sections.h>

#include "json_lines.h"

namespace vantor::cli {

// A measured feature of the plan.
struct plan_feature {
    std::string name;
    std::string pointer;  // its entry in the plan, for messages
    vantor::element_kind element = vantor::element_kind::plane;  // plane, circle, cylinder, sphere
    std::shared_ptr<const vantor::actual> points;
    spanto::vector outward;                                  // a plane: out of its material
    vantor::feature_side side = vantor::feature_side::hole;  // a circle, cylinder or sphere
    vantor::section_request sections;  // a cylinder's sections: automatic, or "sections" of them
};

// A tolerance as the plan gives it. Its datums in drawing order, each one feature or two (a
// common datum "A-B").
struct plan_tolerance {
    std::string pointer;
    std::string type;  // "position"
    std::vector<const plan_feature*> features;
    std::vector<std::vector<const plan_feature*>> datums;
    std::string datum_text;  // as the plan gives it: "A|B|C"; empty without datums
};

class inspection_plan {
  public:
    // Reads the plan at `path` and the point files it names (relative to the plan's directory).
    // Throws error naming the plan's line for what the plan does not allow, and the point
    // file's own message for a point file that cannot be read.
    explicit inspection_plan(const std::string& path);
    // The same for a plan already read; its name stands for the plan's path.
    explicit inspection_plan(json_lines doc);

    const std::string& name() const { return doc_.name; }
    const std::string& unit() const { return unit_; }
    const std::vector<plan_tolerance>& tolerances() const { return tolerances_; }

    // Throws error "plan:line: <type> of <feature>: message" about tolerance t's member `key`
    // (its entry when key is empty), with status `code`.
    [[noreturn]] void fail(const plan_tolerance& t, const std::string& key,
                           const std::string& message,
                           vantor::status code = vantor::status::refused) const;

    // Tolerance t's member `key`: a finite number (at least `least`), a list of them, a vector of
    // three, a string; fails naming the line when it is missing or of another kind. The optional
    // forms give nothing for a missing member.
    double number(const plan_tolerance& t, const std::string& key, double least = -HUGE_VAL) const;
    std::optional<double> optional_number(const plan_tolerance& t, const std::string& key,
                                          double least = -HUGE_VAL) const;
    std::vector<double> numbers(const plan_tolerance& t, const std::string& key) const;
    std::optional<spanto::vector> optional_vector(const plan_tolerance& t,
                                                  const std::string& key) const;
    std::optional<std::string> optional_string(const plan_tolerance& t,
                                               const std::string& key) const;

    // Fails unless t's members are among `allowed` (besides tolerance, feature and datums) and
    // it has `datums` datums (from `least` to `most`) and `features` features.
    void expect(const plan_tolerance& t, std::initializer_list<const char*> allowed, int features,
                int least_datums, int most_datums) const;

  private:
    const report& member(const plan_tolerance& t, const std::string& key) const;

    json_lines doc_;
    std::string unit_;
    std::map<std::string, plan_feature> features_;
    std::vector<plan_tolerance> tolerances_;
};

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_INSPECTION_PLAN_H
