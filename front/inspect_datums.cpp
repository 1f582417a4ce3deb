// SPDX-License-Identifier: Apache-2.0
// The datums of an inspection plan's tolerances: single datums and the frames of true positions.
#include <string>

#include <vantor/datum.h>

#include "inspection_tolerances.h"

namespace vantor::cli {
namespace {

bool axial(vantor::element_kind e) {
    return e == vantor::element_kind::cylinder || e == vantor::element_kind::circle;
}

// Fails naming the datum when its association failed.
template <class Result>
void check(const inspection_plan& plan, const plan_tolerance& t, const std::string& letter,
           const Result& r) {
    if (!r) plan.fail(t, "datums", "datum " + letter + ": " + r.error, r.status);
}

}  // namespace

single_datum datum_of(const inspection_plan& plan, const plan_tolerance& t) {
    const std::vector<const plan_feature*>& d = t.datums.at(0);
    if (d.size() == 2) {
        for (const plan_feature* f : d) {
            if (!axial(f->element))
                plan.fail(t, "datums",
                          "a common datum axis joins two cylinders or circles; " + f->name +
                              " is a " + vantor::info_of(f->element).name);
        }
        const auto r =
            vantor::common_datum_axis(*d[0]->points, d[0]->side, *d[1]->points, d[1]->side);
        check(plan, t, t.datum_text, r);
        return {r.element, r.status};
    }
    const plan_feature& f = *d[0];
    switch (f.element) {
        case vantor::element_kind::plane: {
            const auto r = vantor::datum_plane(*f.points, f.outward);
            check(plan, t, f.name, r);
            return {r.element, r.status};
        }
        case vantor::element_kind::cylinder: {
            const auto r = vantor::datum_axis(*f.points, f.side);
            check(plan, t, f.name, r);
            return {r.element, r.status};
        }
        case vantor::element_kind::circle: {
            const auto r = vantor::datum_circle_axis(*f.points, f.side);
            check(plan, t, f.name, r);
            return {r.element, r.status};
        }
        default:
            plan.fail(t, "datums",
                      "datum " + f.name +
                          " is a sphere: its centre orients nothing (a plane or an axis)");
    }
}

position_frame frame_of(const inspection_plan& plan, const plan_tolerance& t) {
    position_frame out;
    vantor::datum_frame& frame = out.frame;
    if (t.datums.size() == 1) {
        const plan_feature& f = *t.datums[0][0];
        if (t.datums[0].size() != 1 || f.element != vantor::element_kind::plane)
            plan.fail(t, "datums",
                      "a true position by one datum needs a face; give a datum system A|B or "
                      "A|B|C");
        const auto r = vantor::datum_plane(*f.points, f.outward);
        check(plan, t, f.name, r);
        frame.origin = r.element.origin;
        frame.z = r.element.normal;
        frame.x = frame.z.orthogonal();
        frame.y = frame.z ^ frame.x;
        frame.status = r.status;
        out.in_plane_free = true;
        return out;
    }
    vantor::datum_feature features[3];
    const char* letters[3] = {"A", "B", "C"};
    for (std::size_t k = 0; k < t.datums.size(); ++k) {
        const std::vector<const plan_feature*>& d = t.datums[k];
        const plan_feature& f = *d[0];
        if (d.size() != 1 || !(f.element == vantor::element_kind::plane || axial(f.element)))
            plan.fail(t, "datums",
                      std::string("datum ") + letters[k] +
                          " of a datum system must be one face, cylinder or circle");
        features[k] = f.element == vantor::element_kind::plane
                          ? vantor::datum_feature::face(*f.points, f.outward)
                          : vantor::datum_feature::round(*f.points, f.side);
    }
    frame = vantor::datum_system(features[0], features[1], features[2]);
    if (!frame) plan.fail(t, "datums", frame.error, frame.status);
    return out;
}

}  // namespace vantor::cli
