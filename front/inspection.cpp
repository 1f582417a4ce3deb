// SPDX-License-Identifier: Apache-2.0
#include "inspection.h"

#include <string>

#include "error.h"
#include "inspection_plan.h"
#include "inspection_tolerances.h"
#include "reference.h"

namespace vantor::cli {
namespace {

struct tolerance_kind {
    const char* name;
    tolerance_value (*evaluate)(const inspection_plan&, const plan_tolerance&);
};

const std::vector<tolerance_kind>& tolerance_kinds() {
    static const std::vector<tolerance_kind> kinds = {
        {"flatness", form_tolerance},
        {"roundness", form_tolerance},
        {"cylindricity", form_tolerance},
        {"sphericity", form_tolerance},
        {"parallelism", orientation_tolerance},
        {"perpendicularity", orientation_tolerance},
        {"angularity", orientation_tolerance},
        {"position", location_tolerance},
        {"coaxiality", location_tolerance},
        {"concentricity", location_tolerance},
        {"symmetry", location_tolerance},
        {"circular_radial_runout", runout_tolerance},
        {"total_radial_runout", runout_tolerance},
        {"circular_axial_runout", runout_tolerance},
        {"total_axial_runout", runout_tolerance},
        {"size", size_tolerance},
    };
    return kinds;
}

}  // namespace

const std::vector<const char*>& tolerance_names() {
    static const std::vector<const char*> names = [] {
        std::vector<const char*> n;
        for (const tolerance_kind& k : tolerance_kinds()) n.push_back(k.name);
        return n;
    }();
    return names;
}

vantor::status worse(vantor::status a, vantor::status b) { return a == vantor::status::ok ? b : a; }

tolerance_value within_limit(const inspection_plan& plan, const plan_tolerance& t, double value,
                             vantor::status status) {
    return {value, 0.0, plan.number(t, "limit", 0.0), status, ""};
}

tolerance_value form_tolerance(const inspection_plan& plan, const plan_tolerance& t) {
    plan.expect(t, {"limit"}, 1, 0, 0);
    const plan_feature& f = *t.features[0];
    const char* form = vantor::info_of(f.element).form;
    if (t.type != form)
        plan.fail(t, "tolerance",
                  std::string("a ") + vantor::info_of(f.element).name + "'s form is " + form);
    try {
        const reference_form r = form_about_reference(*f.points, form, vantor::criterion::zone);
        return within_limit(
            plan, t, r.value,
            r.proof && !r.proof->proved ? vantor::status::not_proved : vantor::status::ok);
    } catch (const error& e) {
        plan.fail(t, "", e.what(), e.code);
    }
}

outcome inspect(const std::string& path) { return inspect(read_json_lines(path)); }

outcome inspect(const json_lines& doc) {
    const inspection_plan plan(doc);
    report r = {{"plan", doc.name}};
    if (!plan.unit().empty()) r["unit"] = plan.unit();
    report rows = report::array();
    int out = 0;
    for (const plan_tolerance& t : plan.tolerances()) {
        const tolerance_kind* kind = nullptr;
        for (const tolerance_kind& k : tolerance_kinds()) {
            if (t.type == k.name) kind = &k;
        }
        if (kind == nullptr) {
            std::string names;
            for (const char* n : tolerance_names())
                names += (names.empty() ? "" : ", ") + std::string(n);
            plan.fail(t, "tolerance", "unknown tolerance (" + names + ")");
        }
        const tolerance_value v = kind->evaluate(plan, t);
        std::string features;
        for (const plan_feature* f : t.features)
            features += (features.empty() ? "" : ", ") + f->name;
        const bool within = v.lower <= v.value && v.value <= v.upper;
        out += within ? 0 : 1;
        rows.push_back({{"tolerance", t.type},
                        {"feature", features},
                        {"datums", t.datum_text},
                        {"modifier", v.modifier},
                        {"value", v.value},
                        {"lower", v.lower},
                        {"upper", v.upper},
                        {"within", within},
                        {"status", vantor::status_name(v.status)}});
    }
    r["tolerances"] = std::move(rows);
    r["out"] = out;
    return {std::move(r), out == 0, {}};
}

}  // namespace vantor::cli
