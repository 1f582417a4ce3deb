// SPDX-License-Identifier: Apache-2.0
// Orientation and runout tolerances of an inspection plan.
#include <string>
#include <variant>

#include <vantor/orientation.h>

#include "inspection_tolerances.h"

namespace vantor::cli {
namespace {

template <class Result>
tolerance_value judged(const inspection_plan& plan, const plan_tolerance& t, const Result& r,
                       vantor::status datum_status) {
    if (!r) plan.fail(t, "", r.error, r.status);
    return within_limit(plan, t, r.value, worse(datum_status, r.status));
}

const char* element_name(const plan_feature& f) { return vantor::info_of(f.element).name; }

}  // namespace

tolerance_value orientation_tolerance(const inspection_plan& plan, const plan_tolerance& t) {
    const bool angled = t.type == "angularity";
    if (angled) {
        plan.expect(t, {"limit", "angle"}, 1, 1, 1);
    } else {
        plan.expect(t, {"limit"}, 1, 1, 1);
    }
    const plan_feature& f = *t.features[0];
    const single_datum d = datum_of(plan, t);
    const spanto::plane* plane = std::get_if<spanto::plane>(&d.element);
    const spanto::line* axis = std::get_if<spanto::line>(&d.element);
    const std::string to = plane ? "a datum plane" : "a datum axis";
    if (f.element == vantor::element_kind::plane) {
        if (angled) {
            const double angle = plan.number(t, "angle", 0.0);
            if (angle > 90.0) plan.fail(t, "angle", "\"angle\" must lie from 0 to 90 degrees");
            if (!plane) plan.fail(t, "datums", "angularity of a face is to a datum plane");
            return judged(plan, t, vantor::angularity(*f.points, *plane, angle), d.status);
        }
        if (t.type == "parallelism") {
            if (!plane) plan.fail(t, "datums", "parallelism of a face is to a datum plane");
            return judged(plan, t, vantor::parallelism(*f.points, *plane), d.status);
        }
        return judged(plan, t,
                      plane ? vantor::perpendicularity(*f.points, *plane)
                            : vantor::perpendicularity(*f.points, *axis),
                      d.status);
    }
    if (f.element == vantor::element_kind::cylinder && !angled) {
        if (t.type == "parallelism") {
            return judged(plan, t,
                          plane ? vantor::axis_parallelism(*f.points, *plane, f.sections)
                                : vantor::axis_parallelism(*f.points, *axis, f.sections),
                          d.status);
        }
        if (plane)
            return judged(plan, t, vantor::axis_perpendicularity(*f.points, *plane, f.sections),
                          d.status);
    }
    plan.fail(t, "", std::string("not evaluated for a ") + element_name(f) + " to " + to);
}

tolerance_value runout_tolerance(const inspection_plan& plan, const plan_tolerance& t) {
    const bool axial = t.type == "circular_axial_runout" || t.type == "total_axial_runout";
    if (t.type == "circular_axial_runout") {
        plan.expect(t, {"limit", "radii", "half_width"}, 1, 1, 1);
    } else {
        plan.expect(t, {"limit"}, 1, 1, 1);
    }
    const plan_feature& f = *t.features[0];
    const single_datum d = datum_of(plan, t);
    const spanto::line* axis = std::get_if<spanto::line>(&d.element);
    if (!axis) plan.fail(t, "datums", "runout is about a datum axis");
    if (axial != (f.element == vantor::element_kind::plane))
        plan.fail(t, "feature",
                  std::string(axial ? "axial runout is of a face"
                                    : "radial runout is of a cylinder or circle") +
                      ", not a " + element_name(f));
    if (t.type == "circular_radial_runout")
        return judged(plan, t, vantor::circular_radial_runout(*f.points, *axis, f.sections),
                      d.status);
    if (t.type == "total_radial_runout") {
        if (f.element != vantor::element_kind::cylinder)
            plan.fail(t, "feature", "total radial runout is of a cylinder");
        return judged(plan, t, vantor::total_radial_runout(*f.points, *axis), d.status);
    }
    if (t.type == "total_axial_runout")
        return judged(plan, t, vantor::total_axial_runout(*f.points, *axis), d.status);
    return judged(plan, t,
                  vantor::circular_axial_runout(*f.points, *axis, plan.numbers(t, "radii"),
                                                plan.number(t, "half_width")),
                  d.status);
}

}  // namespace vantor::cli
