// SPDX-License-Identifier: Apache-2.0
// Location tolerances of an inspection plan: position by exact dimensions from a datum frame,
// coaxiality, concentricity and symmetry.
#include <cmath>
#include <string>
#include <variant>

#include <vantor/location.h>

#include "inspection_tolerances.h"

namespace vantor::cli {
namespace {

tolerance_value judged(const inspection_plan& plan, const plan_tolerance& t,
                       const vantor::location_result& r, vantor::status datum_status) {
    if (!r) plan.fail(t, "", r.error, r.status);
    return within_limit(plan, t, r.value, worse(datum_status, r.status));
}

// True when w lies along z (frame components): the rotation about z and the position across it
// leave such a direction as it is.
bool along_z(const spanto::vector& w) {
    return std::abs(w.x) <= 1e-12 * w.length() && std::abs(w.y) <= 1e-12 * w.length();
}

tolerance_value position(const inspection_plan& plan, const plan_tolerance& t) {
    const plan_feature& f = *t.features[0];
    const bool is_plane = f.element == vantor::element_kind::plane;
    const bool is_sphere = f.element == vantor::element_kind::sphere;
    plan.expect(t, {"limit", "at", is_plane ? "normal" : "axis"}, 1, 1, 3);
    const std::optional<spanto::vector> given_at = plan.optional_vector(t, "at");
    if (!given_at)
        plan.fail(t, "", "needs \"at\": [u, v, w], the true position in the datum frame");
    const spanto::vector at = *given_at;
    const char* direction_key = is_plane ? "normal" : "axis";
    const spanto::vector direction =
        plan.optional_vector(t, direction_key).value_or(spanto::vector(0.0, 0.0, 1.0));
    if (!is_sphere && !(direction.length() > 0.0))
        plan.fail(t, direction_key, std::string("\"") + direction_key + "\" must not be zero");

    const position_frame p = frame_of(plan, t);
    const vantor::datum_frame& frame = p.frame;
    // What the datums leave free must not move the true feature.
    const bool centred = at.x == 0.0 && at.y == 0.0;
    if (p.in_plane_free && !(is_plane && along_z(direction)))
        plan.fail(t, "datums",
                  "one datum plane fixes only a face parallel to it; give a datum system A|B or "
                  "A|B|C");
    if (!frame.rotation_fixed && !p.in_plane_free &&
        !(centred && (is_sphere || along_z(direction))))
        plan.fail(t, "datums",
                  "datums " + t.datum_text +
                      " leave the rotation about the primary datum free: a true position off the "
                      "axis, or across it, needs a third datum");
    const spanto::point true_point = frame.at(at.x, at.y, at.z);
    const spanto::vector true_direction = frame.along(direction.x, direction.y, direction.z);
    switch (f.element) {
        case vantor::element_kind::plane:
            return judged(
                plan, t,
                vantor::plane_position(*f.points, spanto::plane(true_point, true_direction)),
                frame.status);
        case vantor::element_kind::circle:
            return judged(
                plan, t,
                vantor::circle_position(*f.points, spanto::line(true_point, true_direction)),
                frame.status);
        case vantor::element_kind::cylinder:
            return judged(plan, t,
                          vantor::axis_position(*f.points, spanto::line(true_point, true_direction),
                                                f.sections),
                          frame.status);
        default:
            return judged(plan, t, vantor::point_position(*f.points, true_point), frame.status);
    }
}

}  // namespace

tolerance_value location_tolerance(const inspection_plan& plan, const plan_tolerance& t) {
    if (t.type == "position") return position(plan, t);
    const bool symmetric = t.type == "symmetry";
    plan.expect(t, {"limit"}, symmetric ? 2 : 1, 1, 1);
    const single_datum d = datum_of(plan, t);
    const spanto::plane* plane = std::get_if<spanto::plane>(&d.element);
    const spanto::line* axis = std::get_if<spanto::line>(&d.element);
    const plan_feature& f = *t.features[0];
    if (symmetric) {
        const plan_feature& g = *t.features[1];
        if (f.element != vantor::element_kind::plane || g.element != vantor::element_kind::plane)
            plan.fail(t, "feature", "symmetry is of two opposite faces");
        if (!plane) plan.fail(t, "datums", "symmetry is about a datum plane");
        return judged(plan, t, vantor::symmetry(*f.points, *g.points, *plane), d.status);
    }
    if (!axis) plan.fail(t, "datums", t.type + " is about a datum axis");
    if (t.type == "coaxiality") {
        if (f.element != vantor::element_kind::cylinder)
            plan.fail(t, "feature", "coaxiality is of a cylinder's axis (a circle: concentricity)");
        return judged(plan, t, vantor::coaxiality(*f.points, *axis, f.sections), d.status);
    }
    if (f.element != vantor::element_kind::circle)
        plan.fail(t, "feature", "concentricity is of a circle's centre (a cylinder: coaxiality)");
    return judged(plan, t, vantor::concentricity(*f.points, *axis), d.status);
}

}  // namespace vantor::cli
